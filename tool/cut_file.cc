// SPDX-License-Identifier: MIT
#include "tool/cut_file.h"

#include <cstring>

#include "game/file_run.h"
#include "platform/console.h"
#include "platform/output_file.h"
#include "tool/messages.h"

namespace {

void reportIncomplete(const Extraction& x, const char* name, int32_t fileFound, int32_t length,
                      const RunStop& stop, const CopySource& kept) {
  char where[kRunStopTextSize];
  describeRunStop(stop, where);
  if (x.path == nullptr) {
    printMessage(x.err, kIncompleteRun, name, static_cast<int>(x.image),
                 static_cast<int>(fileFound), static_cast<int>(length), where);
  } else {
    printMessage(x.err, kIncompleteRunOfFile, name, x.path, static_cast<int>(x.image),
                 static_cast<int>(fileFound), static_cast<int>(length), where);
  }
  if (kept.image >= 0 && kept.path == nullptr) {
    printMessage(x.err, kKeptEarlierCopy, static_cast<int>(kept.image));
  } else if (kept.image >= 0) {
    printMessage(x.err, kKeptEarlierCopyOfFile, kept.path, static_cast<int>(kept.image));
  }
  writeMessage(x.err, kLineEnd);
}

}  // namespace

CopySource CompleteFiles::sourceOf(const char* name) const {
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(entries[i].name, name) == 0) return entries[i].source;
  }
  return CopySource{};
}

void CompleteFiles::record(const char* name, CopySource source) {
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(entries[i].name, name) == 0) {
      entries[i].source = source;
      return;
    }
  }
  if (count < kMaxFiles) entries[count++] = Entry{name, source};
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
  const CopySource kept = !whole && x.complete != nullptr ? x.complete->sourceOf(name) : CopySource{};
  const int error =
      kept.image >= 0 ? 0 : replaceFile(name, x.buffer + offset, static_cast<std::size_t>(length));
  if (!whole || error != 0) std::fflush(x.out);  // reports follow the progress line
  if (!whole) reportIncomplete(x, name, fileBytesFound(found, offset, length), length, stop, kept);
  if (error != 0) {
    printMessage(x.err, kWriteFailure, name, std::strerror(error));
    return CutStatus::kNotWritten;
  }
  if (kept.image >= 0) return CutStatus::kKeptEarlier;
  if (!whole) return CutStatus::kIncomplete;
  if (x.complete != nullptr) x.complete->record(name, CopySource{x.path, x.image});
  return CutStatus::kComplete;
}

CutStatus cutFileEntry(const Extraction& x, const FileEntry& entry) {
  return cutFile(x, entry.name, entry.track, entry.track >> 1, entry.track & 1, entry.sector,
                 kFileSizeCode, entry.offset, entry.length);
}
