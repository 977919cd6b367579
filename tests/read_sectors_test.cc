// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "disk/d88_file.h"
#include "expected_runs.h"
#include "testing/d88_builder.h"
#include "testing/game_disks.h"
#include "testing/test_env.h"

namespace {

class ReadSectorsTest : public ::testing::Test {
 protected:
  void openDisk(const GameDisk& game) { openBytes(buildGameDisks({game})); }
  void openBytes(const std::vector<uint8_t>& bytes) {
    const std::string path = dir_.file("run" + std::to_string(serial_++) + ".d88");
    ASSERT_TRUE(writeBytes(path, bytes));
    ASSERT_TRUE(disk_.open(path.c_str()));
    ASSERT_TRUE(disk_.selectImage(0));
    disk_.setSectorRange(1, 5);
  }
  std::vector<uint8_t> run(int track, int c, int h, int r, int n, int total, int32_t* found) {
    std::vector<uint8_t> buffer(static_cast<std::size_t>(total > 0 ? total : 1), 0);
    *found = disk_.readSectors(track, c, h, r, n, buffer.data(), total);
    return buffer;
  }

  ScopedTempDir dir_;
  int serial_ = 0;
  D88File disk_;
};

TEST_F(ReadSectorsTest, RunsContinueAcrossTracksAndHeads) {
  openDisk({"RUN", 0, false, {}});
  struct Case {
    const char* name;
    int track, c, h, r, total;
  };
  const Case cases[] = {
      {"16 sectors from track 1 (C0 H1) into track 4", 1, 0, 1, 1, 16384},
      {"7552 bytes from track 5 R3, the last sector cut to 384", 5, 2, 1, 3, 7552},
      {"from head 0 the cylinder stays", 2, 1, 0, 5, 2048},
      {"one byte", 10, 5, 0, 2, 1},
  };
  for (const Case& c : cases) {
    int32_t found = 0;
    const std::vector<uint8_t> got = run(c.track, c.c, c.h, c.r, 3, c.total, &found);
    EXPECT_EQ(found, c.total) << c.name;
    EXPECT_EQ(got, expectedRun(c.track, c.r, c.total)) << c.name;
  }
}

TEST_F(ReadSectorsTest, AMissingSectorEndsTheRunAfterTheWholePiecesBeforeIt) {
  openDisk({"GAP", 0, false, {{3, 2}}});
  int32_t found = 0;
  run(1, 0, 1, 1, 3, 16384, &found);
  EXPECT_EQ(found, 11 * 1024);  // track 1 and 2, then track 3 R1
}

TEST_F(ReadSectorsTest, AShortSectorIsPlacedButNotCounted) {
  D88Builder builder;
  builder.image("SHORT");
  builder.sector(0, 0, 0, 1, 3, std::vector<uint8_t>(1024, 0x11));
  builder.sector(0, 0, 0, 2, 3, std::vector<uint8_t>(512, 0x22));
  openBytes(builder.build());
  int32_t found = 0;
  const std::vector<uint8_t> got = run(0, 0, 0, 1, 3, 2048, &found);
  EXPECT_EQ(found, 1024);
  EXPECT_EQ(got[1024], 0x22);
  EXPECT_EQ(got[1536], 0);
}

TEST_F(ReadSectorsTest, RunsPastLastSectorKeepCountingUp) {
  D88Builder builder;
  builder.image("HIGH");
  for (int r = 6; r <= 8; ++r)
    builder.sector(0, 0, 0, static_cast<uint8_t>(r), 0, std::vector<uint8_t>(128, 1));
  openBytes(builder.build());
  int32_t found = 0;
  run(0, 0, 0, 6, 0, 1280, &found);
  EXPECT_EQ(found, 3 * 128);
}

TEST_F(ReadSectorsTest, AFirstSectorOtherThanOneRestartsEachTrack) {
  openDisk({"RANGE", 0, false, {}});
  disk_.setSectorRange(3, 5);
  int32_t found = 0;
  RunStop stop;
  std::vector<uint8_t> buffer(8 * 1024);
  found = disk_.readSectors(1, 0, 1, 4, 3, buffer.data(), 8 * 1024, &stop);
  EXPECT_EQ(found, 8 * 1024);  // track 1 R4-5, then R3-5 on tracks 2 and 3
  EXPECT_EQ(buffer[2 * 1024], patternByte(2, 3, 0));
  EXPECT_EQ(buffer[5 * 1024], patternByte(3, 3, 0));
  EXPECT_EQ(stop.reason, RunStop::kNone);
}

TEST_F(ReadSectorsTest, SizeCode23IsARunToo) {
  D88Builder builder;
  builder.image("BIG").sector(0, 0, 0, 1, 23, std::vector<uint8_t>(100, 7));
  openBytes(builder.build());
  int32_t found = 0;
  run(0, 0, 0, 1, 23, 100, &found);
  EXPECT_EQ(found, 100);
}

TEST_F(ReadSectorsTest, NothingIsReadForEmptyTotalsOrBadSizeCodes) {
  openDisk({"ARGS", 0, false, {}});
  struct Case {
    int n, total;
  };
  for (const Case& c : {Case{3, 0}, Case{3, -1024}, Case{-1, 1024}, Case{24, 1024}, Case{31, 1024},
                        Case{INT32_MIN, 1024}}) {
    int32_t found = -1;
    const std::vector<uint8_t> got = run(1, 0, 1, 1, c.n, c.total, &found);
    EXPECT_EQ(found, 0) << "n " << c.n << " total " << c.total;
    EXPECT_EQ(got[0], 0);
  }
}

}  // namespace
