// SPDX-License-Identifier: MIT
#include "game/file_run.h"

#include <cstdio>

namespace {

// Where a run stopped (the track index, then its sector's C, H and R) and
// why; a short sector's data bytes come last.
constexpr char kTrackAbsent[] = "the run stops at track %d (C %d, H %d, R %d): the track is absent";
constexpr char kNoSuchSector[] =
    "the run stops at track %d (C %d, H %d, R %d): no such sector on the track";
constexpr char kShortSector[] =
    "the run stops at track %d (C %d, H %d, R %d): the sector holds only %d bytes";

}  // namespace

int32_t readGameRun(D88File& disk, int32_t track, int32_t c, int32_t h, int32_t r, int32_t n,
                    uint8_t* buffer, int32_t total, RunStop* stop) {
  disk.setSectorRange(kFirstSector, kLastSector);
  return disk.readSectors(track, c, h, r, n, buffer, total, stop);
}

int32_t readFileRun(D88File& disk, uint8_t* buffer, const FileEntry& entry, RunStop* stop) {
  return readGameRun(disk, entry.track, entry.track >> 1, entry.track & 1, entry.sector,
                     kFileSizeCode, buffer, runLength(entry), stop);
}

int32_t fileBytesFound(int32_t found, int32_t offset, int32_t length) {
  const int64_t inFile = int64_t{found} - offset;
  return inFile <= 0 ? 0 : inFile >= length ? length : static_cast<int32_t>(inFile);
}

void describeRunStop(const RunStop& stop, char* text) {
  const char* format = stop.reason == RunStop::kTrackAbsent    ? kTrackAbsent
                       : stop.reason == RunStop::kNoSuchSector ? kNoSuchSector
                       : stop.reason == RunStop::kShortSector  ? kShortSector
                                                               : nullptr;
  text[0] = '\0';
  if (format == nullptr) return;
  // The first two formats leave the last argument unused.
  std::snprintf(text, kRunStopTextSize, format, static_cast<int>(stop.track),
                static_cast<int>(stop.c), static_cast<int>(stop.h), static_cast<int>(stop.r),
                static_cast<int>(stop.holds));
}
