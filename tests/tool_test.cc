// SPDX-License-Identifier: MIT
// End-to-end runs of the built d88cut in fresh directories.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "d88cut_version.h"
#include "disk/little_endian.h"
#include "expected_runs.h"
#include "testing/d88_builder.h"
#include "testing/game_disks.h"
#include "testing/test_env.h"

namespace {

// The texts as Shift_JIS bytes, written out here independently of the tool.
const std::string kOpenFailure =
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x83\x49\x81\x5B\x83\x76\x83\x93"
    "\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1.\n";
const std::string kRecognised = "\x82\xF0\x94\x46\x8E\xAF\x82\xB5\x82\xDC\x82\xB5\x82\xBD.\n";
const std::string kSystem = "SYSTEM DISK" + kRecognised;
std::string scenario(char digit) {
  return std::string("SCENARIO DISK ") + digit + " " + kRecognised;
}
const std::string kSystemFiles =
    kSystem + "cutting ... LOADER\ncutting ... DRIVER\ncutting ... MUSIC\n";

const std::vector<uint8_t> kLoader = expectedFile(1, 1, 0, 16384);
const std::vector<uint8_t> kDriver = expectedFile(5, 3, 0, 7552);
const std::vector<uint8_t> kMusic = expectedFile(24, 4, 256, 56540);
const std::vector<uint8_t> kMusic2 = expectedFile(72, 4, 385, 11970);

std::string incomplete(const std::string& file, int image, int found, int length,
                       const std::string& where, const std::string& why) {
  return "d88cut: warning: " + file + " (image " + std::to_string(image) +
         ") is incomplete: " + std::to_string(found) + " of its " + std::to_string(length) +
         " bytes were found on the disk; the run stops at track " + where + ": " + why + "\n";
}

// How many of a run's sectors are missing or damaged, after the place a
// run stopped; then what becomes of a later copy.
std::string bad(int sectors, int of) {
  return "; " + std::to_string(sectors) + " of its " + std::to_string(of) + " sectors " +
         (sectors == 1 ? "is" : "are") + " missing or damaged";
}
const std::string kAnotherCopyHelps =
    "d88cut: note: another copy of the system disk, named in the same run, would be assembled "
    "with it sector by sector\n";
const std::string kAssembledLater =
    "; this copy is assembled with the others of its disk after the last file";

class ToolTest : public ::testing::Test {
 protected:
  // Writes the D88 file as in.d88 of the work directory and runs d88cut there.
  ProgramResult run(const std::vector<uint8_t>& d88, std::vector<std::string> extra = {},
                    const std::function<void()>& inChild = nullptr) {
    EXPECT_TRUE(writeBytes(inputPath(), d88));
    std::vector<std::string> args = {inputPath()};
    args.insert(args.end(), extra.begin(), extra.end());
    return runProgram(D88CUT_PATH, args, work_.path(), inChild);
  }
  std::string inputPath() const { return input_.file("in.d88"); }
  std::vector<uint8_t> output(const std::string& name) const { return readBytes(work_.file(name)); }
  // An incomplete cut never replaces a file: a case that wants its own starts
  // without the game's files.
  void removeOutputs() const {
    for (const char* name : {"LOADER", "DRIVER", "MUSIC", "MUSIC2"}) {
      std::filesystem::remove(work_.file(name));
    }
  }

  ScopedTempDir input_;
  ScopedTempDir work_;
};

TEST_F(ToolTest, CommandLines) {
  const std::string program = programPath(D88CUT_PATH);
  const std::string usage = "Usage: " + program + " [d88file] (DiskNo.)\n";
  const std::string tryHelp = "Try '" + program + " --help' for more.\n";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  };
  const Case cases[] = {
      {{}, 1, "", usage},
      {{"a", "b", "c"}, 1, "a:\n\nb:\n\nc:\n", kOpenFailure},  // three files, none there
      {{"--version"}, 0, std::string("d88cut ") + kProgramVersion + "\n", ""},
      {{"--help"}, 0, usage, ""},
      {{"-h"}, 0, usage, ""},
      {{"--help", "1"}, 0, usage, ""},  // help beside files, which are not read
      {{"x.d88", "-o", "out"}, 1, "", program + ": unknown option: -o\n" + usage + tryHelp},
      {{"--json", "x.d88"}, 1, "", program + ": --json goes with -l\n" + tryHelp},
      {{"x.d88", "-d"}, 1, "", program + ": -d needs a folder\n" + usage + tryHelp},
      {{"--", "--help"}, 1, "", kOpenFailure},   // "--" ends the options
      {{"x.d88", "0042"}, 1, "", kOpenFailure},  // a disk number, not a second file
      // Control characters in paths are shown escaped, never sent to the terminal.
      {{"a\x1B[31m\tb", "c"},
       1,
       "a\\x1B[31m\\x09b:\n\nc:\n",
       std::string(kOpenFailure) + "d88cut: cannot open a\\x1B[31m\\x09b: "},
  };
  for (const Case& c : cases) {
    const ProgramResult r = runProgram(D88CUT_PATH, c.args, work_.path());
    EXPECT_EQ(r.status, c.status) << c.args.size();
    EXPECT_EQ(r.out.substr(0, textLines(c.out).size()), textLines(c.out)) << c.args.size();
    EXPECT_EQ(r.err.substr(0, textLines(c.err).size()), textLines(c.err)) << c.args.size();
    if (c.out.empty()) {
      EXPECT_EQ(r.out, "");
    }
    EXPECT_TRUE(work_.entries().empty()) << c.args.size();  // nothing written
  }
  // A D88 file of such a name is cut when named as a path.
  ASSERT_TRUE(writeBytes(work_.file("--help"), buildSampleSet()));
  const ProgramResult named = runProgram(D88CUT_PATH, {"./--help"}, work_.path());
  EXPECT_EQ(named.status, 0);
  EXPECT_EQ(named.out.rfind(textLines(kSystemFiles), 0), 0u);
}

TEST_F(ToolTest, UnopenableFilesPrintTheOpenFailureAndWhy) {
  struct Case {
    std::string path;
    int reason;
    std::function<void()> inChild;
  };
  const Case cases[] = {
      {work_.file("missing.d88"), ENOENT, nullptr},
  };
  for (const Case& c : cases) {
    const ProgramResult r = runProgram(D88CUT_PATH, {c.path}, work_.path(), c.inChild);
    EXPECT_EQ(r.status, 1) << c.path;
    EXPECT_EQ(r.out, "") << c.path;
    EXPECT_EQ(r.err, textLines(kOpenFailure + "d88cut: cannot open " + c.path + ": " +
                               std::strerror(c.reason) + "\n"))
        << c.path;
  }
}

TEST_F(ToolTest, TheSampleSetGivesTheRoadOfOneRun) {
  const std::string expected = kSystemFiles + scenario('4') + "cutting ... MUSIC2\n" +
                               scenario('2') + scenario('3') + scenario('1');
  for (const std::vector<std::string>& extra :
       {std::vector<std::string>{}, std::vector<std::string>{"3"}}) {
    const ProgramResult r = run(buildSampleSet(), extra);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, textLines(expected));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(output("LOADER"), kLoader);
    EXPECT_EQ(output("DRIVER"), kDriver);
    EXPECT_EQ(output("MUSIC"), kMusic);
    EXPECT_EQ(output("MUSIC2"), kMusic2);
    EXPECT_EQ(work_.entries(), (std::vector<std::string>{"DRIVER", "LOADER", "MUSIC", "MUSIC2"}));
  }
}

TEST_F(ToolTest, RecognitionCases) {
  GameDisk bootSignature = {"BOOT SIG", 0, false, {{79, 5}}};
  struct Case {
    const char* name;
    std::vector<uint8_t> d88;
    std::string out;
    int looked = -1;          // images looked at, when none is recognised
    bool moreImages = false;  // the chain goes on past the 64 looked at
  };
  std::vector<uint8_t> bootOnly = buildGameDisks({bootSignature});
  // Put the signature at the start of the boot sector: boot data starts at 688 + 16.
  std::memcpy(bootOnly.data() + 688 + 16, "QUARVENT        ", 16);
  std::vector<uint8_t> halfBoot = buildGameDisks({{"HALF", 0, true, {}}});
  storeLe16(halfBoot, 688 + 14, 128);  // boot sector recorded with 128 data bytes
  halfBoot[688 + 16 + 255] = 3;        // its id byte now lies beyond what is read
  std::vector<uint8_t> sizeZero = buildGameDisks({{"ZERO", 2, false, {}}});
  storeLe32(sizeZero, 0x1C, 0);
  std::vector<GameDisk> many(65, GameDisk{"MANY", 2, false, {}});
  const Case cases[] = {
      {"any order, scenario number not id",
       buildGameDisks(
           {{"", 4, false, {}}, {"", 1, false, {}}, {"", 3, false, {}}, {"", 2, false, {}}}),
       scenario('1') + scenario('4') + "cutting ... MUSIC2\n" + scenario('3') + scenario('2')},
      {"id 0 without the signature", buildGameDisks({{"", 0, false, {}}}), "", 1},
      {"id 5 and 255", buildGameDisks({{"", 5, false, {}}, {"", 255, true, {}}}), "", 2},
      {"boot sector holding the signature", bootOnly, kSystemFiles},
      {"128-byte boot sector", halfBoot, kSystemFiles},
      {"disk size 0", sizeZero, "", 64},
      {"65 images", buildGameDisks(many),
       [] {
         std::string s;
         for (int i = 0; i < 64; ++i) s += scenario('2');
         return s;
       }(),
       -1, true},
      {"no image", std::vector<uint8_t>(687, 0), "", 0},
      {"text", std::vector<uint8_t>(47, 'x'), "", 0},
  };
  for (const Case& c : cases) {
    const ProgramResult r = run(c.d88);
    EXPECT_EQ(r.out, textLines(c.out)) << c.name;
    EXPECT_EQ(r.status, 0) << c.name << "\n" << r.err;
    // A file too short for an image is no D88 file, and said so.
    const std::string why = c.d88.size() == 47
                                ? "it is text, not a disk image"
                                : "its 687 bytes are fewer than a disk image header's 688";
    const std::string note =
        c.looked == 0
            ? "d88cut: note: " + inputPath() + " is not a D88 file: " + why + "\n"
            : "d88cut: note: " + inputPath() +
                  " holds no disk of the game (disk images looked at: " + std::to_string(c.looked) +
                  ")\nd88cut: note: d88info " + inputPath() + " says why\n";
    const std::string more =
        "d88cut: note: " + inputPath() + " holds more disk images than the 64 looked at\n";
    EXPECT_EQ(r.err, textLines((c.moreImages ? more : "") + (c.looked < 0 ? "" : note))) << c.name;
  }
}

TEST_F(ToolTest, StaleBufferFillsWhatARunDidNotReach) {
  // LOADER's first sector missing: its first 1024 bytes are the signature
  // sector read for recognition, the rest zero bytes.
  ProgramResult r = run(buildGameDisks({{"NO LOADER", 0, true, {{1, 1}}}}));
  EXPECT_EQ(r.out, textLines(kSystemFiles));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, textLines(incomplete("LOADER", 0, 0, 16384, "1 (C 0, H 1, R 1)",
                                        "no such sector on the track" + bad(1, 16)) +
                             kAnotherCopyHelps));
  std::vector<uint8_t> loader = output("LOADER");
  ASSERT_EQ(loader.size(), 16384u);
  std::vector<uint8_t> signatureSector = expectedRun(79, 5, 1024);
  std::memcpy(signatureSector.data(), "QUARVENT        ", 16);
  EXPECT_TRUE(std::equal(signatureSector.begin(), signatureSector.end(), loader.begin()));
  EXPECT_TRUE(std::all_of(loader.begin() + 1024, loader.end(), [](uint8_t b) { return b == 0; }));

  // DRIVER missing track 6 R3: from byte 5120 on it holds LOADER's bytes.
  removeOutputs();
  r = run(buildGameDisks({{"NO DRIVER END", 0, true, {{6, 3}}}}));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, textLines(incomplete("DRIVER", 0, 5120, 7552, "6 (C 3, H 0, R 3)",
                                        "no such sector on the track" + bad(1, 8)) +
                             kAnotherCopyHelps));
  const std::vector<uint8_t> driver = output("DRIVER");
  ASSERT_EQ(driver.size(), 7552u);
  EXPECT_TRUE(std::equal(driver.begin(), driver.begin() + 5120, kDriver.begin()));
  EXPECT_TRUE(std::equal(driver.begin() + 5120, driver.end(), kLoader.begin() + 5120));
  EXPECT_EQ(output("MUSIC"), kMusic);

  // The buffer is cleared for each image: scenario disk 4's MUSIC2, whose
  // run stops at once, holds none of the system disk's MUSIC before it.
  removeOutputs();
  r = run(buildGameDisks({{"SYSTEM", 0, true}, {"NO MUSIC2", 1, false, {{72, 4}}}}));
  const std::vector<uint8_t> music2 = output("MUSIC2");
  ASSERT_EQ(music2.size(), 11970u);
  EXPECT_TRUE(std::all_of(music2.begin(), music2.end(), [](uint8_t b) { return b == 0; }));

  // Of a longer boot sector only its 256 bytes are read: with LOADER's first
  // sector and the signature sector missing, LOADER begins with the boot
  // sector (which holds the signature), then zero bytes.
  std::vector<uint8_t> longBoot = buildGameDisks({{"LONG BOOT", 0, false, {{1, 1}, {79, 5}}}});
  storeLe16(longBoot, 688 + 14, 300);
  std::memcpy(longBoot.data() + 688 + 16, "QUARVENT        ", 16);
  longBoot[688 + 16 + 256] = 0x5A;  // the byte after the 256
  removeOutputs();
  r = run(longBoot);
  EXPECT_EQ(r.out, textLines(kSystemFiles));
  loader = output("LOADER");
  ASSERT_EQ(loader.size(), 16384u);
  EXPECT_EQ(loader[255], 0);  // the disk id
  EXPECT_EQ(loader[256], 0);
}

// The byte position of the sector header with ID (c, h, r, 3) on a game disk.
std::size_t headerOf(const std::vector<uint8_t>& d88, uint8_t c, uint8_t h, uint8_t r) {
  const uint8_t id[] = {c, h, r, 3, 5, 0};
  for (std::size_t pos = 688; pos + 16 <= d88.size(); ++pos) {
    if (std::equal(id, id + 6, d88.begin() + static_cast<std::ptrdiff_t>(pos)) &&
        d88[pos + 14] == 0 && d88[pos + 15] == 4) {
      return pos;
    }
  }
  return 0;
}

TEST_F(ToolTest, FlawedCutsSayWhereAndWhyAndNeverReplaceAFile) {
  std::vector<int> noTrack30 = systemDiskTracks();
  noTrack30.erase(std::find(noTrack30.begin(), noTrack30.end(), 30));
  const GameDisk whole = {"WHOLE", 0, true, {}, systemDiskTracks()};
  const GameDisk damaged = {"DAMAGED", 0, true, {}, noTrack30};
  std::vector<uint8_t> shortSector = buildGameDisks({whole});
  storeLe16(shortSector, headerOf(shortSector, 12, 1, 2) + 14, 100);  // track 25 R 2
  // Sectors the dump recorded as read with an error: LOADER's first (a data
  // CRC error), DRIVER's first (no data mark); a deleted-data mark is none.
  std::vector<uint8_t> badStatus = buildGameDisks({whole});
  badStatus[headerOf(badStatus, 0, 1, 1) + 8] = 0xB0;
  badStatus[headerOf(badStatus, 2, 1, 3) + 8] = 0xF0;
  badStatus[headerOf(badStatus, 2, 1, 4) + 8] = 0xE0;
  badStatus[headerOf(badStatus, 12, 0, 4) + 8] = 0x10;
  const std::string absent = "30 (C 15, H 0, R 1)";
  const std::string there = "; the file already in the folder was kept";
  const std::string badLoader =
      "d88cut: warning: LOADER (image 0) is damaged: 1 sector recorded with an error, at track 1 "
      "(C 0, H 1, R 1): a CRC error in its data (status 0xB0)";
  const std::string badDriver =
      "d88cut: warning: DRIVER (image 0) is damaged: 2 sectors recorded with errors, the first at "
      "track 5 (C 2, H 1, R 3): no data mark (status 0xF0)";
  const auto atImage1 = [](std::string warning) {
    return warning.replace(warning.find("(image 0)"), 9, "(image 1)");
  };
  const std::string badLoaderAt1 = atImage1(badLoader);
  const std::string badDriverAt1 = atImage1(badDriver);
  const auto concat = [](std::vector<uint8_t> first, const std::vector<uint8_t>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
  };
  const std::vector<uint8_t> old = {'o', 'l', 'd'};
  struct Case {
    const char* name;
    std::vector<uint8_t> d88;
    std::string err;
    bool musicWhole;
    bool loaderWhole = true;
    bool filesThere = false;  // LOADER, DRIVER and MUSIC hold "old" before the run
    int status = -1;          // -1: 1 when anything is said, else 0
  };
  // A later copy's flaw is a note: its file is not the one written.
  const auto asNote = [](std::string warning) {
    return warning.replace(0, sizeof "d88cut: warning:" - 1, "d88cut: note:");
  };
  const Case cases[] = {
      {"a track absent", buildGameDisks({damaged}),
       incomplete("MUSIC", 0, 27392, 56540, absent, "the track is absent" + bad(5, 56)) +
           kAnotherCopyHelps,
       false},
      {"a short sector", shortSector,
       incomplete("MUSIC", 0, 2816, 56540, "25 (C 12, H 1, R 2)",
                  "the sector holds only 100 bytes" + bad(4, 56)) +
           kAnotherCopyHelps,
       false},
      {"a damaged copy after a whole one", buildGameDisks({whole, damaged}),
       asNote(incomplete("MUSIC", 1, 27392, 56540, absent,
                         "the track is absent" + bad(5, 56) + kAssembledLater)),
       true, true, false, 0},
      {"a damaged LOADER after two whole ones",
       buildGameDisks({whole, whole, {"NO LOADER", 0, true, {{1, 1}}, systemDiskTracks()}}),
       asNote(incomplete("LOADER", 2, 0, 16384, "1 (C 0, H 1, R 1)",
                         "no such sector on the track" + bad(1, 16) + kAssembledLater)),
       true, true, false, 0},
      {"a whole copy after a damaged one", buildGameDisks({damaged, whole}),
       incomplete("MUSIC", 0, 27392, 56540, absent, "the track is absent" + bad(5, 56)), true, true,
       false, 0},
      {"a damaged copy after an earlier run's", buildGameDisks({damaged}),
       incomplete("MUSIC", 0, 27392, 56540, absent, "the track is absent" + bad(5, 56) + there) +
           kAnotherCopyHelps,
       false, true, true},
      {"a whole copy after an earlier run's", buildGameDisks({whole}), "", true, true, true},
      {"sectors recorded with errors", badStatus,
       badLoader + "\n" + badDriver + "\n" + kAnotherCopyHelps, true},
      {"a copy with errors after a whole one", concat(buildGameDisks({whole}), badStatus),
       asNote(badLoaderAt1) + kAssembledLater + "\n" + asNote(badDriverAt1) + kAssembledLater +
           "\n",
       true, true, false, 0},
      {"sectors recorded with errors, files there", badStatus,
       badLoader + there + "\n" + badDriver + there + "\n" + kAnotherCopyHelps, true, false, true},
  };
  for (const Case& c : cases) {
    removeOutputs();
    for (const char* name : {"LOADER", "DRIVER", "MUSIC"}) {
      if (c.filesThere) {
        ASSERT_TRUE(writeBytes(work_.file(name), old));
      }
    }
    const ProgramResult r = run(c.d88);
    EXPECT_EQ(r.status, c.status >= 0 ? c.status : c.err.empty() ? 0 : 1) << c.name;
    EXPECT_EQ(r.err, textLines(c.err)) << c.name;
    EXPECT_EQ(output("MUSIC") == kMusic, c.musicWhole) << c.name;
    if (!c.musicWhole) {
      EXPECT_EQ(output("MUSIC").size(), c.filesThere ? 3u : 56540u) << c.name;
    }
    EXPECT_EQ(output("LOADER") == kLoader, c.loaderWhole) << c.name;
  }
}

TEST_F(ToolTest, ADirectoryInTheWayIsReportedAndTheRestIsCut) {
  ASSERT_TRUE(std::filesystem::create_directory(work_.file("DRIVER")));
  const ProgramResult r = run(buildSampleSet());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.rfind(textLines(kSystemFiles), 0), 0u);
#ifdef _WIN32
  const int reason = EACCES;
#else
  const int reason = EISDIR;
#endif
  EXPECT_EQ(r.err, textLines("d88cut: error: cannot write DRIVER: " +
                             std::string(std::strerror(reason)) + "\n"));
  EXPECT_EQ(output("LOADER"), kLoader);
  EXPECT_EQ(output("MUSIC2"), kMusic2);
  EXPECT_EQ(work_.entries(), (std::vector<std::string>{"DRIVER", "LOADER", "MUSIC", "MUSIC2"}));
}

// A disk set kept as one D88 file per disk: each file looked at in turn,
// headed by its path, a damaged later copy never over a complete earlier one.
TEST_F(ToolTest, SeveralFilesAreCutInTurn) {
  std::vector<uint8_t> noTrack30 = buildGameDisks({{"DAMAGED", 0, true, {{30, 1}}}});
  const std::vector<std::vector<uint8_t>> disks = {
      buildGameDisks({{"SYSTEM DISK", 0, true}}), buildGameDisks({{"SCENARIO DISK 4", 1, false}}),
      noTrack30, buildGameDisks({{"OTHER", 9, false}})};
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < disks.size(); ++i) {
    paths.push_back(input_.file("disk" + std::to_string(i) + ".d88"));
    ASSERT_TRUE(writeBytes(paths.back(), disks[i]));
  }
  const std::string missing = input_.file("missing.d88");
  // A later copy's flaw is a note: the whole copy before it stays.
  const std::string damagedMusic =
      "d88cut: note: MUSIC (" + paths[2] +
      ", image 0) is incomplete: 27392 of its 56540 "
      "bytes were found on the disk; the run stops at track 30 (C 15, H 0, R 1): no such sector on "
      "the track" +
      bad(1, 56) + kAssembledLater + "\n";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  };
  const Case cases[] = {
      {{paths[0], paths[1]},
       0,
       paths[0] + ":\n" + kSystemFiles + "\n" + paths[1] + ":\n" + scenario('4') +
           "cutting ... MUSIC2\n",
       ""},
      {{paths[1], missing, paths[0]},
       1,
       paths[1] + ":\n" + scenario('4') + "cutting ... MUSIC2\n\n" + missing + ":\n\n" + paths[0] +
           ":\n" + kSystemFiles,
       kOpenFailure + "d88cut: cannot open " + missing + ": " + std::strerror(ENOENT) + "\n"},
      {{paths[0], paths[2], paths[3]},
       0,
       paths[0] + ":\n" + kSystemFiles + "\n" + paths[2] + ":\n" + kSystemFiles + "\n" + paths[3] +
           ":\n",
       damagedMusic + "d88cut: note: " + paths[3] +
           " holds no disk of the game (disk images "
           "looked at: 1)\n" +
           "d88cut: note: d88info " + paths[3] + " says why\n" +
           "d88cut: note: MUSIC2 was not cut: no scenario disk 4 among the files\n"},
  };
  for (const Case& c : cases) {
    const ProgramResult r = runProgram(D88CUT_PATH, c.args, work_.path());
    EXPECT_EQ(r.status, c.status) << c.args.size();
    EXPECT_EQ(r.out, textLines(c.out));
    EXPECT_EQ(r.err, textLines(c.err));
    EXPECT_EQ(output("MUSIC"), kMusic);
  }
  EXPECT_EQ(output("MUSIC2"), kMusic2);
}

// -d puts the files into a folder (made when missing), -n says what a run
// would write and writes nothing; both before or after the files. A run with
// options that leaves a file out says which and why.
TEST_F(ToolTest, OutputFolderAndDryRun) {
  ASSERT_TRUE(writeBytes(inputPath(), buildSampleSet()));
  const std::string scenario2 = input_.file("scenario2.d88");
  ASSERT_TRUE(writeBytes(scenario2, buildGameDisks({{"SCENARIO DISK 2", 2, false}})));
  const std::vector<std::string> four = {"DRIVER", "LOADER", "MUSIC", "MUSIC2"};
  std::string wouldWrite;
  for (const char* name : {"LOADER", "DRIVER", "MUSIC", "MUSIC2"}) {
    if (name == std::string("MUSIC2")) wouldWrite += scenario('4');
    wouldWrite += std::string("would write dry/") + name + " (complete)\n";
  }
  const std::string notCut =
      "d88cut: note: LOADER was not cut: no system disk among the files\n"
      "d88cut: note: DRIVER was not cut: no system disk among the files\n"
      "d88cut: note: MUSIC was not cut: no system disk among the files\n"
      "d88cut: note: MUSIC2 was not cut: no scenario disk 4 among the files\n";
  struct Case {
    std::vector<std::string> args;
    std::string folder;  // where the four files land; "" for none
    std::string err;
    std::string out = "";  // when not empty, what stdout holds after the recognition lines
  };
  const Case cases[] = {
      {{"-d", "out/sub", inputPath()}, "out/sub", ""},
      {{inputPath(), "--output-dir=o2"}, "o2", ""},
      {{"--output-dir", "dry", inputPath(), "-n"}, "", "", wouldWrite},
      {{"-d", "plain", inputPath()},
       "",
       "d88cut: cannot write into plain: " + std::string(std::strerror(ENOTDIR)) + "\n"},
      {{"-n", scenario2}, "", notCut},
  };
  for (const Case& c : cases) {
    ScopedTempDir folder;
    ASSERT_TRUE(writeBytes(folder.file("plain"), {'x'}));
    const ProgramResult r = runProgram(D88CUT_PATH, c.args, folder.path());
    EXPECT_EQ(r.err, textLines(c.err)) << c.args[1];
    EXPECT_EQ(r.status, c.err.empty() ? 0 : c.err == notCut ? 0 : 1) << c.args[1];
    if (!c.folder.empty()) {
      EXPECT_EQ(readBytes(folder.file(c.folder + "/MUSIC")), kMusic);
      EXPECT_EQ(ScopedTempDir::entriesOf(folder.file(c.folder)), four);
      EXPECT_EQ(folder.entries().size(), 2u);  // plain and the folder
    } else {
      EXPECT_EQ(folder.entries(), std::vector<std::string>{"plain"});
    }
    if (!c.out.empty()) {
      EXPECT_NE(r.out.find(textLines(c.out)), std::string::npos) << r.out;
    }
  }
#ifndef _WIN32
  // A dry run tries the current folder as the run would write into it: here
  // one removed while the run starts in it.
  ScopedTempDir parent;
  const std::string gone = parent.file("gone");
  ASSERT_TRUE(std::filesystem::create_directory(gone));
  const ProgramResult inGone =
      runProgram(D88CUT_PATH, {"-n", inputPath()}, gone, [&gone] { rmdir(gone.c_str()); });
  EXPECT_EQ(inGone.status, 1);
  EXPECT_EQ(inGone.err,
            "d88cut: cannot write into .: " + std::string(std::strerror(ENOENT)) + "\n");
  EXPECT_EQ(inGone.out, "");
#endif
  // Two copies missing the same sector: the first copy's cut is what would
  // be written, and the end says no copy gives MUSIC whole.
  const std::string twice = input_.file("twice.d88");
  ASSERT_TRUE(
      writeBytes(twice, buildGameDisks({{"A", 0, true, {{30, 1}}}, {"B", 0, true, {{30, 1}}}})));
  const ProgramResult dry = lfLines(runProgram(D88CUT_PATH, {"-n", twice}, work_.path()));
  EXPECT_EQ(dry.status, 1);
  EXPECT_NE(dry.out.find("would write MUSIC (incomplete)\n"), std::string::npos) << dry.out;
  // One sector recorded with an error: the file would be damaged.
  std::vector<uint8_t> oneBad = buildGameDisks({{"ONE BAD", 0, true}});
  oneBad[headerOf(oneBad, 0, 1, 1) + 8] = 0xB0;
  ASSERT_TRUE(writeBytes(twice, oneBad));
  const std::string damaged = lfLines(runProgram(D88CUT_PATH, {"-n", twice}, work_.path())).out;
  EXPECT_NE(damaged.find("would write LOADER (damaged)\n"), std::string::npos) << damaged;
  EXPECT_NE(dry.err.find("d88cut: warning: MUSIC is whole in none of its 2 copies: track 30 (C "
                         "15, H 0, R 1) is missing or damaged in each\n"),
            std::string::npos)
      << dry.err;
  EXPECT_TRUE(work_.entries().empty());
}

// A D88 file named like an output is never written over, by whatever name
// the run reaches it; the other files are cut. With -d the files go aside.
TEST_F(ToolTest, AnInputNamedLikeAnOutputIsKept) {
  const std::vector<uint8_t> sample = buildSampleSet();
  const std::vector<uint8_t> scenario4 = buildGameDisks({{"SCENARIO DISK 4", 1, false}});
  const std::string replaces = " would replace the D88 file being read; use -d DIR\n";
  const auto notWritten = [](const std::string& name) {
    return "d88cut: note: " + name + " is not complete: it could not be written\n";
  };
  struct Case {
    std::vector<std::string> args;
    const char* input;  // the D88 file of an output's name
    std::string err;
  };
  const Case cases[] = {
      {{"LOADER"}, "LOADER", "d88cut: error: LOADER" + replaces},
      {{"./MUSIC2", "-n"}, "MUSIC2", "d88cut: error: MUSIC2" + replaces + notWritten("MUSIC2")},
      {{"sys.d88", "MUSIC"}, "MUSIC", "d88cut: error: MUSIC" + replaces + notWritten("MUSIC")},
      {{"-d", "out", "LOADER"}, "LOADER", ""},
#ifndef _WIN32
      {{"-"}, "LOADER", "d88cut: error: LOADER" + replaces},  // d88cut - < LOADER
#endif
  };
  for (const Case& c : cases) {
    ScopedTempDir dir;
    ASSERT_TRUE(writeBytes(dir.file("sys.d88"), sample));
    const std::vector<uint8_t>& input =
        c.args.size() == 2 && c.args[0] == "sys.d88" ? scenario4 : sample;
    ASSERT_TRUE(writeBytes(dir.file(c.input), input));
    const std::string redirected = dir.file(c.input);
    const auto fromInput = [&redirected] { std::freopen(redirected.c_str(), "rb", stdin); };
    const ProgramResult r = runProgram(D88CUT_PATH, c.args, dir.path(),
                                       c.args[0] == "-" ? fromInput : std::function<void()>{});
    EXPECT_EQ(r.status, c.err.empty() ? 0 : 1) << c.input;
    EXPECT_EQ(r.err, textLines(c.err)) << c.input;
    EXPECT_EQ(readBytes(dir.file(c.input)), input) << c.input;
    if (c.args[0] == "LOADER") {
      EXPECT_EQ(readBytes(dir.file("MUSIC")), kMusic);
    }
  }
}

// A system disk whose dump ends inside MUSIC, before the signature's track:
// named so by both programs, nothing cut, status 1; d88info says which files
// lie whole in it.
TEST_F(ToolTest, ASystemDiskCutShortIsNamedSo) {
  std::vector<uint8_t> d88 = buildGameDisks({{"SHORT", 0, true}});
  d88.resize(loadLe32(d88.data() + 0x20 + 4 * 30));  // ends where track 30 begins
  const ProgramResult r = run(d88);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, textLines("d88cut: warning: " + inputPath() +
                             " (image 0) is probably the system disk, cut short before its "
                             "signature (track 79); nothing was cut from it\n"));
  EXPECT_TRUE(work_.entries().empty());
  const ProgramResult info = lfLines(runProgram(D88INFO_PATH, {inputPath()}, work_.path()));
  EXPECT_NE(info.out.find("\n  probably the system disk, cut short before its signature (track "
                          "79)\n    LOADER: 16384 of 16384 bytes found\n    DRIVER: 7552 of 7552 "
                          "bytes found\n    MUSIC: 27392 of 56540 bytes found; "),
            std::string::npos)
      << info.out;
}

// The closing note gives each file's own reason, from the last cut of it.
TEST_F(ToolTest, TheClosingNoteSaysWhy) {
  const auto disk = [this](const std::string& name, const std::vector<GameDisk>& disks) {
    EXPECT_TRUE(writeBytes(input_.file(name), buildGameDisks(disks)));
    return input_.file(name);
  };
  std::vector<uint8_t> bad = buildGameDisks({{"BAD", 0, true}});
  bad[headerOf(bad, 0, 1, 1) + 8] = 0xB0;
  ASSERT_TRUE(writeBytes(input_.file("bad.d88"), bad));
  const std::string note = "d88cut: note: ";
  const std::string noSystem = note + "LOADER was not cut: no system disk among the files\n" +
                               note + "DRIVER was not cut: no system disk among the files\n" +
                               note + "MUSIC was not cut: no system disk among the files\n";
  const std::string noMusic2 = note + "MUSIC2 was not cut: no scenario disk 4 among the files\n";
  struct Case {
    std::vector<std::string> args;
    std::string notes;  // the closing note: the last lines of standard error
  };
  const Case cases[] = {
      {{"-n", disk("scenario3.d88", {{"SCENARIO DISK 3", 3, false}})}, noSystem + noMusic2},
      {{"-n", disk("twice.d88", {{"A", 0, true, {{30, 1}}}, {"B", 0, true, {{30, 1}}}})},
       note + "MUSIC is not complete: sectors of it are missing\n" + noMusic2 + kAnotherCopyHelps},
      {{"-n", disk("gaps.d88", {{"GAPS", 0, true, {{30, 1}}}})},
       note + "MUSIC is not complete: sectors of it are missing\n" + noMusic2 + kAnotherCopyHelps},
      {{"-n", input_.file("bad.d88")},
       note + "LOADER is not complete: sectors of it are damaged\n" + noMusic2 + kAnotherCopyHelps},
  };
  for (const Case& c : cases) {
    const ProgramResult r = runProgram(D88CUT_PATH, c.args, work_.path());
    EXPECT_EQ(r.status, c.args[1].find("scenario3") != std::string::npos ? 0 : 1) << c.args[1];
    const std::string err = lfLines(r).err;
    ASSERT_GE(err.size(), c.notes.size()) << err;
    EXPECT_EQ(err.substr(err.size() - c.notes.size()), c.notes) << err;
  }
  // A file that could not be written.
  disk("sys.d88", {{"SYS", 0, true}});
  ASSERT_TRUE(std::filesystem::create_directories(work_.file("out/DRIVER")));
  const ProgramResult r =
      lfLines(runProgram(D88CUT_PATH, {"-d", "out", input_.file("sys.d88")}, work_.path()));
  EXPECT_NE(r.err.find(note + "DRIVER is not complete: it could not be written\n"),
            std::string::npos)
      << r.err;
}

TEST_F(ToolTest, AnEarlierFileIsReplacedWhole) {
  ASSERT_TRUE(writeBytes(work_.file("LOADER"), std::vector<uint8_t>(20000, 0xAA)));
  const ProgramResult r = run(buildSampleSet());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(output("LOADER"), kLoader);
  EXPECT_EQ(work_.entries(), (std::vector<std::string>{"DRIVER", "LOADER", "MUSIC", "MUSIC2"}));
}

// Bytes that a text-mode reader would stop at (0x1A) or fold (CR LF) early in
// the image, in the header and in the boot sector, change nothing.
TEST_F(ToolTest, ControlZAndCrLfInTheImageAreJustBytes) {
  std::vector<uint8_t> d88 =
      buildGameDisks({{"\x1A\r\nCTRL", 1, false, {}, {}}, {"SYS", 0, true, {}, {}}});
  const uint8_t awkward[] = {0x1A, '\r', '\n', '\r', '\n', 0x1A};
  std::memcpy(d88.data() + 0x10, awkward, sizeof awkward);      // the uninterpreted header bytes
  std::memcpy(d88.data() + 688 + 16, awkward, sizeof awkward);  // the boot sector's data
  const ProgramResult r = run(d88);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, textLines(scenario('4') + "cutting ... MUSIC2\n" + kSystemFiles));
  EXPECT_EQ(output("MUSIC2"), kMusic2);
  EXPECT_EQ(output("MUSIC"), kMusic);
}

#ifndef _WIN32
TEST_F(ToolTest, AFullDiskKeepsThePreviousFile) {
  ASSERT_TRUE(writeBytes(work_.file("MUSIC"), {'o', 'l', 'd'}));
  const ProgramResult r = run(buildSampleSet(), {}, [] {  // d88cut itself ignores SIGXFSZ
    const rlimit limit = {20000, 20000};  // LOADER, DRIVER and MUSIC2 fit; MUSIC does not
    setrlimit(RLIMIT_FSIZE, &limit);
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "d88cut: error: cannot write MUSIC: " + std::string(std::strerror(EFBIG)) + "\n");
  EXPECT_EQ(output("MUSIC"), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(output("LOADER"), kLoader);
  EXPECT_EQ(output("MUSIC2"), kMusic2);
  EXPECT_EQ(work_.entries(), (std::vector<std::string>{"DRIVER", "LOADER", "MUSIC", "MUSIC2"}));
}

TEST_F(ToolTest, ASymbolicLinkIsReplacedNotWrittenThrough) {
  ScopedTempDir elsewhere;
  ASSERT_TRUE(writeBytes(elsewhere.file("target"), {'k', 'e', 'e', 'p'}));
  ASSERT_EQ(symlink(elsewhere.file("target").c_str(), work_.file("MUSIC2").c_str()), 0);
  const ProgramResult r = run(buildSampleSet());
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(
      std::filesystem::is_regular_file(std::filesystem::symlink_status(work_.file("MUSIC2"))));
  EXPECT_EQ(output("MUSIC2"), kMusic2);
  EXPECT_EQ(readBytes(elsewhere.file("target")), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
}
TEST_F(ToolTest, ASignalWhileWritingRemovesTheTemporaryFile) {
  ASSERT_TRUE(writeBytes(inputPath(), buildSampleSet()));
  // A signal ignored when the tool started (nohup) stays ignored: the run goes on.
  struct Case {
    int signal;
    bool ignoredAtStart;
  };
  for (const Case& c :
       {Case{SIGINT, false}, Case{SIGTERM, false}, Case{SIGHUP, false}, Case{SIGHUP, true}}) {
    const int signal = c.signal;
    ScopedTempDir work;
    ASSERT_TRUE(writeBytes(work.file("MUSIC"), {'o', 'l', 'd'}));
    auto writingMusic = [&work] {
      for (const std::string& name : work.entries()) {
        if (name.rfind("MUSIC.", 0) == 0) return true;
      }
      return false;
    };
    const ProgramResult r =
        runAndSignal(D88CUT_PATH, {inputPath()}, work.path(), signal, writingMusic,
                     [&c] { ::signal(c.signal, c.ignoredAtStart ? SIG_IGN : SIG_DFL); });
    if (c.ignoredAtStart) {
      EXPECT_EQ(r.signal, 0);
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(work.entries(), (std::vector<std::string>{"DRIVER", "LOADER", "MUSIC", "MUSIC2"}));
      continue;
    }
    EXPECT_EQ(r.signal, signal);
    EXPECT_EQ(work.entries(), (std::vector<std::string>{"DRIVER", "LOADER", "MUSIC"})) << signal;
    EXPECT_EQ(readBytes(work.file("MUSIC")), (std::vector<uint8_t>{'o', 'l', 'd'})) << signal;
  }
}

TEST_F(ToolTest, ALostStandardOutputIsReported) {
  const ProgramResult r = run(buildSampleSet(), {}, [] { dup2(open("/dev/full", O_WRONLY), 1); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "d88cut: error: cannot write standard output: " +
                       std::string(std::strerror(ENOSPC)) + "\n");
  EXPECT_EQ(output("MUSIC2"), kMusic2);
}

TEST_F(ToolTest, ATemporaryNameInUseIsPassedOverAndAHundredAreReported) {
  ASSERT_TRUE(writeBytes(inputPath(), buildSampleSet()));
  for (int inUse : {99, 100}) {
    ScopedTempDir work;
    // In the child, with d88cut's own process id: LOADER's first names taken.
    const ProgramResult r = runProgram(D88CUT_PATH, {inputPath()}, work.path(), [inUse] {
      for (int n = 0; n < inUse; ++n) {
        const std::string name =
            "LOADER." + std::to_string(getpid()) + "-" + std::to_string(n) + ".tmp";
        close(open(name.c_str(), O_WRONLY | O_CREAT, 0644));
      }
    });
    if (inUse == 99) {
      EXPECT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(readBytes(work.file("LOADER")), kLoader);
    } else {
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.err,
                "d88cut: error: cannot write LOADER: " + std::string(std::strerror(EEXIST)) + "\n");
      EXPECT_FALSE(std::filesystem::exists(work.file("LOADER")));
    }
    EXPECT_EQ(work.entries().size(), static_cast<std::size_t>(inUse) + (inUse == 99 ? 4 : 3));
  }
}

TEST_F(ToolTest, ReportsFollowTheirProgressLinesInOneLog) {
  ASSERT_TRUE(std::filesystem::create_directory(work_.file("LOADER")));
  const ProgramResult r =
      run(buildGameDisks({{"GAPS", 0, true, {{6, 3}, {30, 1}}}}), {}, [] { dup2(1, 2); });
  const std::string where = "no such sector on the track";
  EXPECT_EQ(r.out,
            kSystem + "cutting ... LOADER\nd88cut: error: cannot write LOADER: " +
                std::strerror(EISDIR) + "\ncutting ... DRIVER\n" +
                incomplete("DRIVER", 0, 5120, 7552, "6 (C 3, H 0, R 3)", where + bad(1, 8)) +
                "cutting ... MUSIC\n" +
                incomplete("MUSIC", 0, 27392, 56540, "30 (C 15, H 0, R 1)", where + bad(1, 56)) +
                kAnotherCopyHelps);
}
#endif

}  // namespace
