// SPDX-License-Identifier: MIT
#include "game/recognition.h"

#include <cstring>

DiskRecognition recogniseDisk(D88File& disk, int32_t index, uint8_t* sectors) {
  std::memset(sectors, 0, kSignatureSectorLength);
  disk.selectImage(index);
  disk.readSector(0, 0, 0, 1, 1, sectors, kBootSectorLength);
  const uint8_t id = sectors[kDiskIdIndex];

  DiskRecognition result;
  if (id == 0) {
    disk.readSector(kSignatureTrack, 39, 1, 5, 3, sectors, kSignatureSectorLength);
    if (std::memcmp(sectors, systemDiskSignature, sizeof systemDiskSignature) == 0) {
      result.kind = DiskRecognition::kSystemDisk;
    }
  } else if (id <= 4) {
    result.kind = DiskRecognition::kScenarioDisk;
    result.scenario = scenarioDiskNumber[id];
  }
  return result;
}
