// SPDX-License-Identifier: MIT
#include "testing/d88_builder.h"

#include <fstream>
#include <iterator>

namespace {

// The layout written out here from its own literal offsets, not the reader's
// constants, so that a wrong constant in the reader is caught, not mirrored.
constexpr std::size_t kHeaderBytes = 688;  // image header, track table included
constexpr std::size_t kNameBytes = 16;     // +0x00 disk name
constexpr std::size_t kMediaAt = 0x1B;     // media type
constexpr std::size_t kSizeAt = 0x1C;      // disk size
constexpr std::size_t kTableAt = 0x20;     // track table, 4 bytes an entry
constexpr std::size_t kTracks = 164;
constexpr std::size_t kRecordHeaderBytes = 16;
constexpr std::size_t kCountAt = 4;      // in a record header: records in the track
constexpr std::size_t kDataSizeAt = 14;  // data bytes after the header

}  // namespace

D88Builder& D88Builder::image(const std::string& name, uint8_t media) {
  Image image;
  image.name = name;
  image.media = media;
  image.tracks.resize(kTracks);
  images_.push_back(std::move(image));
  return *this;
}

D88Builder& D88Builder::sector(int track, uint8_t c, uint8_t h, uint8_t r, uint8_t n,
                               std::vector<uint8_t> data) {
  SectorRecord rec;
  rec.c = c;
  rec.h = h;
  rec.r = r;
  rec.n = n;
  rec.data = std::move(data);
  return record(track, std::move(rec));
}

D88Builder& D88Builder::record(int track, SectorRecord record) {
  if (images_.empty()) image("");
  images_.back().tracks.at(static_cast<std::size_t>(track)).push_back(std::move(record));
  return *this;
}

std::vector<uint8_t> D88Builder::build() const {
  std::vector<uint8_t> out;
  for (const Image& image : images_) {
    const std::size_t start = out.size();
    out.resize(start + kHeaderBytes, 0);
    for (std::size_t i = 0; i < image.name.size() && i < kNameBytes; ++i) {
      out[start + i] = static_cast<uint8_t>(image.name[i]);
    }
    out[start + kMediaAt] = image.media;
    for (std::size_t t = 0; t < image.tracks.size(); ++t) {
      const std::vector<SectorRecord>& track = image.tracks[t];
      if (track.empty()) continue;
      storeLe32(out, start + kTableAt + 4 * t, static_cast<uint32_t>(out.size() - start));
      for (const SectorRecord& rec : track) {
        const std::size_t at = out.size();
        out.resize(at + kRecordHeaderBytes, 0);
        out[at + 0] = rec.c;
        out[at + 1] = rec.h;
        out[at + 2] = rec.r;
        out[at + 3] = rec.n;
        storeLe16(out, at + kCountAt,
                  static_cast<uint16_t>(rec.count >= 0 ? rec.count : track.size()));
        storeLe16(out, at + kDataSizeAt,
                  static_cast<uint16_t>(rec.dataSize >= 0 ? rec.dataSize : rec.data.size()));
        out[at + 6] = rec.density;
        out[at + 7] = rec.deleted;
        out[at + 8] = rec.status;
        out.insert(out.end(), rec.data.begin(), rec.data.end());
      }
    }
    storeLe32(out, start + kSizeAt, static_cast<uint32_t>(out.size() - start));
  }
  return out;
}

std::vector<uint8_t> withShortHeader(std::vector<uint8_t> d88, uint32_t length) {
  const uint32_t cut = static_cast<uint32_t>(kHeaderBytes) - length;
  auto load32 = [&d88](std::size_t pos) {
    return uint32_t{d88[pos]} | uint32_t{d88[pos + 1]} << 8 | uint32_t{d88[pos + 2]} << 16 |
           uint32_t{d88[pos + 3]} << 24;
  };
  storeLe32(d88, kSizeAt, load32(kSizeAt) - cut);
  for (std::size_t pos = kTableAt; pos < length; pos += 4) {
    if (load32(pos) != 0) storeLe32(d88, pos, load32(pos) - cut);
  }
  d88.erase(d88.begin() + length, d88.begin() + kHeaderBytes);
  return d88;
}

void storeLe16(std::vector<uint8_t>& bytes, std::size_t pos, uint16_t value) {
  bytes.at(pos) = static_cast<uint8_t>(value);
  bytes.at(pos + 1) = static_cast<uint8_t>(value >> 8);
}

void storeLe32(std::vector<uint8_t>& bytes, std::size_t pos, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(pos + i) = static_cast<uint8_t>(value >> (8 * i));
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file.flush());
}

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>());
}
