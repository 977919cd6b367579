// SPDX-License-Identifier: MIT
// Writes the synthetic sample disk set (made-up content) to the path given.
#include <cstdio>

#include "testing/game_disks.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.d88\n", argc > 0 ? argv[0] : "make_sample");
    return 1;
  }
  if (!writeBytes(argv[1], buildSampleSet())) {
    std::fprintf(stderr, "make_sample: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
