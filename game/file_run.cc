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

int32_t readFileRun(D88File& disk, const FileEntry& entry, uint8_t* buffer, RunStop* stop) {
  const SectorRange before = disk.sectorRange();
  disk.setSectorRange(kGameSectorRange.first, kGameSectorRange.last);
  // Track index t is cylinder t/2, head t&1 on the game's two-sided disks.
  const int32_t found =
      disk.readSectors(entry.track, entry.track >> 1, entry.track & 1, entry.sector, kFileSizeCode,
                       buffer, runLength(entry), stop);
  disk.setSectorRange(before.first, before.last);
  return found;
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
