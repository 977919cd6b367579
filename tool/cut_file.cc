#include "tool/cut_file.h"

#include <cstring>

#include "tool/console.h"
#include "tool/messages.h"
#include "platform/output_file.h"

namespace {

void reportIncomplete(const Extraction& x, const char* name, int32_t fileFound, int32_t length,
                      const RunStop& stop, int32_t keptImage) {
  printMessage(x.err, kIncompleteRun, name, static_cast<int>(x.image), static_cast<int>(fileFound),
               static_cast<int>(length), static_cast<int>(stop.track), static_cast<int>(stop.c),
               static_cast<int>(stop.h), static_cast<int>(stop.r));
  printStopReason(x.err, stop);
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
  const int32_t found = fits ? x.disk.readSectors(track, c, h, r, n, x.buffer, needed, &stop) : 0;
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

int32_t fileBytesFound(int32_t found, int32_t offset, int32_t length) {
  const int64_t inFile = int64_t{found} - offset;
  return inFile <= 0 ? 0 : inFile >= length ? length : static_cast<int32_t>(inFile);
}

void printStopReason(std::FILE* stream, const RunStop& stop) {
  switch (stop.reason) {
    case RunStop::kTrackAbsent: writeMessage(stream, kStopTrackAbsent); break;
    case RunStop::kNoSuchSector: writeMessage(stream, kStopNoSuchSector); break;
    case RunStop::kShortSector:
      printMessage(stream, kStopShortSector, static_cast<int>(stop.holds));
      break;
    case RunStop::kNone: break;
  }
}

int32_t readFileRun(D88File& disk, uint8_t* buffer, const FileEntry& entry, RunStop* stop) {
  return disk.readSectors(entry.track, entry.track >> 1, entry.track & 1, entry.sector,
                          kFileSizeCode, buffer, runLength(entry), stop);
}

CutStatus cutFileEntry(const Extraction& x, const FileEntry& entry) {
  return cutFile(x, entry.name, entry.track, entry.track >> 1, entry.track & 1, entry.sector,
                 kFileSizeCode, entry.offset, entry.length);
}
