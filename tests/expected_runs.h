// SPDX-License-Identifier: MIT
// Expected contents of runs on the made-up game disks, derived from the
// pattern by counting sectors (five per track), not by the reader's stepping.
#ifndef D88CUT_TESTS_EXPECTED_RUNS_H_
#define D88CUT_TESTS_EXPECTED_RUNS_H_

#include <cstdint>
#include <vector>

#include "testing/game_disks.h"

// The first `total` bytes of the run starting at sector R `r` of `track`.
inline std::vector<uint8_t> expectedRun(int track, int r, int total) {
  std::vector<uint8_t> bytes;
  for (int k = 0; static_cast<int>(bytes.size()) < total; ++k) {
    const int sector = (r - 1) + k;
    for (int i = 0; i < 1024 && static_cast<int>(bytes.size()) < total; ++i) {
      bytes.push_back(patternByte(track + sector / 5, sector % 5 + 1, i));
    }
  }
  return bytes;
}

// Bytes [offset, offset + length) of that run.
inline std::vector<uint8_t> expectedFile(int track, int r, int offset, int length) {
  const std::vector<uint8_t> run = expectedRun(track, r, offset + length);
  return std::vector<uint8_t>(run.begin() + offset, run.end());
}

#endif  // D88CUT_TESTS_EXPECTED_RUNS_H_
