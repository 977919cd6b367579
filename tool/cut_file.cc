// SPDX-License-Identifier: MIT
#include "tool/cut_file.h"

#include <cstring>

#include "game/file_run.h"
#include "platform/console.h"
#include "platform/output_file.h"
#include "tool/messages.h"

namespace {

void reportIncomplete(const Extraction& x, const char* name, int32_t fileFound, int32_t length,
                      const RunStop& stop, int32_t keptImage) {
  char where[kRunStopTextSize];
  describeRunStop(stop, where);
  printMessage(x.err, kIncompleteRun, name, static_cast<int>(x.image), static_cast<int>(fileFound),
               static_cast<int>(length), where);
  if (keptImage >= 0) printMessage(x.err, kKeptEarlierCopy, static_cast<int>(keptImage));
  writeMessage(x.err, kLineEnd);
}

}  // namespace

int32_t CompleteFiles::imageOf(const char* name) const {
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(entries[i].name, name) == 0) return entries[i].image;
  }
  return -1;
}

void CompleteFiles::record(const char* name, int32_t image) {
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(entries[i].name, name) == 0) {
      entries[i].image = image;
      return;
    }
  }
  if (count < kMaxFiles) entries[count++] = Entry{name, image};
}

CutStatus cutFile(const Extraction& x, const char* name, int32_t track, int32_t c, int32_t h,
                  int32_t r, int32_t n, int32_t offset, int32_t length) {
  const FileEntry place = {track, r, offset, length, {}};
  const bool fits = fitsExtractionBuffer(place);
  const int32_t needed = fits ? offset + length : 0;
  RunStop stop;
  const int32_t found = fits ? readGameRun(x.disk, track, c, h, r, n, x.buffer, needed, &stop) : 0;
  printMessage(x.out, kCutting, name);
  if (!fits) {
    std::fflush(x.out);
    printMessage(x.err, kOutsideBuffer, name);
    return CutStatus::kNotWritten;
  }

  const bool whole = found == needed;
  // Within one run a complete copy is never replaced by a damaged one.
  const int32_t keptImage = !whole && x.complete != nullptr ? x.complete->imageOf(name) : -1;
  const int error =
      keptImage >= 0 ? 0 : replaceFile(name, x.buffer + offset, static_cast<std::size_t>(length));
  if (!whole || error != 0) std::fflush(x.out);  // reports follow the progress line
  if (!whole) reportIncomplete(x, name, fileBytesFound(found, offset, length), length, stop, keptImage);
  if (error != 0) {
    printMessage(x.err, kWriteFailure, name, std::strerror(error));
    return CutStatus::kNotWritten;
  }
  if (keptImage >= 0) return CutStatus::kKeptEarlier;
  if (!whole) return CutStatus::kIncomplete;
  if (x.complete != nullptr) x.complete->record(name, x.image);
  return CutStatus::kComplete;
}

CutStatus cutFileEntry(const Extraction& x, const FileEntry& entry) {
  return cutFile(x, entry.name, entry.track, entry.track >> 1, entry.track & 1, entry.sector,
                 kFileSizeCode, entry.offset, entry.length);
}
