// SPDX-License-Identifier: MIT
#include "testing/game_disks.h"

#include <algorithm>
#include <cstring>

uint8_t patternByte(int track, int r, int index) {
  return static_cast<uint8_t>(track * 37 + r * 101 + index * 7 + (index >> 8) * 13 + 1);
}

namespace {

std::vector<uint8_t> patternSector(int track, int r, int size) {
  std::vector<uint8_t> data(static_cast<std::size_t>(size));
  for (int i = 0; i < size; ++i) data[static_cast<std::size_t>(i)] = patternByte(track, r, i);
  return data;
}

}  // namespace

void addGameDisk(D88Builder& builder, const GameDisk& disk) {
  builder.image(disk.name);
  auto isMissing = [&disk](int track, int r) {
    return std::find(disk.missing.begin(), disk.missing.end(), std::make_pair(track, r)) !=
           disk.missing.end();
  };
  for (int r = 1; r <= 16; ++r) {
    if (isMissing(0, r)) continue;
    std::vector<uint8_t> data = patternSector(0, r, 256);
    if (r == 1) data[255] = disk.diskId;
    builder.sector(0, 0, 0, static_cast<uint8_t>(r), 1, std::move(data));
  }
  for (int track = 1; track < 80; ++track) {
    if (!disk.onlyTracks.empty() &&
        std::find(disk.onlyTracks.begin(), disk.onlyTracks.end(), track) == disk.onlyTracks.end()) {
      continue;
    }
    for (int r = 1; r <= 5; ++r) {
      if (isMissing(track, r)) continue;
      std::vector<uint8_t> data = patternSector(track, r, 1024);
      if (disk.signature && track == 79 && r == 5) std::memcpy(data.data(), "QUARVENT        ", 16);
      builder.sector(track, static_cast<uint8_t>(track / 2), static_cast<uint8_t>(track % 2),
                     static_cast<uint8_t>(r), 3, std::move(data));
    }
  }
}

std::vector<uint8_t> buildGameDisks(const std::vector<GameDisk>& disks) {
  D88Builder builder;
  for (const GameDisk& disk : disks) addGameDisk(builder, disk);
  return builder.build();
}

std::vector<uint8_t> buildSampleSet() {
  // Each image is named after what it is: the game numbers its scenario
  // disks, and ids 1, 2, 3, 4 are scenario disks 4, 2, 3, 1.
  return buildGameDisks({{"SYSTEM DISK", 0, true},
                         {"SCENARIO DISK 4", 1, false},
                         {"SCENARIO DISK 2", 2, false},
                         {"SCENARIO DISK 3", 3, false},
                         {"SCENARIO DISK 1", 4, false}});
}

std::vector<int> systemDiskTracks() {
  std::vector<int> tracks = {1, 2, 3, 4, 5, 6, 79};
  for (int t = 24; t <= 35; ++t) tracks.push_back(t);
  return tracks;
}

std::vector<int> scenarioDisk4Tracks() { return {72, 73, 74}; }
