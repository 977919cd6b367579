// SPDX-License-Identifier: MIT
// Telling the game's disks apart: the boot sector's last byte is the disk
// id; a system disk (id 0) also carries a 16-byte signature at the start of
// its signature sector.
#ifndef D88CUT_GAME_RECOGNITION_H_
#define D88CUT_GAME_RECOGNITION_H_

#include <cstdint>

#include "disk/d88_file.h"

// "QUARVENT" and eight blanks; no terminator within the 16 bytes.
inline constexpr char systemDiskSignature[16] = {'Q', 'U', 'A', 'R', 'V', 'E', 'N', 'T',
                                                 ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};

// Scenario disk number by disk id byte 1..4 (entry 0 unused).
inline constexpr int32_t scenarioDiskNumber[5] = {0, 4, 2, 3, 1};

// Boot sector: track 0, ID C 0 H 0 R 1 N 1 (256 bytes); its byte 255 is the id.
inline constexpr SectorAddress kBootSector = {0, 0, 0, 1, 1};
inline constexpr int32_t kBootSectorLength = 256;
inline constexpr int32_t kDiskIdIndex = 255;
// Signature sector: track 79, ID C 39 H 1 R 5 N 3 (1024 bytes).
inline constexpr SectorAddress kSignatureSector = {79, 39, 1, 5, 3};
inline constexpr int32_t kSignatureSectorLength = 1024;

// What became of a sector recognition looks for.
enum class SectorSeen { kNotLooked, kFound, kTrackAbsent, kNoSuchSector };

struct DiskRecognition {
  enum Kind { kOther, kSystemDisk, kScenarioDisk };
  Kind kind = kOther;
  int32_t scenario = 0;  // 1..4 for a scenario disk

  // What recognition saw, to tell why an image is what it is.
  SectorSeen boot = SectorSeen::kNotLooked;
  int32_t bootBytes = 0;  // the boot sector's bytes read (its id is byte 255)
  uint8_t diskId = 0;
  SectorSeen signature = SectorSeen::kNotLooked;  // looked for with disk id 0
  uint8_t compared[16] = {};                      // the bytes compared with systemDiskSignature
  // Not recognised, but probably the system disk cut short: a boot sector
  // with disk id 0, and the file ends before the signature's track.
  bool cutShortSystemDisk = false;
};

// Says what the selected image is: clears sectors[0..1024), reads the boot
// sector and, for disk id 0, the signature sector into it, as d88cut reads
// them into its extraction buffer. A missing boot sector reads as zero bytes
// (id 0); a missing signature sector leaves the boot sector's bytes to be
// compared; when the signature's track lies past the end of the file, the
// image is no system disk, but marked as one cut short. With no image
// selected (a failed selectImage) every sector reads as missing: the result
// is kOther.
// REQUIRES: sectors holds kSignatureSectorLength bytes.
DiskRecognition recogniseDisk(D88File& disk, uint8_t* sectors);

#endif  // D88CUT_GAME_RECOGNITION_H_
