// SPDX-License-Identifier: MIT
#include "game/recognition.h"

#include <cstring>

namespace {

int32_t readAt(D88File& disk, const SectorAddress& at, uint8_t* buffer, int32_t length) {
  return disk.readSector(at.track, at.c, at.h, at.r, at.n, buffer, length);
}

}  // namespace

DiskRecognition recogniseDisk(D88File& disk, uint8_t* sectors) {
  std::memset(sectors, 0, kSignatureSectorLength);
  readAt(disk, kBootSector, sectors, kBootSectorLength);
  const uint8_t id = sectors[kDiskIdIndex];

  DiskRecognition result;
  if (id == 0) {
    readAt(disk, kSignatureSector, sectors, kSignatureSectorLength);
    if (std::memcmp(sectors, systemDiskSignature, sizeof systemDiskSignature) == 0) {
      result.kind = DiskRecognition::kSystemDisk;
    }
  } else if (id <= 4) {
    result.kind = DiskRecognition::kScenarioDisk;
    result.scenario = scenarioDiskNumber[id];
  }
  return result;
}
