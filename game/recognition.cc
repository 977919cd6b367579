// SPDX-License-Identifier: MIT
#include "game/recognition.h"

#include <cstring>

#include "game/file_table.h"

namespace {

// Reads the sector at `at` into buffer; *seen says whether it was there.
int32_t readAt(D88File& disk, const SectorAddress& at, uint8_t* buffer, int32_t length,
               SectorSeen* seen) {
  const int32_t got = disk.readSector(at.track, at.c, at.h, at.r, at.n, buffer, length);
  *seen = got > 0                        ? SectorSeen::kFound
          : disk.isTrackUsable(at.track) ? SectorSeen::kNoSuchSector
                                         : SectorSeen::kTrackAbsent;
  return got;
}

}  // namespace

DiskRecognition recogniseDisk(D88File& disk, uint8_t* sectors) {
  std::memset(sectors, 0, kSignatureSectorLength);
  DiskRecognition result;
  result.bootBytes = readAt(disk, kBootSector, sectors, kBootSectorLength, &result.boot);
  const uint8_t id = sectors[kDiskIdIndex];
  result.diskId = id;

  if (id == 0) {
    readAt(disk, kSignatureSector, sectors, kSignatureSectorLength, &result.signature);
    std::memcpy(result.compared, sectors, sizeof result.compared);
    if (std::memcmp(sectors, systemDiskSignature, sizeof systemDiskSignature) == 0) {
      result.kind = DiskRecognition::kSystemDisk;
    } else {
      result.cutShortSystemDisk = result.boot == SectorSeen::kFound &&
                                  result.signature == SectorSeen::kNoSuchSector &&
                                  disk.endsBeforeTrack(kSignatureSector.track);
    }
  } else if (id <= 4) {
    result.kind = DiskRecognition::kScenarioDisk;
    result.scenario = scenarioDiskNumber[id];
  }
  return result;
}

static_assert(kBootSectorLength <= kExtractionBytesUsed &&
                  kSignatureSectorLength <= kExtractionBytesUsed,
              "recognition's sectors lie in the part of the buffer cleared between images");
