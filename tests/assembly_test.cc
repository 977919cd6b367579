// SPDX-License-Identifier: MIT
// Several damaged copies of a disk make one whole file: d88cut assembles the
// game's files sector by sector from every copy in the run, never mixing
// copies that disagree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "disk/little_endian.h"
#include "expected_runs.h"
#include "testing/game_disks.h"
#include "testing/test_env.h"

namespace {

const std::vector<uint8_t> kLoader = expectedFile(1, 1, 0, 16384);
const std::vector<uint8_t> kDriver = expectedFile(5, 3, 0, 7552);
const std::vector<uint8_t> kMusic = expectedFile(24, 4, 256, 56540);
const std::vector<uint8_t> kMusic2 = expectedFile(72, 4, 385, 11970);

// The header of the record (c, h, r, n: 1024 bytes unless told) of a disk
// built here.
std::size_t headerOf(const std::vector<uint8_t>& d88, uint8_t c, uint8_t h, uint8_t r,
                     uint8_t n = 3) {
  const uint8_t id[] = {c, h, r, n};
  for (std::size_t pos = 688; pos + 16 <= d88.size(); ++pos) {
    if (std::memcmp(d88.data() + pos, id, 4) == 0 && d88[pos + 14] == 0 &&
        d88[pos + 15] == (128 << n) >> 8) {
      return pos;
    }
  }
  return 0;
}

// Copies of the system disk, each missing sectors (track, R) of its own.
std::vector<uint8_t> system(std::vector<std::pair<int, int>> missing) {
  return buildGameDisks({{"SYSTEM", 0, true, std::move(missing)}});
}
std::vector<uint8_t> withStatus(std::vector<uint8_t> d88, int track, int r, uint8_t status) {
  d88[headerOf(d88, static_cast<uint8_t>(track / 2), static_cast<uint8_t>(track % 2),
               static_cast<uint8_t>(r)) +
      8] = status;
  return d88;
}
std::vector<uint8_t> shortData(std::vector<uint8_t> d88, int track, int r) {
  const std::size_t at = headerOf(d88, static_cast<uint8_t>(track / 2),
                                  static_cast<uint8_t>(track % 2), static_cast<uint8_t>(r));
  storeLe16(d88, at + 14, 100);
  return d88;
}
// Release k: one byte of LOADER's eighth and twelfth sectors (track 2 R 3,
// track 3 R 2) differs, and one of MUSIC's at track 25 R 1.
std::vector<uint8_t> otherRelease(std::vector<uint8_t> d88, uint8_t k = 0xFF) {
  d88[headerOf(d88, 1, 0, 3) + 16] ^= k;
  d88[headerOf(d88, 1, 1, 2) + 16] ^= k;
  d88[headerOf(d88, 12, 1, 1) + 16] ^= k;
  return d88;
}
std::vector<uint8_t> otherLoader(uint8_t k = 0xFF) {
  std::vector<uint8_t> loader = kLoader;
  loader[7 * 1024] ^= k;
  loader[11 * 1024] ^= k;
  return loader;
}
// LOADER with the eighth sector of the other release: what mixing makes.
std::vector<uint8_t> mixedLoader() {
  std::vector<uint8_t> loader = kLoader;
  loader[7 * 1024] ^= 0xFF;
  return loader;
}
// LOADER with its twelfth sector (track 3 R 2) missing, as zeros.
std::vector<uint8_t> loaderWithout12th() {
  std::vector<uint8_t> loader = kLoader;
  std::fill(loader.begin() + 11 * 1024, loader.begin() + 12 * 1024, uint8_t{0});
  return loader;
}
// Another boot sector, all else alike.
std::vector<uint8_t> otherBoot(std::vector<uint8_t> d88) {
  d88[headerOf(d88, 0, 0, 1, 1) + 16] ^= 0xFF;
  return d88;
}
// The system disk ending where track 30 begins: probably the system disk,
// cut short before its signature.
std::vector<uint8_t> cutShort(std::vector<uint8_t> d88) {
  d88.resize(loadLe32(d88.data() + 0x20 + 4 * 30));
  return d88;
}
template <typename Make>
std::vector<std::vector<uint8_t>> copies(int n, Make make) {
  std::vector<std::vector<uint8_t>> made;
  for (int i = 0; i < n; ++i) made.push_back(make(i));
  return made;
}

TEST(Assembly, CopiesMakeOneWholeFile) {
  ScopedTempDir input;
  ScopedTempDir work;
  const std::vector<uint8_t> scenario4 = buildGameDisks({{"SCENARIO DISK 4", 1, false}});
  const auto music2Gap = [](int track, int r) {
    return buildGameDisks({{"SCENARIO DISK 4", 1, false, {{track, r}}}});
  };
  struct Case {
    const char* name;
    std::vector<std::vector<uint8_t>> copies;  // one D88 file each
    int status;
    std::string note;  // the start of a line of standard error; "": no note of assembly
    const char* file;
    std::vector<uint8_t> bytes;  // empty: neither whole nor a mix of the two releases
    bool loaderThere = false;    // a whole LOADER in the folder before the run
  };
  // Release a lacks LOADER's track 2 R 3; release b has a CRC error at
  // track 1 R 4 and other bytes at track 2 R 3.
  const std::vector<std::vector<uint8_t>> twoReleases = {
      system({{2, 3}}), withStatus(otherRelease(system({})), 1, 4, 0xB0)};
  const std::string assembled = "d88cut: note: LOADER was assembled from ";
  const std::string differ =
      "d88cut: note: the copies of the system disk differ at track 2 (C 1, H 0, R 3): ";
  const std::string differAt3R2 =
      "d88cut: note: the copies of the system disk differ at track 3 (C 1, H 1, R 2): ";
  // What the first two copies gave and lacked when one lacks track 2 R 3, the
  // other track 3 R 2.
  const std::string apart =
      " copies: 15 sectors from " + input.file("0.d88") + " (image 0), 1 sector from " +
      input.file("1.d88") + " (image 0); " + input.file("0.d88") +
      " (image 0) lacked 1 sector, the first at track 2 (C 1, H 0, R 3); " + input.file("1.d88") +
      " (image 0) lacked 1 sector, the first at track 3 (C 1, H 1, R 2)\n";
  const Case cases[] = {
      {"missing sectors apart",
       {system({{2, 3}}), system({{3, 2}})},
       0,
       assembled + "2" + apart,
       "LOADER",
       kLoader},
      // Counted, not listed.
      {"a third copy that adds nothing",
       {system({{2, 3}}), system({{3, 2}}), system({{2, 3}})},
       0,
       assembled + "3" + apart,
       "LOADER",
       kLoader},
      {"the first sector lacked",
       {system({{1, 1}, {2, 1}}), system({{3, 2}})},
       0,
       assembled + "2 copies: 14 sectors from " + input.file("0.d88") +
           " (image 0), 2 sectors from " + input.file("1.d88") + " (image 0); " +
           input.file("0.d88") +
           " (image 0) lacked 2 sectors, the first at track 1 (C 0, H 1, R 1); " +
           input.file("1.d88") + " (image 0) lacked 1 sector, the first at track 3 (C 1, H 1, R 2)",
       "LOADER",
       kLoader},
      {"the other order",
       {system({{3, 2}}), system({{2, 3}})},
       0,
       assembled + "2 copies:",
       "LOADER",
       kLoader},
      {"a CRC error and a missing sector",
       {withStatus(system({}), 2, 3, 0xB0), system({{3, 2}})},
       0,
       assembled + "2 copies:",
       "LOADER",
       kLoader},
      {"a short data field and a CRC error",
       {shortData(system({}), 25, 2), withStatus(system({}), 26, 1, 0xB0)},
       0,
       "d88cut: note: MUSIC was assembled from 2 copies:",
       "MUSIC",
       kMusic},
      {"three copies",
       {system({{1, 2}}), system({{2, 2}}), system({{3, 2}})},
       0,
       assembled + "3 copies:",
       "LOADER",
       kLoader},
      {"two images of one file",
       {buildGameDisks({{"A", 0, true, {{5, 4}}}, {"B", 0, true, {{6, 1}}}})},
       0,
       "d88cut: note: DRIVER was assembled from 2 copies:",
       "DRIVER",
       kDriver},
      {"scenario disk 4 twice",
       {music2Gap(73, 2), music2Gap(74, 5)},
       0,
       "d88cut: note: MUSIC2 was assembled from 2 copies:",
       "MUSIC2",
       kMusic2},
      {"one copy alone whole", {system({{2, 3}}), system({})}, 0, "", "LOADER", kLoader},
      {"the same sector bad in both",
       {system({{2, 3}}), withStatus(system({}), 2, 3, 0xB0)},
       1,
       "d88cut: warning: LOADER is whole in none of its 2 copies: track 2 (C 1, H 0, R 3) is "
       "missing or damaged in each",
       "LOADER",
       {}},
      {"two whole releases",
       {system({}), otherRelease(system({}))},
       0,
       differ + input.file("0.d88") + " (image 0) and " + input.file("1.d88") +
           " (image 0) were not mixed",
       "LOADER",
       otherLoader()},
      {"a damaged copy and another whole release",
       {system({{3, 2}}), otherRelease(system({}))},
       0,
       differ,
       "LOADER",
       otherLoader()},
      {"two damaged releases", twoReleases, 1, differAt3R2, "LOADER", {}},
      {"two damaged releases, a whole LOADER there", twoReleases, 1, differAt3R2, "LOADER", kLoader,
       true},
      {"a third copy joins the second release",
       {system({{2, 3}}), otherRelease(system({{1, 2}})), otherRelease(system({{3, 3}}))},
       0,
       differAt3R2,
       "LOADER",
       otherLoader()},
      {"copies alike but for their boot sectors",
       {system({{2, 3}}), otherBoot(system({{3, 2}}))},
       1,
       "d88cut: note: the copies of the system disk differ at track 0 (C 0, H 0, R 1): ",
       "LOADER",
       {}},
      {"a better flawed file",
       {system({{2, 3}, {3, 2}}), system({{3, 2}})},
       1,
       assembled + "2 copies:",
       "LOADER",
       loaderWithout12th()},
      {"16 damaged copies, then a whole one",
       copies(17,
              [](int i) {
                return i < 16 ? system({{2, 3}}) : system({});
              }),
       0, "", "LOADER", kLoader},
      {"five whole releases",
       copies(5, [](int i) { return otherRelease(system({}), static_cast<uint8_t>(i)); }), 0,
       differ, "LOADER", otherLoader(4)},
      {"six whole releases",
       copies(6, [](int i) { return otherRelease(system({}), static_cast<uint8_t>(i)); }), 0,
       differ, "LOADER", otherLoader(5)},
      {"a recognised copy and one cut short",
       {system({{2, 3}}), cutShort(system({{3, 2}}))},
       0,
       assembled + "2 copies:",
       "LOADER",
       kLoader},
  };
  for (const Case& c : cases) {
    std::vector<std::string> paths;
    for (const std::vector<uint8_t>& copy : c.copies) {
      paths.push_back(input.file(std::to_string(paths.size()) + ".d88"));
      ASSERT_TRUE(writeBytes(paths.back(), copy));
    }
    for (const char* name : {"LOADER", "DRIVER", "MUSIC", "MUSIC2"}) {
      std::remove(work.file(name).c_str());
    }
    if (c.loaderThere) {
      ASSERT_TRUE(writeBytes(work.file("LOADER"), kLoader));
    }
    const ProgramResult r = runProgram(D88CUT_PATH, paths, work.path());
    EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.err;
    if (c.note.empty()) {
      EXPECT_EQ(r.err.find("was assembled"), std::string::npos) << c.name << "\n" << r.err;
    } else {
      EXPECT_NE(r.err.find(textLines(c.note)), std::string::npos) << c.name << "\n" << r.err;
    }
    if (c.bytes.empty()) {
      EXPECT_NE(readBytes(work.file(c.file)), kLoader) << c.name;
      EXPECT_NE(readBytes(work.file(c.file)), otherLoader()) << c.name;
      EXPECT_NE(readBytes(work.file(c.file)), mixedLoader()) << c.name;
    } else {
      EXPECT_EQ(readBytes(work.file(c.file)), c.bytes) << c.name;
    }
  }
  // A dry run of the complementary pair: LOADER would be complete; nothing written.
  std::vector<std::string> pair = {"-n", input.file("0.d88"), input.file("1.d88")};
  ASSERT_TRUE(writeBytes(pair[1], system({{2, 3}})));
  ASSERT_TRUE(writeBytes(pair[2], system({{3, 2}})));
  for (const char* name : {"LOADER", "DRIVER", "MUSIC", "MUSIC2"}) {
    std::remove(work.file(name).c_str());
  }
  const ProgramResult dry = runProgram(D88CUT_PATH, pair, work.path());
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_NE(dry.out.find("would write LOADER (complete, assembled from 2 copies)"),
            std::string::npos)
      << dry.out;
  EXPECT_NE(dry.err.find("d88cut: note: files assembled from several copies: 1"), std::string::npos)
      << dry.err;
  EXPECT_TRUE(work.entries().empty());
  // d88info says what the copies give together (its lines end in CR LF on
  // Windows).
  const auto report = [&pair, &work] {
    std::string out = runProgram(D88INFO_PATH, {pair[1], pair[2]}, work.path()).out;
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    return out;
  };
  const std::string info = report();
  EXPECT_NE(info.find("together: LOADER is whole in its 2 copies\n"), std::string::npos) << info;
  // In JSON, which copy gives each sector (the eighth: the second copy) and
  // which lack it.
  const std::string json = runProgram(D88INFO_PATH, {"--json", pair[1], pair[2]}, work.path()).out;
  const std::size_t loader = json.find("\"together\":{\"LOADER\":{\"copies\":2,\"whole\":true");
  ASSERT_NE(loader, std::string::npos) << json;
  EXPECT_NE(json.find("{\"from\":0,\"lacking\":[]},{\"from\":1,\"lacking\":[0]},", loader),
            std::string::npos)
      << json.substr(loader);
  ASSERT_TRUE(writeBytes(pair[2], withStatus(system({}), 2, 3, 0xB0)));
  const std::string none = report();
  EXPECT_NE(none.find("together: LOADER is whole in none of its 2 copies: track 2 (C 1, H 0, R 3) "
                      "is missing or damaged in each\n"),
            std::string::npos)
      << none;
  // The release fingerprint d88info gives an image: one for a copy and its
  // re-headered duplicate, another for another release; a damaged copy's
  // own is marked as not whole.
  const auto fingerprint = [&pair, &work](const std::vector<uint8_t>& d88) {
    EXPECT_TRUE(writeBytes(pair[1], d88));
    const std::string json = runProgram(D88INFO_PATH, {"--json", pair[1]}, work.path()).out;
    const std::size_t at = json.find("\"fingerprint\":\"");
    return at == std::string::npos ? json : json.substr(at + 15, json.find('}', at) - at - 15);
  };
  std::vector<uint8_t> reheadered = system({});
  std::memcpy(reheadered.data(), "REDUMPED", 8);
  const std::string whole = fingerprint(system({}));
  EXPECT_EQ(whole.substr(64), "\",\"fingerprintWhole\":true") << whole;
  EXPECT_EQ(fingerprint(reheadered), whole);
  EXPECT_NE(fingerprint(otherRelease(system({}))).substr(0, 64), whole.substr(0, 64));
  const std::string damaged = fingerprint(system({{2, 3}}));
  EXPECT_EQ(damaged.substr(64), "\",\"fingerprintWhole\":false") << damaged;
}

}  // namespace
