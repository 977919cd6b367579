#include "tool/recognition.h"

#include <cstring>

#include "tool/file_table.h"

DiskRecognition examineImage(D88File& disk, int32_t index, uint8_t* buffer) {
  std::memset(buffer, 0, kExtractionBufferSize);
  disk.selectImage(index);
  disk.setSectorRange(kFirstSector, kLastSector);
  disk.readSector(0, 0, 0, 1, 1, buffer, kBootSectorLength);
  const uint8_t id = buffer[kDiskIdIndex];

  DiskRecognition result;
  if (id == 0) {
    disk.readSector(kSignatureTrack, 39, 1, 5, 3, buffer, kSignatureSectorLength);
    if (std::memcmp(buffer, systemDiskSignature, sizeof systemDiskSignature) == 0) {
      result.kind = DiskRecognition::kSystemDisk;
    }
  } else if (id <= 4) {
    result.kind = DiskRecognition::kScenarioDisk;
    result.scenario = scenarioDiskNumber[id];
  }
  return result;
}
