// SPDX-License-Identifier: MIT
// Made-up disks laid out like the game's: track 0 holds sixteen 256-byte
// sectors (the boot sector is R 1), tracks 1..79 hold five 1024-byte sectors
// R 1..5 with C = track/2 and H = track&1. Every byte is a pattern of its
// place, so tests derive expected file contents independently.
#ifndef D88CUT_TESTING_GAME_DISKS_H_
#define D88CUT_TESTING_GAME_DISKS_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "testing/d88_builder.h"

// The byte at `index` of sector R `r` of `track` on a game disk.
uint8_t patternByte(int track, int r, int index);

struct GameDisk {
  GameDisk(std::string diskName, uint8_t id, bool withSignature,
           std::vector<std::pair<int, int>> missingSectors = {}, std::vector<int> tracks = {})
      : name(std::move(diskName)),
        diskId(id),
        signature(withSignature),
        missing(std::move(missingSectors)),
        onlyTracks(std::move(tracks)) {}

  std::string name;
  uint8_t diskId = 0;                        // byte 255 of the boot sector
  bool signature = false;                    // the system disk's signature at track 79 R 5
  std::vector<std::pair<int, int>> missing;  // (track, R) of sectors left out
  std::vector<int> onlyTracks;  // when not empty, tracks 1..79 other than these are left out
};

// The tracks a system disk's files and signature lie on (1-6, 24-35, 79) and
// scenario disk 4's (72-74): enough for a compact disk that is still cut whole.
std::vector<int> systemDiskTracks();
std::vector<int> scenarioDisk4Tracks();

// Appends one game disk as a new image of builder.
void addGameDisk(D88Builder& builder, const GameDisk& disk);

// A D88 file of these disks, in this order.
std::vector<uint8_t> buildGameDisks(const std::vector<GameDisk>& disks);

// The sample set: the system disk, then scenario disks with ids 1, 2, 3, 4.
std::vector<uint8_t> buildSampleSet();

#endif  // D88CUT_TESTING_GAME_DISKS_H_
