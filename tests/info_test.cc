// SPDX-License-Identifier: MIT
// End-to-end runs of the built d88info, on the layouts real D88 files have.
#include <gtest/gtest.h>

#include <algorithm>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>
#ifdef D88CUT_HAVE_JSON
#include <nlohmann/json.hpp>
#endif

#include "d88cut_version.h"
#include "disk/little_endian.h"
#include "testing/d88_builder.h"
#include "testing/game_disks.h"
#include "testing/test_env.h"

namespace {

std::vector<uint8_t> sectorData(std::size_t size) { return std::vector<uint8_t>(size, 0xE5); }

// Two images: the first's track 1 a blank track of zero bytes, as some
// tools write; the second a plain one.
std::vector<uint8_t> blankTrackBeforeAnImage() {
  D88Builder builder;
  builder.image("BLANK").sector(0, 0, 0, 1, 1, sectorData(256));
  builder.sector(1, 0, 1, 1, 1, sectorData(256));
  builder.image("NEXT").sector(0, 0, 0, 1, 1, sectorData(256));
  std::vector<uint8_t> d88 = builder.build();
  const std::size_t track1 = 688 + 16 + 256;
  std::fill(d88.begin() + track1, d88.begin() + track1 + 16 + 256, 0);
  return d88;
}

std::vector<uint8_t> oddRecords() {
  SectorRecord single{0, 0, 1, 1, sectorData(128)};  // 128 bytes where N 1 means 256
  single.density = 0x40;
  SectorRecord deleted{0, 0, 2, 1, sectorData(256)};
  deleted.deleted = 0x10;
  deleted.status = 0xB0;
  SectorRecord again{0, 0, 2, 1, sectorData(256)};  // the same ID once more
  std::vector<uint8_t> d88 =
      D88Builder().image("ODD").record(0, single).record(0, deleted).record(0, again).build();
  d88[0x1A] = 0x10;  // write-protected
  return d88;
}

std::vector<uint8_t> sample() { return buildSampleSet(); }

std::vector<uint8_t> withBytes(std::vector<uint8_t> d88, std::size_t count, uint8_t value) {
  d88.insert(d88.end(), count, value);
  return d88;
}

std::vector<uint8_t> withLe32At(std::vector<uint8_t> d88, std::size_t at, uint32_t value) {
  storeLe32(d88, at, value);
  return d88;
}

struct Layout {
  const char* name;
  std::vector<uint8_t> d88;
  std::set<std::string> kinds;    // every note kind, of the file and its images
  std::vector<std::string> text;  // what the text report holds
};

std::vector<Layout> layouts() {
  D88Builder twoTracks;
  twoTracks.image("OLD")
      .sector(0, 0, 0, 1, 1, sectorData(256))
      .sector(1, 0, 1, 1, 1, sectorData(256));
  std::vector<uint8_t> truncated = sample();
  truncated.resize(415840 + 400000);  // scenario disk 4 ends inside track 76
  std::vector<uint8_t> sizeZero = buildGameDisks({{"ZERO", 2, false, {}}});
  storeLe32(sizeZero, 0x1C, 0);
  std::vector<uint8_t> inHeader = twoTracks.build();
  storeLe32(inHeader, 0x20 + 4 * 5, 8);
  storeLe32(inHeader, 0x20 + 4 * 163, 8);  // the table's last entry
  storeLe32(inHeader, 0x20, 0x7FFFFFF0);   // track 0 above the disk size
  storeLe32(inHeader, 0x20 + 4 * 7, static_cast<uint32_t>(inHeader.size()));  // at its very end
  // The last record holds no data: its header ends the image exactly.
  D88Builder emptyLast;
  emptyLast.image("END").sector(0, 0, 0, 1, 1, sectorData(256)).sector(1, 0, 1, 1, 1, {});
  // Disk sizes of 4 all through: a chain of headers 4 bytes apart.
  std::vector<uint8_t> chain((1u << 22) + 688);
  for (std::size_t i = 0x1C % 4; i < chain.size(); i += 4) chain[i] = 4;
  // A disk size that steps back to the start: images 0 and 1 by turns.
  std::vector<uint8_t> stepBack = D88Builder().image("A").image("B").build();
  storeLe32(stepBack, 688 + 0x1C, 0xFFFFFD50u);  // -688
  // One track of 70,000 records with distinct IDs, the walk never ended by a count.
  D88Builder longTrack;
  longTrack.image("LONG");
  for (uint32_t i = 0; i < 70000; ++i) {
    SectorRecord record{static_cast<uint8_t>(i),
                        static_cast<uint8_t>(i >> 8),
                        static_cast<uint8_t>(i >> 16),
                        0,
                        {}};
    record.count = i == 65534 ? 1 : 65535;
    if (i == 25000) record.c = record.h = record.r = 0;  // record 0's ID once more
    longTrack.record(0, record);
  }
  // The 63rd of 63 images has disk size 0: d88cut looks at it twice.
  std::vector<uint8_t> twice =
      buildGameDisks(std::vector<GameDisk>(63, GameDisk{"ONE", 9, false, {}, {1}}));
  storeLe32(twice, twice.size() / 63 * 62 + 0x1C, 0);
  std::vector<uint8_t> noTableEntries = D88Builder().image("NONE").build();
  storeLe32(noTableEntries, 0x20, 0x20);  // the first track where the table would begin
  std::vector<uint8_t> huge = sample();
  storeLe32(huge, 4 * 415840 + 0x1C, 0x80000000u);
  std::vector<uint8_t> stray = buildGameDisks({{"SYSTEM DISK", 0, true}});
  storeLe32(stray, 0x20 + 4 * 100, 0x100);  // one stray small entry, far down the table
  D88Builder sixteen;
  sixteen.image("CUT");
  for (int r = 1; r <= 16; ++r)
    sixteen.sector(0, 0, 0, static_cast<uint8_t>(r), 1, sectorData(256));
  std::vector<uint8_t> cutAfterOne = sixteen.build();
  cutAfterOne.resize(688 + 272 + 10);  // the last track ends after 1 of its 16 records
  D88Builder highDensity;
  highDensity.image("HD", 0x00);  // 2D declared
  for (int t = 0; t < 2; ++t) {
    for (int r = 1; r <= 8; ++r) {
      highDensity.sector(t, 0, static_cast<uint8_t>(t), static_cast<uint8_t>(r), 3,
                         sectorData(1024));
    }
  }
  // Eight tracks of three records whose first headers declare two (the walk
  // takes each header's count afresh): one note, the first six tracks' counts.
  D88Builder eightTracks;
  eightTracks.image("EIGHT");
  for (int t = 0; t < 8; ++t) {
    for (uint8_t r = 1; r <= 3; ++r)
      eightTracks.sector(t, 0, static_cast<uint8_t>(t), r, 1, sectorData(256));
  }
  std::vector<uint8_t> miscounted = eightTracks.build();
  for (int t = 0; t < 8; ++t)
    storeLe16(miscounted, loadLe32(miscounted.data() + 0x20 + 4 * t) + 4, 2);
  std::vector<uint8_t> oneDdHigh = highDensity.build();
  oneDdHigh[0x1B] = 0x40;  // 1DD declared
  std::vector<uint8_t> onlyTrackZero =
      D88Builder().image("ZERO", 0x20).sector(0, 0, 0, 1, 1, sectorData(256)).build();
  std::vector<uint8_t> shortSystem = buildGameDisks({{"SYSTEM DISK", 0, true}});
  shortSystem.resize(400000);  // tracks 77-79 missing
  std::vector<uint8_t> otherSignature = buildGameDisks({{"SYSTEM DISK", 0, true}});
  const char quarvent[] = "QUARVENT";
  std::copy_n("OTHERSIG", 8,
              std::search(otherSignature.begin(), otherSignature.end(), quarvent, quarvent + 8));
  return {
      {"the sample set",
       sample(),
       {},
       {"image 1  offset 0x00065860  size 415840  media 0x00 (2D)  "
        "protect 0x00  header 688  tracks 80  name \"SCENARIO DISK 4\""}},
      {"a blank track before an image",
       blankTrackBeforeAnImage(),
       {"blank-track"},
       {"  track 0  cylinder 0  head 0: 0/0/1/1",
        "  note: track 1: blank (the first record header "
        "has count 0) [blank-track]",
        "image 1  offset 0x000004D0"}},
      {"a 0x2A0 header",
       withShortHeader(twoTracks.build(), 0x2A0),
       {"short-header"},
       {"header 672  tracks 2", "  track 1  cylinder 0  head 1: 0/1/1/1",
        "  note: short header: 672 bytes, a track table of 160 entries [short-header]"}},
      {"a 0x288 header",
       withShortHeader(twoTracks.build(), 0x288),
       {"short-header"},
       {"header 648  tracks 2"}},
      {"a truncated file",
       truncated,
       {"truncated", "entry-past-file", "past-image-end"},
       {"  note: image cut short: 400000 of its 415840 bytes are in the file; 15840 bytes are "
        "missing from offset 0x000C72E0 on [truncated]\n",
        "  note: tracks 77-79: the first record header is not whole inside the image's bytes "
        "(they end at offset 0x000C72E0) [entry-past-file]\n",
        "38/0/4/3 38/0/5/3[past end]\n", "    MUSIC2: 11970 of 11970 bytes found\n"}},
      {"zero bytes after the last image",
       withBytes(sample(), 100, 0),
       {"trailing-bytes"},
       {"note: 100 bytes after the last image (offset 0x001FB9E0) [trailing-bytes]"}},
      {"a partial header at the end", withBytes(sample(), 100, 0xFF), {"partial-header"}, {}},
      {"65 images",
       buildGameDisks(std::vector<GameDisk>(65, GameDisk{"MANY", 2, false, {}, {1}})),
       {"more-images"},
       {"note: images past the 64 that d88cut looks at: 1 [more-images]"}},
      {"disk size 0",
       sizeZero,
       {"repeated-image", "size-below-header", "entry-past-size"},
       {"  note: d88cut looks at this image 64 times (images 0 to 63 start at this offset) "
        "[repeated-image]",
        "  note: tracks 0-79: the track-table entry is above the disk size [entry-past-size]"}},
      {"entries inside the header and above the disk size",
       inHeader,
       {"entry-in-header", "entry-past-size", "entry-past-file"},
       {"  note: tracks 5, 163: the track-table entry points inside the header [entry-in-header]",
        "  note: track 0: the track-table entry is above the disk size [entry-past-size]",
        "  note: track 7: the first record header is not whole inside the image's bytes"}},
      {"a last record without data",
       emptyLast.build(),
       {"size-mismatch"},
       {"header 688  tracks 2"}},
      {"a chain of a million headers",
       chain,
       {"more-images", "size-below-header", "entry-in-header"},
       {"note: images past the 64 that d88cut looks at: 1048512 [more-images]"}},
      {"a disk size that steps back",
       stepBack,
       {"more-images", "negative-size"},
       {"note: images past the 64 that d88cut looks at: 1 [more-images]"}},
      {"a track of 70000 records",
       longTrack.build(),
       {"count-mismatch", "size-mismatch", "duplicate-id"},
       {"tracks 1  name \"LONG\"", " 254/255/0/0[size 0][count 1] "}},
      {"an image found twice",
       twice,
       {"repeated-image", "size-below-header", "entry-past-size"},
       {"  note: d88cut looks at this image 2 times (images 62 to 63 start at this offset) "
        "[repeated-image]"}},
      {"single density, deleted, error status, one ID twice",
       oddRecords(),
       {"size-mismatch", "duplicate-id"},
       {"protect 0x10", "0/0/1/1[single][size 128] 0/0/2/1[deleted][status 0xB0] 0/0/2/1",
        "  note: track 0: two records carry one sector ID [duplicate-id]"}},
      // Read signed, as d88cut reads it: no track of that image can be read.
      {"a disk size of 2^31",
       huge,
       {"negative-size", "entry-past-size"},
       {"size 2147483648  media 0x00 (2D)  protect 0x00  header 688  tracks 0  name",
        "  note: disk size 0x80000000 reads as -2147483648, a negative size: d88cut finds none of "
        "its tracks [negative-size]"}},
      {"media kinds",
       D88Builder()
           .image("A", 0x10)
           .image("B", 0x20)
           .image("C", 0x30)
           .image("D", 0x40)
           .image("E", 0x50)
           .build(),
       {},
       {"media 0x10 (2DD)", "media 0x20 (2HD)", "media 0x30 (1D)", "media 0x40 (1DD)",
        "media 0x50 (unknown)"}},
      {"a header of no table entries",
       noTableEntries,
       {"short-header"},
       {"header 32  tracks 0", "short header: 32 bytes, a track table of 0 entries"}},
      {"a stray small entry",
       stray,
       {"entry-in-header"},
       {"header 688  tracks 80", "  track 79  cylinder 39  head 1: 39/1/1/3",
        "  note: track 100: the track-table entry points inside the header [entry-in-header]"}},
      {"a last track cut short",
       cutAfterOne,
       {"truncated", "count-mismatch"},
       {"  note: track 0: the records found differ from the count the first header declares "
        "(track 0: 1 found, 16 declared) [count-mismatch]"}},
      {"a 2HD layout declared 2D",
       highDensity.build(),
       {"media-mismatch"},
       {"  note: media 0x00 (2D) declared, but track 0 holds 8192 data bytes, as only a "
        "high-density (2HD) track can [media-mismatch]"}},
      {"count mismatches on eight tracks",
       miscounted,
       {"count-mismatch"},
       {"tracks 0-7: the records found differ from the count the first header declares (track 0: "
        "3 found, 2 declared, track 1: 3 found, 2 declared, track 2: 3 found, 2 declared, track 3: "
        "3 found, 2 declared, track 4: 3 found, 2 declared, track 5: 3 found, 2 declared, ...) "
        "[count-mismatch]"}},
      {"a 1DD disk with high-density tracks",
       oneDdHigh,
       {"media-mismatch"},
       {"note: media 0x40 (1DD) declared, but track 0 holds 8192 data bytes"}},
      {"a 2HD disk whose only track is track 0",
       onlyTrackZero,
       {"media-mismatch"},
       {"note: media 0x20 (2HD) declared, but no track holds more than 256 data bytes"}},
      {"a short system disk",
       shortSystem,
       {"truncated", "entry-past-file", "past-image-end"},
       {"  probably the system disk, cut short before its signature (track 79)\n    LOADER: 16384 "
        "of 16384 bytes found\n"}},
      {"another signature",
       otherSignature,
       {},
       {"    why: disk id 0 (the system disk's), but the signature sector begins "
        "\"OTHERSIG        \", not \"QUARVENT        \"\n"}},
      // No D88 file at all: said so, and why, and nothing more.
      {"a text file",
       std::vector<uint8_t>(100, 'x'),
       {},
       {".d88 is not a D88 file: it is text, not a disk image\n"}},
      {"an empty file", {}, {}, {".d88 is not a D88 file: the file is empty\n"}},
      {"a dump cut inside its header",
       [] {
         std::vector<uint8_t> d88 = sample();
         d88.resize(300);
         return d88;
       }(),
       {},
       {"is not a D88 file: its 300 bytes are fewer than a disk image header's 688\n"}},
      {"a media byte that is no media",
       withLe32At(sample(), 0x18, 0x55000000),
       {},
       {"is not a D88 file: its media byte 0x55 names no kind of disk\n"}},
      {"a disk size past the file and any image",
       withLe32At(sample(), 0x1C, 1919252069),
       {},
       {"is not a D88 file: its disk size 1919252069 is larger than any disk image and the "
        "file\n"}},
      {"a track table of nonsense",
       [] {
         std::vector<uint8_t> d88 = sample();
         for (int t = 0; t < 164; ++t) storeLe32(d88, 0x20 + 4 * t, 0x10);
         return d88;
       }(),
       {},
       {"is not a D88 file: no entry of its track table points into the image\n"}},
  };
}

class InfoTest : public ::testing::Test {
 protected:
  ProgramResult run(std::vector<std::string> args) {
    return lfLines(runProgram(D88INFO_PATH, args, dir_.path()));
  }
  std::string write(const std::string& name, const std::vector<uint8_t>& d88) {
    EXPECT_TRUE(writeBytes(dir_.file(name), d88));
    return dir_.file(name);
  }
  ScopedTempDir dir_;
};

TEST_F(InfoTest, ReportsTheLayoutsOfRealFiles) {
  int serial = 0;
  for (const Layout& layout : layouts()) {
    const std::string path = write("f" + std::to_string(serial++) + ".d88", layout.d88);
    const ProgramResult r = run({"--sectors", path});
    EXPECT_EQ(r.status, 0) << layout.name;
    EXPECT_EQ(r.err, "") << layout.name;
    std::set<std::string> kinds;
    for (std::size_t at = r.out.find(" ["); at != std::string::npos;
         at = r.out.find(" [", at + 1)) {
      const std::size_t end = r.out.find("]\n", at);
      if (end != std::string::npos && r.out.rfind("note: ", at) > r.out.rfind('\n', at)) {
        kinds.insert(r.out.substr(at + 2, end - at - 2));
      }
    }
    EXPECT_EQ(kinds, layout.kinds) << layout.name << "\n" << r.out;
    for (const std::string& line : layout.text) {
      EXPECT_NE(r.out.find(line), std::string::npos) << layout.name << ": " << line << "\n"
                                                     << r.out;
    }
  }
}

#ifdef D88CUT_HAVE_JSON
TEST_F(InfoTest, JsonHoldsTheSameFactsForAllFiles) {
  std::vector<std::string> args = {"--json", "--sectors"};
  const std::vector<Layout> all = layouts();
  for (std::size_t i = 0; i < all.size(); ++i) args.push_back(write(std::to_string(i), all[i].d88));
  const ProgramResult r = run(args);
  EXPECT_EQ(r.status, 0);
  // Without --sectors the records are left out, as in the text view.
  args.erase(args.begin() + 1);
  const std::string brief = run(args).out;
  EXPECT_LE(brief.size() * 4, r.out.size());
  EXPECT_EQ(nlohmann::json::parse(brief)["files"][0]["images"][0]["tracks"][1],
            nlohmann::json::parse(R"({"index":1,"offset":5040,"declared":5})"));
  const nlohmann::json doc = nlohmann::json::parse(r.out);
  ASSERT_EQ(doc.at("files").size(), all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    const nlohmann::json& file = doc.at("files").at(i);
    std::set<std::string> kinds;
    for (const auto& note : file.at("notes")) kinds.insert(note.at("kind"));
    for (const auto& image : file.at("images")) {
      for (const auto& note : image.at("notes")) kinds.insert(note.at("kind"));
    }
    EXPECT_EQ(kinds, all[i].kinds) << all[i].name;
    EXPECT_FALSE(file.contains("readError")) << all[i].name;  // every one was read whole
  }
  const nlohmann::json& system = doc.at("files").at(0).at("images").at(0);
  EXPECT_EQ(system.at("name"), "SYSTEM DISK");
  EXPECT_EQ(system.at("game").at("disk"), "system");
  EXPECT_EQ(system.at("nameBytes"), "53595354454D204449534B");
  EXPECT_EQ(system.at("tracks").at(1).at("offset"), 688 + 16 * (16 + 256));
  EXPECT_EQ(system.at("tracks").at(1).at("declared"), 5);
  EXPECT_EQ(system.at("game").at("files").at(2),
            nlohmann::json::parse(R"({"name":"MUSIC","length":56540,"found":56540,"stop":null})"));
  EXPECT_EQ(system.at("tracks").at(1).at("records").at(0),
            nlohmann::json::parse(R"({"c":0,"h":1,"r":1,"n":3,"count":5,"density":0,"deleted":0,
                                      "status":0,"dataSize":1024})"));
  auto fileOf = [&](const std::string& name) -> const nlohmann::json& {
    std::size_t i = 0;
    while (i < all.size() && all[i].name != name) ++i;
    return doc.at("files").at(i);
  };
  const nlohmann::json& odd =
      fileOf("single density, deleted, error status, one ID twice").at("images").at(0);
  EXPECT_EQ(odd.at("writeProtect"), 16);
  EXPECT_EQ(odd.at("tracks").at(0).at("records").at(1).at("status"), 0xB0);
  EXPECT_EQ(fileOf("a disk size of 2^31").at("images").at(4).at("diskSize"), 2147483648u);
  // What recognition saw, beside what d88cut would make of the image.
  EXPECT_EQ(system.at("recognition"), nlohmann::json::parse(
                                          R"({"bootSector":"found","bootBytes":256,"diskId":0,
                                              "signatureSector":"found",
                                              "compared":"QUARVENT        ",
                                              "comparedBytes":"5155415256454E542020202020202020"})"));
}
#endif

TEST_F(InfoTest, ControlCharactersInPathsAreShownEscaped) {
  const ProgramResult r = run({"x\x1B[31m"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("d88info: cannot open x\\x1B[31m: ", 0), 0u) << r.err;
}

TEST_F(InfoTest, SaysWhereAndWhyARunStops) {
  const std::string path = write(
      "gaps.d88", buildGameDisks({{"GAPS", 0, true, {{6, 3}, {30, 1}}}, {"X", 9, false, {}}}));
  const ProgramResult r = run({path});
  EXPECT_NE(
      r.out.find("  system disk\n"
                 "    LOADER: 16384 of 16384 bytes found\n"
                 "    DRIVER: 5120 of 7552 bytes found; the run stops at track 6 (C 3, H 0, "
                 "R 3): no such sector on the track\n"
                 "    MUSIC: 27392 of 56540 bytes found; the run stops at track 30 (C 15, H 0, "
                 "R 1): no such sector on the track\n"),
      std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("  not a disk of the game\n"), std::string::npos) << r.out;
  EXPECT_EQ(dir_.entries(), std::vector<std::string>{"gaps.d88"});  // nothing written

  // LOADER's first sector recorded with a data CRC error: its bytes are all
  // there, and the line says which sector the dump doubts.
  std::vector<uint8_t> bad = buildGameDisks({{"BAD", 0, true, {}}});
  const uint8_t loaderFirst[] = {0, 1, 1, 3, 5, 0};
  const auto at = std::search(bad.begin() + 688, bad.end(), loaderFirst, loaderFirst + 6);
  ASSERT_NE(at, bad.end());
  at[8] = 0xB0;
  const std::string badPath = write("bad.d88", bad);
  EXPECT_NE(run({badPath}).out.find(
                "    LOADER: 16384 of 16384 bytes found; 1 sector recorded with an error, at track "
                "1 (C 0, H 1, R 1): a CRC error in its data (status 0xB0)\n"),
            std::string::npos);
#ifdef D88CUT_HAVE_JSON
  const nlohmann::json loader = nlohmann::json::parse(
      run({"--json", badPath}).out)["files"][0]["images"][0]["game"]["files"][0];
  EXPECT_EQ(loader["damage"],
            nlohmann::json::parse(R"({"sectors":1,"track":1,"c":0,"h":1,"r":1,"status":176})"));
#endif
}

TEST_F(InfoTest, NamesAreDecodedOnlyWhereTheyCanBe) {
  // テ, a control byte, X, DEL, then a lead byte without its second byte.
  const std::string controls =
      write("controls.d88", D88Builder().image(std::string(16, '\x01')).build());
  std::string escaped;
  for (int i = 0; i < 16; ++i) escaped += "\\x01";
  EXPECT_NE(run({controls}).out.find("name \"" + escaped + "\""), std::string::npos);
  const std::string path = write("name.d88", D88Builder().image("\x83\x65\x01X\x7F\x83").build());
  EXPECT_NE(run({path}).out.find("name \"\x83\x65\\x01X\\x7F\x83\"\n"), std::string::npos);
#ifdef D88CUT_HAVE_JSON
  EXPECT_EQ(nlohmann::json::parse(run({"--json", path}).out)["files"][0]["images"][0]["name"],
            "\u30C6\\x01X\\x7F\\x83");
#ifndef _WIN32
  // A file named in Shift_JIS: its name is not UTF-8, and its bytes come
  // along, so that a script can name the file again.
  const std::string sjis = write("\x83\x51\x81\x5B\x83\x80.d88", D88Builder().image("A").build());
  const nlohmann::json file = nlohmann::json::parse(run({"--json", sjis}).out)["files"][0];
  std::string bytes;
  const std::string hex = file["pathBytes"];
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  EXPECT_EQ(bytes, sjis);
  EXPECT_FALSE(nlohmann::json::parse(run({"--json", path}).out)["files"][0].contains("pathBytes"));
#endif
#endif
#ifndef _WIN32
  const ProgramResult terminal = runOnTerminal(D88INFO_PATH, {path}, dir_.path(), [] {
    unsetenv("LC_ALL");
    setenv("LANG", "C.UTF-8", 1);
  });
  EXPECT_NE(terminal.out.find("name \"\u30C6\\x01X\\x7F\\x83\""), std::string::npos)
      << terminal.out;
#endif
#ifdef D88CUT_HAVE_JSON
  // 0x81 leads full-width spaces and punctuation.
  const std::string wide = write("wide.d88", D88Builder().image("A\x81\x40\x81\x42").build());
  EXPECT_EQ(nlohmann::json::parse(run({"--json", wide}).out)["files"][0]["images"][0]["name"],
            "A\u3000\u3002");
#endif
}

TEST_F(InfoTest, CommandLines) {
  const std::string usage = "usage: d88info [--sectors] [--json] FILE...\n";
  const std::string good = write("good.d88", D88Builder().image("G").build());
  const std::string none = dir_.file("none.d88");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string outStart, err;
  };
  const Case cases[] = {
      {{}, 1, "", usage},
      {{"--sectors"}, 1, "", usage},
      {{"-x", good}, 1, "", "d88info: unknown option: -x\n" + usage},
      {{none}, 1, "", "d88info: cannot open " + none + ": " + std::strerror(ENOENT) + "\n"},
      {{none, good}, 1, "file " + good + "  size 688\nimage 0", "d88info: cannot open " + none},
      {{"-"}, 0, "- is not a D88 file: the file is empty\n", ""},  // standard input: nothing
      {{"--", "-h"}, 1, "", "d88info: cannot open -h: "},
      {{"--version"}, 0, std::string("d88info ") + kProgramVersion + "\n", ""},
      {{"-h"}, 0, usage, ""},
      {{"--help"}, 0, usage, ""},
  };
  for (const Case& c : cases) {
    const ProgramResult r = run(c.args);
    const std::string line = c.args.empty() ? "" : c.args[0];
    EXPECT_EQ(r.status, c.status) << line;
    EXPECT_EQ(r.out.rfind(c.outStart, 0), 0u) << line << "\n" << r.out;
    EXPECT_EQ(r.out.empty(), c.outStart.empty()) << line;
    EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << line << "\n" << r.err;
  }
#ifndef _WIN32
  const ProgramResult full =
      runProgram(D88INFO_PATH, {good}, dir_.path(), [] { dup2(open("/dev/full", O_WRONLY), 1); });
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, "d88info: error: cannot write standard output: " +
                          std::string(std::strerror(ENOSPC)) + "\n");
  // In one log the failure follows the file before it; each file is closed
  // before the next is opened, so a batch needs few descriptors.
  std::vector<std::string> batch(40, good);
  batch[20] = none;
  const ProgramResult log = runProgram(D88INFO_PATH, batch, dir_.path(), [] {
    dup2(1, 2);
    const rlimit few = {12, 12};
    setrlimit(RLIMIT_NOFILE, &few);
  });
  EXPECT_EQ(log.status, 1);
  const std::size_t failure = log.out.find("d88info: cannot open " + none);
  auto blocks = [&](std::size_t from, std::size_t to) {
    int n = 0;
    for (std::size_t at = log.out.find("file " + good, from); at < to;
         at = log.out.find("file " + good, at + 1)) {
      ++n;
    }
    return n;
  };
  EXPECT_EQ(blocks(0, failure), 20) << log.out;
  EXPECT_EQ(blocks(failure, std::string::npos), 19) << log.out;
#endif
#ifdef D88CUT_HAVE_JSON
  EXPECT_EQ(run({"--json", none}).out, "{\"files\":[\n{\"path\":\"" + none +
                                           "\",\"size\":0,\"error\":\"" + std::strerror(ENOENT) +
                                           "\",\"notes\":[],\"images\":[]}]}\n");
#endif
}

}  // namespace
