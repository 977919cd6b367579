// SPDX-License-Identifier: MIT
// Layout of a D88 file, as this reader sees it.
//
// A D88 file is disk images stored back to back, with no file header:
//
//   image 0 | image 1 | ...        image k+1 starts at image k + its disk size
//
// Image header (688 bytes):
//   +0x00  16  disk name, NUL-padded
//   +0x10  10  (not interpreted)
//   +0x1A   1  write protection (0: none; shown by d88info only)
//   +0x1B   1  media type
//   +0x1C   4  disk size, this header included (little-endian)
//   +0x20 656  track table: 164 x 4-byte offsets from the image start; 0 = absent
//
// A track is a chain of sector records; each record is a 16-byte header and
// the data bytes it announces:
//   +0   C, H, R, N   sector ID (N: size code, nominal size 128 << N)
//   +4   2            number of records in this track (ends a search)
//   +6   1            density: 0x00 double, 0x40 single   (shown by d88info only)
//   +7   1            deleted-data mark                   (shown by d88info only)
//   +8   1            status: what the controller said when the disk was dumped
//   +9   5            (not interpreted)
//   +14  2            data size: bytes that follow this header
#ifndef D88CUT_DISK_D88_FORMAT_H_
#define D88CUT_DISK_D88_FORMAT_H_

#include <cstdint>

#include "disk/little_endian.h"

inline constexpr int32_t kMaxImages = 64;
inline constexpr int32_t kTrackCount = 164;
inline constexpr int32_t kImageHeaderSize = 0x2B0;
inline constexpr int32_t kDiskNameOffset = 0x00;
inline constexpr int32_t kDiskNameLength = 16;
inline constexpr int32_t kWriteProtectOffset = 0x1A;
inline constexpr int32_t kMediaTypeOffset = 0x1B;
inline constexpr int32_t kDiskSizeOffset = 0x1C;
inline constexpr int32_t kTrackTableOffset = 0x20;
inline constexpr int32_t kTrackEntrySize = 4;

inline constexpr int32_t kSectorHeaderSize = 16;
inline constexpr int32_t kSectorCountOffset = 4;
inline constexpr int32_t kDensityOffset = 6;
inline constexpr int32_t kDeletedOffset = 7;
inline constexpr int32_t kStatusOffset = 8;
inline constexpr int32_t kDataSizeOffset = 14;

// Size codes 0..23 give a nominal sector size 128 << N that is a positive
// signed 32-bit length.
inline constexpr int32_t kMaxSizeCode = 23;

// Every file position the reader computes must lie in 0..kMaxFilePosition,
// the range of the format's signed 32-bit offsets.
inline constexpr int64_t kMaxFilePosition = INT32_MAX;

static_assert(kTrackTableOffset + kTrackEntrySize * kTrackCount == kImageHeaderSize,
              "the track table ends the image header");
static_assert(kDiskSizeOffset + 4 == kTrackTableOffset, "disk size precedes the track table");
static_assert(kDataSizeOffset + 2 == kSectorHeaderSize, "data size ends the sector header");
static_assert((int64_t{128} << kMaxSizeCode) <= INT32_MAX, "largest sector size fits 32 bits");

// One sector header, unpacked. C, H, R and N are the ID bytes as recorded.
struct SectorHeader {
  uint8_t c;
  uint8_t h;
  uint8_t r;
  uint8_t n;
  int32_t count;     // records in this track, 0..65535
  int32_t dataSize;  // data bytes after the header, 0..65535
  uint8_t density;
  uint8_t deleted;
  uint8_t status;
};

// Where a sector lies: its track index and the ID bytes of its header.
struct SectorAddress {
  int32_t track, c, h, r, n;
};

// Status bytes a dump records: 0x00 a good read, 0x10 deleted data (a mark,
// not an error); anything else is an error, such as these.
inline constexpr uint8_t kStatusGood = 0x00;
inline constexpr uint8_t kStatusDeletedData = 0x10;
inline constexpr uint8_t kStatusIdCrcError = 0xA0;
inline constexpr uint8_t kStatusDataCrcError = 0xB0;
inline constexpr uint8_t kStatusNoAddressMark = 0xE0;
inline constexpr uint8_t kStatusNoDataMark = 0xF0;

// True when the dump recorded the sector as read with an error.
constexpr bool isErrorStatus(uint8_t status) {
  return status != kStatusGood && status != kStatusDeletedData;
}

// Unpacks the 16 bytes of a sector header at raw. Every byte pattern is
// valid. No bounds checking: REQUIRES raw[0..15] to be readable.
inline SectorHeader parseSectorHeader(const uint8_t* raw) {
  return SectorHeader{raw[0],
                      raw[1],
                      raw[2],
                      raw[3],
                      int32_t{loadLe16(raw + kSectorCountOffset)},
                      int32_t{loadLe16(raw + kDataSizeOffset)},
                      raw[kDensityOffset],
                      raw[kDeletedOffset],
                      raw[kStatusOffset]};
}

// One image header, unpacked. The 4-byte values are kept as recorded
// (unsigned); the reader converts them to its signed view.
struct ImageHeader {
  char name[kDiskNameLength + 1];  // up to the first NUL, NUL-terminated
  uint8_t writeProtect;
  uint8_t media;
  uint32_t diskSize;
  uint32_t trackEntries[kTrackCount];
};

// Unpacks the 688 bytes of an image header. Every byte pattern is valid.
inline ImageHeader parseImageHeader(const uint8_t (&raw)[kImageHeaderSize]) {
  ImageHeader header = {};
  for (int32_t i = 0; i < kDiskNameLength && raw[kDiskNameOffset + i] != 0; ++i) {
    header.name[i] = static_cast<char>(raw[kDiskNameOffset + i]);
  }
  header.writeProtect = raw[kWriteProtectOffset];
  header.media = raw[kMediaTypeOffset];
  header.diskSize = loadLe32(raw + kDiskSizeOffset);
  for (int32_t t = 0; t < kTrackCount; ++t) {
    header.trackEntries[t] = loadLe32(raw + kTrackTableOffset + kTrackEntrySize * t);
  }
  return header;
}

#endif  // D88CUT_DISK_D88_FORMAT_H_
