// SPDX-License-Identifier: MIT
#include "game/file_run.h"

#include <cstdio>

namespace {

// Where a run stopped: the track index, then its sector's C, H and R; the
// reason follows.
constexpr char kRunStopsAt[] = "the run stops at track %d (C %d, H %d, R %d): ";
constexpr char kTrackAbsent[] = "the track is absent";
constexpr char kNoSuchSector[] = "no such sector on the track";
constexpr char kShortSector[] = "the sector holds only %d bytes";  // its data bytes

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
  text[0] = '\0';
  if (stop.reason == RunStop::kNone) return;
  const int n = std::snprintf(text, kRunStopTextSize, kRunStopsAt, static_cast<int>(stop.track),
                              static_cast<int>(stop.c), static_cast<int>(stop.h),
                              static_cast<int>(stop.r));
  if (n < 0 || static_cast<std::size_t>(n) >= kRunStopTextSize) return;
  char* reason = text + n;
  const std::size_t room = kRunStopTextSize - static_cast<std::size_t>(n);
  switch (stop.reason) {
    case RunStop::kTrackAbsent: std::snprintf(reason, room, "%s", kTrackAbsent); break;
    case RunStop::kNoSuchSector: std::snprintf(reason, room, "%s", kNoSuchSector); break;
    case RunStop::kShortSector:
      std::snprintf(reason, room, kShortSector, static_cast<int>(stop.holds));
      break;
    case RunStop::kNone: break;
  }
}
