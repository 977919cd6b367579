#include "tool/cut_file.h"

#include <cstring>

#include "tool/console.h"
#include "tool/messages.h"
#include "tool/output_file.h"

CutStatus cutFile(const Extraction& x, const char* name, int32_t track, int32_t c, int32_t h,
                  int32_t r, int32_t n, int32_t offset, int32_t length) {
  const FileEntry place = {track, r, offset, length, {}};
  const bool fits = fitsExtractionBuffer(place);
  const int32_t needed = fits ? offset + length : 0;
  const int32_t found = fits ? x.disk.readSectors(track, c, h, r, n, x.buffer, needed) : 0;
  printMessage(x.out, kCutting, name);
  if (!fits) {
    std::fflush(x.out);
    printMessage(x.err, kOutsideBuffer, name);
    return CutStatus::kNotWritten;
  }

  const int error = replaceFile(name, x.buffer + offset, static_cast<std::size_t>(length));
  if (found < needed || error != 0) std::fflush(x.out);  // reports follow the progress line
  if (found < needed) {
    printMessage(x.err, kIncompleteRun, name, static_cast<int>(found), static_cast<int>(needed));
  }
  if (error != 0) {
    printMessage(x.err, kWriteFailure, name, std::strerror(error));
    return CutStatus::kNotWritten;
  }
  if (found < needed) return CutStatus::kIncomplete;
  return CutStatus::kComplete;
}

int32_t readFileRun(D88File& disk, uint8_t* buffer, const FileEntry& entry) {
  return disk.readSectors(entry.track, entry.track >> 1, entry.track & 1, entry.sector,
                          kFileSizeCode, buffer, runLength(entry));
}

CutStatus cutFileEntry(const Extraction& x, const FileEntry& entry) {
  return cutFile(x, entry.name, entry.track, entry.track >> 1, entry.track & 1, entry.sector,
                 kFileSizeCode, entry.offset, entry.length);
}
