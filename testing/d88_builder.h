// SPDX-License-Identifier: MIT
// Builds D88 files in memory for tests and for the sample disk set.
#ifndef D88CUT_TESTING_D88_BUILDER_H_
#define D88CUT_TESTING_D88_BUILDER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One sector record. count and dataSize, when not -1, override the header's
// record count (normally the number of records in the track) and data size
// (normally data.size()), to build damaged tracks.
struct SectorRecord {
  uint8_t c = 0, h = 0, r = 0, n = 0;
  std::vector<uint8_t> data;
  int32_t count = -1;
  int32_t dataSize = -1;
  uint8_t density = 0;  // header byte 6: 0x00 double, 0x40 single
  uint8_t deleted = 0;  // byte 7
  uint8_t status = 0;   // byte 8: 0 a good read
};

class D88Builder {
 public:
  // Starts a new image; the following sectors go into it.
  D88Builder& image(const std::string& name, uint8_t media = 0);
  // Appends a record to `track` of the current image.
  D88Builder& sector(int track, uint8_t c, uint8_t h, uint8_t r, uint8_t n,
                     std::vector<uint8_t> data);
  D88Builder& record(int track, SectorRecord record);
  // Lays the images out back to back: header, then tracks 0..163 in order,
  // with track table and disk size filled in.
  std::vector<uint8_t> build() const;

 private:
  struct Image {
    std::string name;
    uint8_t media = 0;
    std::vector<std::vector<SectorRecord>> tracks;
  };
  std::vector<Image> images_;
};

// The single image of `d88` rewritten with an older, shorter header of
// `length` bytes (a track table of (length - 0x20) / 4 entries): the header
// bytes from `length` on are dropped and every offset moved back.
// REQUIRES: the table entries past the new table are 0.
std::vector<uint8_t> withShortHeader(std::vector<uint8_t> d88, uint32_t length);

void storeLe16(std::vector<uint8_t>& bytes, std::size_t pos, uint16_t value);
void storeLe32(std::vector<uint8_t>& bytes, std::size_t pos, uint32_t value);

// Writes bytes to path; false on failure.
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// Reads a whole file; empty when it cannot be read.
std::vector<uint8_t> readBytes(const std::string& path);

#endif  // D88CUT_TESTING_D88_BUILDER_H_
