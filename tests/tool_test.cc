// End-to-end runs of the built d88cut in fresh directories.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

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
std::string scenario(char digit) { return std::string("SCENARIO DISK ") + digit + " " + kRecognised; }
const std::string kSystemFiles =
    kSystem + "cutting ... LOADER\ncutting ... DRIVER\ncutting ... MUSIC\n";

const std::vector<uint8_t> kLoader = expectedFile(1, 1, 0, 16384);
const std::vector<uint8_t> kDriver = expectedFile(5, 3, 0, 7552);
const std::vector<uint8_t> kMusic = expectedFile(24, 4, 256, 56540);
const std::vector<uint8_t> kMusic2 = expectedFile(72, 4, 385, 11970);

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

  ScopedTempDir input_;
  ScopedTempDir work_;
};


TEST_F(ToolTest, WrongCommandLinesPrintUsage) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, std::vector<std::string>{"a", "b", "c"}}) {
    const ProgramResult r = runProgram(D88CUT_PATH, args, work_.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, textLines("Usage: " + programPath(D88CUT_PATH) + " [d88file] (DiskNo.)\n"));
  }
  EXPECT_TRUE(work_.entries().empty());
}

TEST_F(ToolTest, UnopenableFilesPrintTheOpenFailure) {
  for (const std::string& path : {work_.file("missing.d88"), work_.path()}) {
    const ProgramResult r = runProgram(D88CUT_PATH, {path}, work_.path());
    EXPECT_EQ(r.status, 1) << path;
    EXPECT_EQ(r.out, "") << path;
    EXPECT_EQ(r.err, textLines(kOpenFailure)) << path;
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
      {"any order, scenario number not id", buildGameDisks({{"", 4, false, {}}, {"", 1, false, {}},
                                                   {"", 3, false, {}}, {"", 2, false, {}}}),
       scenario('1') + scenario('4') + "cutting ... MUSIC2\n" + scenario('3') + scenario('2')},
      {"id 0 without the signature", buildGameDisks({{"", 0, false, {}}}), ""},
      {"id 5 and 255", buildGameDisks({{"", 5, false, {}}, {"", 255, true, {}}}), ""},
      {"boot sector holding the signature", bootOnly, kSystemFiles},
      {"128-byte boot sector", halfBoot, kSystemFiles},
      {"disk size 0", sizeZero, ""},
      {"65 images", buildGameDisks(many), [] {
         std::string s;
         for (int i = 0; i < 64; ++i) s += scenario('2');
         return s;
       }()},
      {"no image", std::vector<uint8_t>(687, 0), ""},
  };
  for (const Case& c : cases) {
    const ProgramResult r = run(c.d88);
    EXPECT_EQ(r.out, textLines(c.out)) << c.name;
    EXPECT_EQ(r.status, 0) << c.name << "\n" << r.err;
  }
}

TEST_F(ToolTest, StaleBufferFillsWhatARunDidNotReach) {
  // LOADER's first sector missing: its first 1024 bytes are the signature
  // sector read for recognition, the rest zero bytes.
  ProgramResult r = run(buildGameDisks({{"NO LOADER", 0, true, {{1, 1}}}}));
  EXPECT_EQ(r.out, textLines(kSystemFiles));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, textLines("d88cut: warning: LOADER is incomplete: 0 of the 16384 bytes it "
                             "needs were found on the disk\n"));
  std::vector<uint8_t> loader = output("LOADER");
  ASSERT_EQ(loader.size(), 16384u);
  std::vector<uint8_t> signatureSector = expectedRun(79, 5, 1024);
  std::memcpy(signatureSector.data(), "QUARVENT        ", 16);
  EXPECT_TRUE(std::equal(signatureSector.begin(), signatureSector.end(), loader.begin()));
  EXPECT_TRUE(std::all_of(loader.begin() + 1024, loader.end(), [](uint8_t b) { return b == 0; }));

  // DRIVER missing track 6 R3: from byte 5120 on it holds LOADER's bytes.
  r = run(buildGameDisks({{"NO DRIVER END", 0, true, {{6, 3}}}}));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("DRIVER is incomplete: 5120 of the 7552 bytes"), std::string::npos);
  const std::vector<uint8_t> driver = output("DRIVER");
  ASSERT_EQ(driver.size(), 7552u);
  EXPECT_TRUE(std::equal(driver.begin(), driver.begin() + 5120, kDriver.begin()));
  EXPECT_TRUE(std::equal(driver.begin() + 5120, driver.end(), kLoader.begin() + 5120));
  EXPECT_EQ(output("MUSIC"), kMusic);
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
  std::vector<uint8_t> d88 = buildGameDisks({{"\x1A\r\nCTRL", 1, false, {}, {}}, {"SYS", 0, true, {}, {}}});
  const uint8_t awkward[] = {0x1A, '\r', '\n', '\r', '\n', 0x1A};
  std::memcpy(d88.data() + 0x10, awkward, sizeof awkward);       // the uninterpreted header bytes
  std::memcpy(d88.data() + 688 + 16, awkward, sizeof awkward);   // the boot sector's data
  const ProgramResult r = run(d88);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, textLines(scenario('4') + "cutting ... MUSIC2\n" + kSystemFiles));
  EXPECT_EQ(output("MUSIC2"), kMusic2);
  EXPECT_EQ(output("MUSIC"), kMusic);
}

#ifndef _WIN32
TEST_F(ToolTest, AFullDiskKeepsThePreviousFile) {
  ASSERT_TRUE(writeBytes(work_.file("MUSIC"), {'o', 'l', 'd'}));
  const ProgramResult r = run(buildSampleSet(), {}, [] {
    const rlimit limit = {20000, 20000};  // LOADER, DRIVER and MUSIC2 fit; MUSIC does not
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, SIG_IGN);
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "d88cut: error: cannot write MUSIC: " + std::string(std::strerror(EFBIG)) +
                       "\n");
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
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(work_.file("MUSIC2"))));
  EXPECT_EQ(output("MUSIC2"), kMusic2);
  EXPECT_EQ(readBytes(elsewhere.file("target")), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
}
#endif

}  // namespace
