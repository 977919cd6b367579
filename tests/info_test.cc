// End-to-end runs of the built d88info.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "testing/d88_builder.h"
#include "testing/game_disks.h"
#include "testing/test_env.h"

namespace {

class InfoTest : public ::testing::Test {
 protected:
  ProgramResult run(const std::vector<uint8_t>& d88, std::vector<std::string> options = {}) {
    EXPECT_TRUE(writeBytes(input(), d88));
    options.push_back(input());
    return lfLines(runProgram(D88INFO_PATH, options, dir_.path()));
  }
  std::string input() const { return dir_.file("in.d88"); }
  ScopedTempDir dir_;
};


TEST_F(InfoTest, ShowsEveryImageAndWhatD88cutWouldMakeOfIt) {
  const std::vector<uint8_t> d88 = buildSampleSet();
  const int size = static_cast<int>(d88.size() / 5);  // the five disks are the same size
  auto header = [size](int i, const std::string& name) {
    char offset[16];
    std::snprintf(offset, sizeof offset, "0x%08X", static_cast<unsigned>(i * size));
    return "image " + std::to_string(i) + "  offset " + offset + "  size " + std::to_string(size) +
           "  media 0x00 (2D)  tracks 80  name \"" + name + "\"\n";
  };
  const ProgramResult r = run(d88);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            header(0, "SYSTEM DISK") +
                "  system disk: LOADER 16384/16384, DRIVER 7552/7552, MUSIC 56796/56796 bytes "
                "found\n" +
                header(1, "SCENARIO DISK 4") + "  scenario disk 4: MUSIC2 12355/12355 bytes found\n" +
                header(2, "SCENARIO DISK 2") + "  scenario disk 2\n" + header(3, "SCENARIO DISK 3") +
                "  scenario disk 3\n" + header(4, "SCENARIO DISK 1") + "  scenario disk 1\n");
  EXPECT_EQ(dir_.entries(), std::vector<std::string>{"in.d88"});  // nothing written
}

TEST_F(InfoTest, CountsTheBytesOfARunThatStopsEarly) {
  const ProgramResult r = run(buildGameDisks({{"GAPS", 0, true, {{6, 3}, {30, 1}}}, {"X", 9, false, {}}}));
  EXPECT_NE(r.out.find("  system disk: LOADER 16384/16384, DRIVER 5120/7552, MUSIC 27648/56796 "
                       "bytes found\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("  not a disk of the game\n"), std::string::npos) << r.out;
}

TEST_F(InfoTest, HeaderFieldsOfOddImages) {
  std::vector<uint8_t> d88 = D88Builder()
                                 .image("\x83\x65\x01X\x7F", 0x20)
                                 .sector(3, 1, 1, 2, 0, std::vector<uint8_t>(128, 0))
                                 .image("M", 0x55)
                                 .build();
  storeLe32(d88, 0x20 + 4 * 9, 0x7FFFFFFF);  // above the disk size: not usable
  const ProgramResult r = run(d88);
  EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1),
            "image 0  offset 0x00000000  size 832  media 0x20 (2HD)  tracks 1  name "
            "\"\x83\x65\\x01X\\x7F\"\n");
  EXPECT_NE(r.out.find("image 1  offset 0x00000340  size 688  media 0x55 (unknown)  tracks 0  "
                       "name \"M\"\n"),
            std::string::npos)
      << r.out;

#ifndef _WIN32
  const ProgramResult terminal = runOnTerminal(D88INFO_PATH, {input()}, dir_.path(), [] {
    unsetenv("LC_ALL");
    setenv("LANG", "C.UTF-8", 1);
  });
  EXPECT_NE(terminal.out.find("name \"\u30C6\\x01X\\x7F\""), std::string::npos) << terminal.out;
#endif
}

TEST_F(InfoTest, SectorsListsIdsInTrackOrder) {
  D88Builder builder;
  builder.image("S");
  for (uint8_t r : {3, 1, 2}) builder.sector(5, 2, 1, r, 1, std::vector<uint8_t>(256, 0));
  builder.sector(0, 0, 0, 1, 1, std::vector<uint8_t>(256, 7));
  const ProgramResult r = run(builder.build(), {"--sectors"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("  not a disk of the game\n"
                       "  track 0  cylinder 0  head 0: 0/0/1/1\n"
                       "  track 5  cylinder 2  head 1: 2/1/3/1 2/1/1/1 2/1/2/1\n"),
            std::string::npos)
      << r.out;
}

TEST_F(InfoTest, CommandLineErrors) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  };
  const std::string usage = "usage: d88info [--sectors] FILE.d88\n";
  const Case cases[] = {
      {{}, 1, "", usage},
      {{"a.d88", "b.d88"}, 1, "", usage},
      {{"--sectors"}, 1, "", usage},
      {{"-x", "a.d88"}, 1, "", "d88info: unknown option: -x\n" + usage},
      {{dir_.file("none.d88")}, 1, "", "d88info: cannot open " + dir_.file("none.d88") + "\n"},
      {{dir_.path()}, 1, "", "d88info: cannot open " + dir_.path() + "\n"},
  };
  for (const Case& c : cases) {
    const ProgramResult r = lfLines(runProgram(D88INFO_PATH, c.args, dir_.path()));
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
  }
  const ProgramResult help = lfLines(runProgram(D88INFO_PATH, {"--help"}, dir_.path()));
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind(usage, 0), 0u);
}

}  // namespace
