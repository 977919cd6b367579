#include "tool/recognition.h"

#include <cstring>

#include "tool/file_table.h"

DiskRecognition examineImage(D88File& disk, int32_t index, uint8_t* buffer, int32_t clear) {
  const int32_t cleared = clear < kSignatureSectorLength ? kSignatureSectorLength
                          : clear > kExtractionBufferSize ? kExtractionBufferSize
                                                          : clear;
  std::memset(buffer, 0, static_cast<std::size_t>(cleared));
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
