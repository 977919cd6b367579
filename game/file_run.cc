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

// Sectors recorded with an error: how many, then the first one's place, what
// its status says and the status byte.
constexpr char kDamagedSector[] =
    "1 sector recorded with an error, at track %d (C %d, H %d, R %d): %s (status 0x%02X)";
constexpr char kDamagedSectors[] =
    "%d sectors recorded with errors, the first at track %d (C %d, H %d, R %d): %s (status "
    "0x%02X)";

const char* statusMeaning(uint8_t status) {
  switch (status) {
    case kStatusIdCrcError:
      return "a CRC error in its ID";
    case kStatusDataCrcError:
      return "a CRC error in its data";
    case kStatusNoAddressMark:
      return "no address mark";
    case kStatusNoDataMark:
      return "no data mark";
    default:
      return "a read error";
  }
}

}  // namespace

SectorAddress firstRunSector(const FileEntry& entry) {
  // Track index t is cylinder t/2, head t&1 on the game's two-sided disks.
  return SectorAddress{entry.track, entry.track >> 1, entry.track & 1, entry.sector, kFileSizeCode};
}

void forEachRunSector(const FileEntry& entry, void (*visit)(void* context, const SectorAddress&),
                      void* context) {
  constexpr int32_t kSectorSize = int32_t{128} << kFileSizeCode;
  SectorAddress at = firstRunSector(entry);
  for (int32_t done = 0; done < runLength(entry); done += kSectorSize) {
    visit(context, at);
    stepRunSector(kGameSectorRange, &at);
  }
}

int32_t readFileRun(D88File& disk, const FileEntry& entry, uint8_t* buffer, RunStop* stop,
                    RunDamage* damage) {
  const SectorRange before = disk.sectorRange();
  disk.setSectorRange(kGameSectorRange.first, kGameSectorRange.last);
  const SectorAddress first = firstRunSector(entry);
  const int32_t found = disk.readSectors(first.track, first.c, first.h, first.r, first.n, buffer,
                                         runLength(entry), stop, damage);
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

void describeRunDamage(const RunDamage& damage, char* text) {
  text[0] = '\0';
  const int track = static_cast<int>(damage.track);
  const int c = static_cast<int>(damage.c);
  const int h = static_cast<int>(damage.h);
  const int r = static_cast<int>(damage.r);
  const unsigned status = damage.status;
  if (damage.sectors == 1) {
    std::snprintf(text, kRunDamageTextSize, kDamagedSector, track, c, h, r,
                  statusMeaning(damage.status), status);
  } else if (damage.sectors > 1) {
    std::snprintf(text, kRunDamageTextSize, kDamagedSectors, static_cast<int>(damage.sectors),
                  track, c, h, r, statusMeaning(damage.status), status);
  }
}
