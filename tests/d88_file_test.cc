// SPDX-License-Identifier: MIT
#include "disk/d88_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_length.h"
#include "testing/d88_builder.h"
#include "testing/game_disks.h"
#include "testing/test_env.h"

namespace {

std::vector<uint8_t> bytesOf(int size, uint8_t first) {
  std::vector<uint8_t> data(static_cast<std::size_t>(size));
  for (int i = 0; i < size; ++i)
    data[static_cast<std::size_t>(i)] = static_cast<uint8_t>(first + i);
  return data;
}

class D88FileTest : public ::testing::Test {
 protected:
  // Writes bytes to a fresh file and opens it with disk.
  void openBytes(const std::vector<uint8_t>& bytes) {
    path_ = dir_.file("disk" + std::to_string(serial_++) + ".d88");
    ASSERT_TRUE(writeBytes(path_, bytes));
    ASSERT_TRUE(disk_.open(path_.c_str()));
  }
  // Opens bytes and selects image 0.
  void openImage(const std::vector<uint8_t>& bytes) {
    openBytes(bytes);
    ASSERT_TRUE(disk_.selectImage(0));
  }

  ScopedTempDir dir_;
  std::string path_;
  int serial_ = 0;
  D88File disk_;
};

std::vector<uint8_t> images(int count, int diskSize) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < count; ++i) {
    std::vector<uint8_t> image(688, 0);
    storeLe32(image, 0x1C, static_cast<uint32_t>(diskSize));
    bytes.insert(bytes.end(), image.begin(), image.end());
  }
  return bytes;
}

TEST_F(D88FileTest, IndexesImagesByTheirHeaders) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int32_t expected;
  };
  std::vector<uint8_t> pastEnd = images(1, 5000);
  std::vector<uint8_t> negative = images(2, 688);
  storeLe32(negative, 0x1C, 0xFFFFFD50u);  // -688: the walk would step backwards
  const Case cases[] = {
      {"empty file", {}, 0},
      {"one byte short of a header", std::vector<uint8_t>(687, 0), 0},
      {"exactly one header", images(1, 688), 1},
      {"65 images", images(65, 688), 64},
      {"disk size 0 repeats image 0", images(1, 0), 64},
      {"disk size past the end", pastEnd, 1},
      {"negative running sum", negative, 1},
  };
  for (const Case& c : cases) {
    openBytes(c.bytes);
    EXPECT_EQ(disk_.imageCount(), c.expected) << c.name;
  }
}

TEST_F(D88FileTest, OpenFailsOnMissingPathAndDirectory) {
  openBytes(images(2, 688));
  EXPECT_FALSE(disk_.open(dir_.file("missing.d88").c_str()));
  EXPECT_EQ(disk_.imageCount(), 0);
  EXPECT_FALSE(disk_.open(dir_.path().c_str()));
  EXPECT_EQ(disk_.imageCount(), 0);
  EXPECT_FALSE(disk_.selectImage(0));
  EXPECT_TRUE(disk_.open(nullptr));
}

TEST_F(D88FileTest, ReopeningClearsTheSelection) {
  openImage(D88Builder().image("FIRST", 0x20).build());
  ASSERT_STREQ(disk_.diskName(), "FIRST");
  openBytes(images(1, 688));
  EXPECT_EQ(disk_.selectedImage(), -1);
  EXPECT_EQ(disk_.mediaType(), -1);
  EXPECT_STREQ(disk_.diskName(), "");
}

TEST_F(D88FileTest, SelectImageLoadsHeaderAndClearsOnFailure) {
  std::vector<uint8_t> bytes = D88Builder().image("A").image("0123456789ABCDEFXYZ", 0x10).build();
  bytes[688 + 16] = 'Q';  // byte 0x10 follows a name of 16 characters
  openBytes(bytes);
  ASSERT_EQ(disk_.imageCount(), 2);
  ASSERT_TRUE(disk_.selectImage(1));
  EXPECT_EQ(disk_.selectedImage(), 1);
  EXPECT_STREQ(disk_.diskName(), "0123456789ABCDEF");
  EXPECT_EQ(disk_.mediaType(), 0x10);

  for (int32_t bad : {-1, 2}) {
    ASSERT_TRUE(disk_.selectImage(1));
    EXPECT_FALSE(disk_.selectImage(bad));
    EXPECT_EQ(disk_.selectedImage(), -1);
    EXPECT_EQ(disk_.mediaType(), -1);
    EXPECT_STREQ(disk_.diskName(), "");
  }

  ASSERT_TRUE(disk_.selectImage(0));
  disk_.close();
  EXPECT_STREQ(disk_.diskName(), "A");
  EXPECT_EQ(disk_.selectedImage(), -1);
  EXPECT_EQ(disk_.mediaType(), -1);
  EXPECT_EQ(disk_.imageCount(), 0);
  EXPECT_FALSE(disk_.selectImage(0));
  EXPECT_STREQ(disk_.diskName(), "A");  // with no file, nothing changes
}

TEST_F(D88FileTest, SelectImageFailsWhenTheFileShrankAfterOpen) {
  openBytes(D88Builder().image("A").image("B").build());
  ASSERT_EQ(disk_.imageCount(), 2);
  std::filesystem::resize_file(path_, 688 + 100);
  EXPECT_TRUE(disk_.selectImage(0));
  EXPECT_FALSE(disk_.selectImage(1));
  EXPECT_EQ(disk_.selectedImage(), -1);
  uint8_t buffer[16];
  EXPECT_EQ(disk_.readSector(0, 0, 0, 1, 1, buffer, 16), 0);
}

// One track with records (C, H, R, N, count, data size) as given.
std::vector<uint8_t> oneTrack(int track, const std::vector<SectorRecord>& records) {
  D88Builder builder;
  builder.image("T");
  for (const SectorRecord& rec : records) builder.record(track, rec);
  return builder.build();
}

SectorRecord rec(uint8_t r, int size, int count = -1, int dataSize = -1) {
  SectorRecord s;
  s.c = 0;
  s.h = 0;
  s.r = r;
  s.n = 1;
  s.data = bytesOf(size, static_cast<uint8_t>(r * 16));
  s.count = count;
  s.dataSize = dataSize;
  return s;
}

TEST_F(D88FileTest, ReadSectorFollowsTheSearchRules) {
  struct Case {
    const char* name;
    std::vector<SectorRecord> records;
    uint8_t r;
    int32_t length;
    int32_t expected;
    uint8_t firstByte;
  };
  const Case cases[] = {
      {"data smaller than length", {rec(1, 128)}, 1, 256, 128, 0x10},
      {"data larger than length", {rec(1, 256)}, 1, 100, 100, 0x10},
      {"zero data size reads as missing", {rec(1, 0)}, 1, 256, 0, 0xEE},
      {"first of two equal IDs wins", {rec(2, 8), rec(1, 8), rec(1, 16)}, 1, 256, 8, 0x10},
      {"count 0 ends the search on a match", {rec(2, 8), rec(1, 8, 0)}, 1, 256, 0, 0xEE},
      {"count 0 first: nothing readable", {rec(1, 8, 0), rec(1, 8)}, 1, 256, 0, 0xEE},
      {"search ends after record count-1", {rec(2, 8, 1), rec(1, 8)}, 1, 256, 0, 0xEE},
      {"smaller later count: runs on",
       {rec(2, 8), rec(3, 8, 1), rec(4, 8), rec(1, 8)},
       1,
       64,
       8,
       0x10},
      {"zero length", {rec(1, 8)}, 1, 0, 0, 0xEE},
      {"negative length", {rec(1, 8)}, 1, -5, 0, 0xEE},
      {"data cut by the end of the file", {rec(1, 8, -1, 300)}, 1, 256, 8, 0x10},
  };
  for (const Case& c : cases) {
    openImage(oneTrack(3, c.records));
    uint8_t buffer[256];
    std::memset(buffer, 0xEE, sizeof buffer);
    EXPECT_EQ(disk_.readSector(3, 0, 0, c.r, 1, buffer, c.length), c.expected) << c.name;
    EXPECT_EQ(buffer[0], c.firstByte) << c.name;
    if (c.length > 0 && c.length < 256) {
      EXPECT_EQ(buffer[c.length], 0xEE) << c.name;
    }
  }
}

TEST_F(D88FileTest, ReadSectorMatchesAllFourIdBytes) {
  openImage(D88Builder().image("T").sector(7, 3, 1, 9, 2, bytesOf(512, 1)).build());
  uint8_t buffer[512];
  EXPECT_EQ(disk_.readSector(7, 3, 1, 9, 2, buffer, 512), 512);
  EXPECT_EQ(disk_.readSector(7, 4, 1, 9, 2, buffer, 512), 0);
  EXPECT_EQ(disk_.readSector(7, 3, 0, 9, 2, buffer, 512), 0);
  EXPECT_EQ(disk_.readSector(7, 3, 1, 8, 2, buffer, 512), 0);
  EXPECT_EQ(disk_.readSector(7, 3, 1, 9, 1, buffer, 512), 0);
  EXPECT_EQ(disk_.readSector(7, 3 + 256, 1, 9, 2, buffer, 512), 0);
  EXPECT_EQ(disk_.readSector(6, 3, 1, 9, 2, buffer, 512), 0);
}

TEST_F(D88FileTest, TrackTableEntriesDecideWhereATrackIs) {
  // Track 0 holds one record; its table entry is then moved around.
  const std::vector<uint8_t> base = oneTrack(0, {rec(1, 8)});
  const uint32_t diskSize = static_cast<uint32_t>(base.size());
  struct Case {
    const char* name;
    int32_t track;
    uint32_t entry;
    int32_t expected;
    bool usable;
  };
  const Case cases[] = {
      {"the built track", 0, 688, 8, true},
      {"track 164", 164, 688, 0, false},
      {"track -1", -1, 688, 0, false},
      {"entry 0", 0, 0, 0, false},
      {"entry equal to the disk size (end of file)", 0, diskSize, 0, true},
      {"entry above the disk size", 0, diskSize + 1, 0, false},
      {"negative entry", 0, 0x80000000u, 0, false},
      {"entry into the header finds no record", 0, 1, 0, true},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = base;
    if (c.track >= 0 && c.track < 164) storeLe32(bytes, 0x20 + 4 * c.track, c.entry);
    openImage(bytes);
    uint8_t buffer[8];
    EXPECT_EQ(disk_.readSector(c.track, 0, 0, 1, 1, buffer, 8), c.expected) << c.name;
    EXPECT_EQ(disk_.isTrackUsable(c.track), c.usable) << c.name;
  }
}

TEST_F(D88FileTest, EntryIntoTheHeaderReadsHeaderBytesAsRecords) {
  std::vector<uint8_t> bytes = D88Builder().image("T").build();
  // A fake record at offset 0x100 of the header: ID 5 6 7 1, count 1, 4 data bytes.
  const uint8_t fake[] = {5, 6, 7, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0xA, 0xB, 0xC, 0xD};
  std::memcpy(bytes.data() + 0x100, fake, sizeof fake);
  storeLe32(bytes, 0x20 + 4 * 2, 0x100);
  openImage(bytes);
  uint8_t buffer[4];
  ASSERT_EQ(disk_.readSector(2, 5, 6, 7, 1, buffer, 4), 4);
  EXPECT_EQ(buffer[3], 0xD);
}

TEST_F(D88FileTest, PositionsBeyondTheSigned32BitRangeAreAbsent) {
  // Image 1 sits near 2 GiB in a sparse file; its track 0 would start past
  // INT32_MAX, and its disk size takes the walk out of range.
  const uint32_t firstSize = 0x7FFFFD00u;
  std::vector<uint8_t> first = images(1, static_cast<int>(firstSize));
  std::vector<uint8_t> second = oneTrack(0, {rec(1, 8)});
  storeLe32(second, 0x20, 0x400);
  storeLe32(second, 0x1C, 0x1000);
  // Tracks 1-4 at positions INT32_MAX, 2^31, 0 and -1 (negative entries).
  const uint32_t entries[] = {0x2FF, 0x300, 0x80000300u, 0x800002FFu};
  for (int t = 1; t <= 4; ++t) storeLe32(second, 0x20 + 4 * t, entries[t - 1]);
  path_ = dir_.file("sparse.d88");
  ASSERT_TRUE(writeBytes(path_, first));
  std::filesystem::resize_file(path_, firstSize);
  FILE* file = std::fopen(path_.c_str(), "ab");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(second.data(), 1, second.size(), file), second.size());
  std::fclose(file);

  ASSERT_TRUE(disk_.open(path_.c_str()));
  EXPECT_EQ(disk_.imageCount(), 2);
  ASSERT_TRUE(disk_.selectImage(1));
  uint8_t buffer[8];
  EXPECT_EQ(disk_.readSector(0, 0, 0, 1, 1, buffer, 8), 0);
  EXPECT_EQ(disk_.listSectorIds(0, buffer, 8), 0);
  const bool usable[] = {false, true, false, true, false};
  for (int t = 0; t <= 4; ++t) EXPECT_EQ(disk_.isTrackUsable(t), usable[t]) << t;
  // A selection that fails on its index leaves no track table to use.
  EXPECT_FALSE(disk_.selectImage(2));
  EXPECT_FALSE(disk_.isTrackUsable(1));
}

TEST_F(D88FileTest, ListSectorIdsGivesIdsInTrackOrder) {
  D88Builder builder;
  builder.image("L");
  for (int r = 16; r >= 1; --r)
    builder.sector(4, 2, 0, static_cast<uint8_t>(r), 1, bytesOf(256, 0));
  openImage(builder.build());
  uint8_t buffer[80];
  ASSERT_EQ(disk_.listSectorIds(4, buffer, 8), 8);
  const uint8_t firstTwo[] = {2, 0, 16, 1, 2, 0, 15, 1};
  EXPECT_EQ(std::memcmp(buffer, firstTwo, 8), 0);
  builder.sector(5, 2, 1, 1, 1, bytesOf(256, 0));  // a track after it
  openImage(builder.build());
  EXPECT_EQ(disk_.listSectorIds(4, buffer, 80), 64);  // all 16 records, none of track 5
  EXPECT_EQ(disk_.listSectorIds(4, buffer, 3), 0);
  EXPECT_EQ(disk_.listSectorIds(4, buffer, -4), 0);
  EXPECT_EQ(disk_.listSectorIds(6, buffer, 80), 0);
}

TEST_F(D88FileTest, NextRecordWalksAsTheSearchDoes) {
  // 16 + 8, 16 + 4, then a count-0 header; the walk never reads past `end`.
  const std::vector<uint8_t> bytes = oneTrack(0, {rec(1, 8, 3), rec(2, 4, 3), rec(3, 4, 0)});
  openBytes(bytes);
  struct Case {
    int64_t end;
    std::vector<int64_t> positions;
    bool lastPastEnd;
  };
  const int64_t size = static_cast<int64_t>(bytes.size());
  const Case cases[] = {
      {size, {688, 712}, false},  // ends before the count-0 header
      {730, {688, 712}, true},    // the second record's data runs past the end
      {711, {688}, true},         // so does the first's
      {703, {}, false},           // the first header is not whole before the end
  };
  for (const Case& c : cases) {
    TrackWalk walk = disk_.walkRecords(688, c.end);
    TrackRecord record{};
    std::vector<int64_t> positions;
    while (disk_.nextRecord(&walk, &record)) {
      EXPECT_EQ(record.index, static_cast<int32_t>(positions.size()));
      positions.push_back(record.position);
    }
    EXPECT_EQ(positions, c.positions) << c.end;
    EXPECT_EQ(record.dataPastEnd, c.lastPastEnd) << c.end;
    EXPECT_FALSE(disk_.nextRecord(&walk, &record));  // an ended walk stays ended
  }
  // The count ends it: a walk of a track whose first header declares 1.
  openBytes(oneTrack(0, {rec(1, 8, 1), rec(2, 4, 1)}));
  TrackWalk walk = disk_.walkRecords(688, 10000);
  TrackRecord record;
  EXPECT_TRUE(disk_.nextRecord(&walk, &record));
  EXPECT_EQ(record.header.r, 1);
  EXPECT_FALSE(disk_.nextRecord(&walk, &record));
}

TEST_F(D88FileTest, TrackIndexesOutsideTheTableAreAbsent) {
  // Image 1 starts at 688 and is larger than that: a read before its table
  // would find its offset there and call it a track.
  openBytes(D88Builder().image("A").image("B").sector(0, 0, 0, 1, 1, bytesOf(1024, 0)).build());
  ASSERT_TRUE(disk_.selectImage(1));
  ASSERT_TRUE(disk_.isTrackUsable(0));
  EXPECT_FALSE(disk_.isTrackUsable(-1));
  EXPECT_FALSE(disk_.isTrackUsable(164));
  disk_.close();
  EXPECT_FALSE(disk_.isTrackUsable(0));  // no file, no track
}

TEST_F(D88FileTest, ReadBytesAtReadsUpToTheEndOfTheFile) {
  openBytes(bytesOf(20000, 0));  // past the first read-ahead
  uint8_t buffer[20];
  struct Case {
    int64_t position;
    int32_t length, expected;
  };
  for (const Case& c : {Case{19999, 1, 1}, Case{19990, 20, 10}, Case{20000, 1, 0}, Case{-1, 4, 0},
                        Case{int64_t{INT32_MAX} + 1, 4, 0}, Case{0, 0, 0}}) {
    EXPECT_EQ(disk_.readBytesAt(c.position, buffer, c.length), c.expected) << c.position;
  }
  EXPECT_EQ(disk_.readBytesAt(19999, buffer, 1), 1);
  EXPECT_EQ(buffer[0], static_cast<uint8_t>(19999));
  EXPECT_EQ(fileLength(path_.c_str()), 20000);
}

TEST_F(D88FileTest, ListSectorIdsPassesCountZeroAndStopsAtACutHeader) {
  std::vector<uint8_t> bytes = oneTrack(0, {rec(1, 4, 0), rec(2, 4, 0)});
  bytes.insert(bytes.end(), {9, 9, 9});  // a header cut short by the end of the file
  openImage(bytes);
  uint8_t buffer[64];
  ASSERT_EQ(disk_.listSectorIds(0, buffer, 64), 8);
  EXPECT_EQ(buffer[6], 2);
}

// A track far longer than the reader's read-ahead, with records of odd sizes,
// so headers and data straddle every refill.
TEST_F(D88FileTest, LongTracksAreReadAcrossRefills) {
  D88Builder builder;
  builder.image("LONG");
  for (int r = 0; r < 200; ++r) {
    builder.sector(0, 0, 0, static_cast<uint8_t>(r), 2,
                   bytesOf(1021 + r % 7, static_cast<uint8_t>(r)));
  }
  openImage(builder.build());
  uint8_t buffer[1100];
  for (int r : {199, 0, 128, 64, 65, 198}) {
    ASSERT_EQ(disk_.readSector(0, 0, 0, r, 2, buffer, sizeof buffer), 1021 + r % 7) << r;
    EXPECT_EQ(buffer[0], static_cast<uint8_t>(r)) << r;
    EXPECT_EQ(buffer[1020], static_cast<uint8_t>(r + 1020)) << r;
  }
  uint8_t ids[800];
  ASSERT_EQ(disk_.listSectorIds(0, ids, sizeof ids), 800);
  EXPECT_EQ(ids[4 * 199 + 2], 199);
}

// Cutting the sample set short anywhere must never crash, and a longer file
// can only ever give more of each file's run.
TEST_F(D88FileTest, TruncatedFilesGiveShorterResultsOnly) {
  const std::vector<uint8_t> full = buildSampleSet();
  std::vector<uint8_t> buffer(409600);
  int32_t previous = 0;
  std::vector<int> lengths;
  for (int n = 0; n < 1500; n += 7) lengths.push_back(n);
  for (int n = 1500; n < static_cast<int>(full.size()); n += 4099) lengths.push_back(n);
  lengths.push_back(static_cast<int>(full.size()));
  for (int n : lengths) {
    openBytes(std::vector<uint8_t>(full.begin(), full.begin() + n));
    int32_t found = 0;
    for (int32_t i = 0; i < disk_.imageCount(); ++i) {
      disk_.selectImage(i);
      disk_.setSectorRange(1, 5);
      found += disk_.readSectors(1, 0, 1, 1, 3, buffer.data(), 16384);
      found += disk_.readSector(79, 39, 1, 5, 3, buffer.data(), 1024);
      uint8_t ids[400];
      found += disk_.listSectorIds(0, ids, sizeof ids);
    }
    ASSERT_GE(found, previous) << "length " << n;
    previous = found;
  }
  EXPECT_GT(previous, 5 * 16384);
}

}  // namespace
