// SPDX-License-Identifier: MIT
// Writes the seed corpus for the fuzzers into the directory given: the sample
// set, compact game disks, damaged variants of them, several copies of a
// disk in one file, and a tar archive of compact disks. Made-up content.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "disk/d88_format.h"
#include "testing/d88_builder.h"
#include "testing/game_disks.h"

namespace {

// A ustar archive holding the files (name, bytes): each a 512-byte header
// block and its bytes padded to whole blocks, then two zero blocks.
std::vector<uint8_t> tarOf(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files) {
  std::vector<uint8_t> tar;
  for (const auto& file : files) {
    uint8_t header[512] = {};
    std::snprintf(reinterpret_cast<char*>(header), 100, "%s", file.first.c_str());
    std::snprintf(reinterpret_cast<char*>(header) + 100, 8, "%07o", 0644);
    std::snprintf(reinterpret_cast<char*>(header) + 124, 12, "%011o",
                  static_cast<unsigned>(file.second.size()));
    std::snprintf(reinterpret_cast<char*>(header) + 136, 12, "%011o", 0u);
    header[156] = '0';
    std::memcpy(header + 257, "ustar\00000", 8);
    std::memset(header + 148, ' ', 8);
    unsigned sum = 0;
    for (uint8_t byte : header) sum += byte;
    std::snprintf(reinterpret_cast<char*>(header) + 148, 8, "%06o", sum);
    tar.insert(tar.end(), header, header + 512);
    tar.insert(tar.end(), file.second.begin(), file.second.end());
    tar.resize((tar.size() + 511) / 512 * 512);
  }
  tar.resize(tar.size() + 1024);
  return tar;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argc > 0 ? argv[0] : "make_corpus");
    return 1;
  }
  const std::string dir = argv[1];
  const GameDisk system = {"SYS", 0, true, {}, systemDiskTracks()};
  const GameDisk scenario4 = {"S4", 1, false, {}, scenarioDisk4Tracks()};
  std::vector<std::pair<std::string, std::vector<uint8_t>>> seeds = {
      {"sample-set", buildSampleSet()},
      {"system", buildGameDisks({system})},
      {"scenario4", buildGameDisks({scenario4})},
      {"both", buildGameDisks({scenario4, system})},
      {"scenarios",
       buildGameDisks(
           {{"A", 2, false, {}, {1}}, {"B", 3, false, {}, {1}}, {"C", 4, false, {}, {1}}})},
      {"system-gaps",
       buildGameDisks({{"GAP", 0, true, {{1, 1}, {6, 3}, {30, 2}}, systemDiskTracks()}})},
      {"boot-only", buildGameDisks({{"BOOT", 7, false, {}, {1}}})},
      // Small disks that still reach every step: one track of each file's run.
      {"mini-system", buildGameDisks({{"MINI", 0, true, {}, {1, 5, 24, 79}}})},
      {"mini-scenario4", buildGameDisks({{"MINI4", 1, false, {}, {72}}})},
      {"mini-both", buildGameDisks({{"M4", 1, false, {}, {72}}, {"MS", 0, true, {}, {1, 6, 79}}})},
  };
  // Damaged variants of the compact system disk.
  std::vector<uint8_t> sizeZero = buildGameDisks({scenario4});
  storeLe32(sizeZero, kDiskSizeOffset, 0);
  seeds.push_back({"disk-size-zero", sizeZero});
  std::vector<uint8_t> countZero = buildGameDisks({system});
  storeLe16(countZero, kImageHeaderSize + kSectorCountOffset, 0);
  seeds.push_back({"count-zero", countZero});
  std::vector<uint8_t> intoHeader = buildGameDisks({scenario4});
  storeLe32(intoHeader, kTrackTableOffset + 4 * 72, 0x40);
  seeds.push_back({"track-in-header", intoHeader});
  std::vector<uint8_t> truncated = buildGameDisks({system});
  truncated.resize(truncated.size() / 2);
  seeds.push_back({"truncated", truncated});
  std::vector<uint8_t> negative = buildGameDisks({system, scenario4});
  storeLe32(negative, kTrackTableOffset + 4 * 79, 0x80000000u);
  seeds.push_back({"negative-entry", negative});

  // Several copies of a disk in one file: each lacking sectors of its own,
  // and another release (other bytes in a sector of LOADER's run).
  std::vector<uint8_t> copies = buildGameDisks({{"C1", 0, true, {{1, 2}}, {1, 79}},
                                                {"C2", 0, true, {{1, 3}}, {1, 79}},
                                                {"C3", 1, false, {{72, 5}}, {72}},
                                                {"C4", 1, false, {{73, 1}}, {72, 73}}});
  seeds.push_back({"copies", copies});
  std::vector<uint8_t> releases =
      buildGameDisks({{"R1", 0, true, {}, {1, 79}}, {"R2", 0, true, {}, {1, 79}}});
  releases[releases.size() / 2 + 700] ^= 0xFF;
  seeds.push_back({"releases", releases});
  seeds.push_back(
      {"archive", tarOf({{"mini-system.d88", buildGameDisks({{"MINI", 0, true, {}, {1, 79}}})},
                         {"readme.txt", {'h', 'i', '\n'}},
                         {"mini4.d88", buildGameDisks({{"MINI4", 1, false, {}, {72}}})}})});
  for (const auto& seed : seeds) {
    if (!writeBytes(dir + "/" + seed.first + ".d88", seed.second)) {
      std::fprintf(stderr, "make_corpus: cannot write %s/%s.d88\n", dir.c_str(),
                   seed.first.c_str());
      return 1;
    }
  }
  return 0;
}
