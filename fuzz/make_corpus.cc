// SPDX-License-Identifier: MIT
// Writes the seed corpus for the fuzzers into the directory given: the sample
// set, compact game disks, and damaged variants of them. Made-up content.
#include <cstdio>
#include <string>
#include <vector>

#include "disk/d88_format.h"
#include "testing/d88_builder.h"
#include "testing/game_disks.h"

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

  for (const auto& seed : seeds) {
    if (!writeBytes(dir + "/" + seed.first + ".d88", seed.second)) {
      std::fprintf(stderr, "make_corpus: cannot write %s/%s.d88\n", dir.c_str(),
                   seed.first.c_str());
      return 1;
    }
  }
  return 0;
}
