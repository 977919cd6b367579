// SPDX-License-Identifier: MIT
// Messages on a terminal: UTF-8 where the locale says so, the Shift_JIS bytes
// everywhere else.
#include "platform/console.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "testing/d88_builder.h"
#include "testing/game_disks.h"
#include "testing/test_env.h"

namespace {

const std::string kSystemSjis =
    "SYSTEM DISK\x82\xF0\x94\x46\x8E\xAF\x82\xB5\x82\xDC\x82\xB5\x82\xBD.";
const std::string kScenario4Sjis =
    "SCENARIO DISK 4 \x82\xF0\x94\x46\x8E\xAF\x82\xB5\x82\xDC\x82\xB5\x82\xBD.";
const std::string kSystemUtf8 = "SYSTEM DISK\u3092\u8A8D\u8B58\u3057\u307E\u3057\u305F.";
const std::string kScenario4Utf8 = "SCENARIO DISK 4 \u3092\u8A8D\u8B58\u3057\u307E\u3057\u305F.";
const std::string kOpenFailureUtf8 =
    "\u30D5\u30A1\u30A4\u30EB\u3092\u30AA\u30FC\u30D7\u30F3\u3067\u304D\u307E\u305B\u3093.";

void useLocale(const char* lang, const char* all) {
  unsetenv("LC_ALL");
  unsetenv("LC_CTYPE");
  setenv("LANG", lang, 1);
  if (all != nullptr) setenv("LC_ALL", all, 1);
}

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(writeBytes(input(), buildSampleSet())); }
  std::string input() const { return work_.file("sample.d88"); }
  ScopedTempDir work_;
};

TEST_F(ConsoleTest, Utf8TerminalReadsJapanese) {
  // An installed locale, and UTF-8 locales this machine does not have, whose
  // names alone say how the terminal shows text.
  for (const char* lang : {"C.UTF-8", "xx_XX.UTF-8", "xx_XX.utf8"}) {
    const ProgramResult r =
        runOnTerminal(D88CUT_PATH, {input()}, work_.path(), [lang] { useLocale(lang, nullptr); });
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find(kSystemUtf8 + "\r\ncutting ... LOADER\r\n"), std::string::npos)
        << lang << r.out;
    EXPECT_NE(r.out.find(kScenario4Utf8 + "\r\n"), std::string::npos) << lang << r.out;
  }
  // d88info too: a disk named in Japanese.
  std::vector<uint8_t> named = buildSampleSet();
  std::copy_n("\x83\x65\x83\x58\x83\x67", 7, named.begin());  // テスト, NUL-terminated
  ASSERT_TRUE(writeBytes(work_.file("named.d88"), named));
  const ProgramResult info = runOnTerminal(D88INFO_PATH, {work_.file("named.d88")}, work_.path(),
                                           [] { useLocale("C.UTF-8", nullptr); });
  EXPECT_NE(info.out.find("name \"\u30C6\u30B9\u30C8\"\r\n"), std::string::npos) << info.out;

  const ProgramResult failed = runOnTerminal(D88CUT_PATH, {work_.file("none")}, work_.path(),
                                             [] { useLocale("C.UTF-8", nullptr); });
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.out, kOpenFailureUtf8 + "\r\nd88cut: cannot open " + work_.file("none") +
                            ": No such file or directory\r\n");
}

TEST_F(ConsoleTest, OtherLocalesAndPipesGetTheShiftJisBytes) {
  // {LANG, LC_ALL}: LC_ALL decides over LANG, installed or not.
  const char* const locales[][2] = {
      {"C.UTF-8", "C"}, {"C", nullptr}, {"xx_XX.UTF-8", "xx_XX.EUC-JP"}, {"xx_XX", nullptr}};
  for (const auto& locale : locales) {
    const ProgramResult terminal = runOnTerminal(D88CUT_PATH, {input()}, work_.path(),
                                                 [&locale] { useLocale(locale[0], locale[1]); });
    EXPECT_NE(terminal.out.find(kSystemSjis + "\r\n"), std::string::npos) << locale[0];
    EXPECT_NE(terminal.out.find(kScenario4Sjis + "\r\n"), std::string::npos) << locale[0];
  }

  for (const char* lang : {"C.UTF-8", "C"}) {
    const ProgramResult piped =
        runProgram(D88CUT_PATH, {input()}, work_.path(), [lang] { useLocale(lang, nullptr); });
    EXPECT_EQ(piped.out.substr(0, kSystemSjis.size() + 1), kSystemSjis + "\n") << lang;
    EXPECT_NE(piped.out.find(kScenario4Sjis + "\n"), std::string::npos) << lang;
  }
}

// Through a pipe every byte of a log is Shift_JIS: a path named in UTF-8 too,
// a character Shift_JIS lacks as an escape; a path that is not UTF-8 keeps
// its bytes. On a UTF-8 terminal the path is written as it is.
TEST_F(ConsoleTest, PathsAreWrittenInTheStreamsEncoding) {
  const std::string game = work_.file("\u30B2\u30FC\u30E0\u00E9.d88");  // ゲームé.d88
  const std::string raw = work_.file("\x83\x51.d88");                   // ゲ in Shift_JIS
  ASSERT_TRUE(writeBytes(game, buildSampleSet()));
  ASSERT_TRUE(writeBytes(raw, buildSampleSet()));
  const ProgramResult piped =
      runProgram(D88CUT_PATH, {game, raw}, work_.path(), [] { useLocale("C.UTF-8", nullptr); });
  EXPECT_EQ(piped.out.rfind(work_.path() + "/\x83\x51\x81\x5B\x83\x80\\u{00E9}.d88:\n", 0), 0u)
      << piped.out;
  EXPECT_NE(piped.out.find("\n" + raw + ":\n"), std::string::npos);
  const ProgramResult terminal =
      runOnTerminal(D88CUT_PATH, {game, raw}, work_.path(), [] { useLocale("C.UTF-8", nullptr); });
  EXPECT_EQ(terminal.out.rfind(game + ":\r\n", 0), 0u) << terminal.out;
  // A C1 control (U+009B is CSI) is escaped on both, never sent raw.
  const std::string csi = work_.file("csi\u009B31m.d88");
  ASSERT_TRUE(writeBytes(csi, buildSampleSet()));
  const std::string shown = work_.path() + "/csi\\u{009B}31m.d88:";
  for (const bool onTerminal : {true, false}) {
    const auto utf8 = [] { useLocale("C.UTF-8", nullptr); };
    const ProgramResult r = onTerminal ? runOnTerminal(D88CUT_PATH, {csi, raw}, work_.path(), utf8)
                                       : runProgram(D88CUT_PATH, {csi, raw}, work_.path(), utf8);
    EXPECT_EQ(r.out.rfind(shown, 0), 0u) << onTerminal << r.out;
  }
}

// Only the tool's own text is converted: a program name already in the
// terminal's encoding is written as it is.
TEST_F(ConsoleTest, ArgumentsAreNotConverted) {
  const std::string link = work_.file("\u30C4\u30FC\u30EB");  // a Japanese file name in UTF-8
  ASSERT_EQ(symlink(D88CUT_PATH, link.c_str()), 0);
  const ProgramResult r =
      runOnTerminal(link, {}, work_.path(), [] { useLocale("C.UTF-8", nullptr); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "Usage: " + link + " [d88file] (DiskNo.)\r\n");
}

// In-process, on a terminal of the test's own: only valid Shift_JIS whose
// UTF-8 form fits is converted; anything else goes out as it is.
TEST(TextForStream, ConvertsOnlyWhatItCan) {
  useLocale("C.UTF-8", nullptr);
  initConsole();
  int master = -1;
  int slave = -1;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  std::FILE* terminal = fdopen(slave, "w");
  std::FILE* file = std::tmpfile();
  const char* te = "\x83\x65";  // one katakana, 3 bytes of UTF-8
  char scratch[16];
  EXPECT_TRUE(streamShowsUtf8(terminal));
  EXPECT_FALSE(streamShowsUtf8(file));
  EXPECT_STREQ(textForStream(terminal, te, scratch, sizeof scratch), "\u30C6");
  EXPECT_EQ(textForStream(terminal, te, scratch, 4), scratch);  // just fits with its NUL
  EXPECT_EQ(textForStream(terminal, te, scratch, 3), te);       // does not fit
  EXPECT_EQ(textForStream(terminal, te, scratch, 0), te);
  EXPECT_EQ(textForStream(terminal, "\x83", scratch, sizeof scratch), std::string("\x83"));
  EXPECT_EQ(textForStream(file, te, scratch, sizeof scratch), te);
  char utf8[5];
  EXPECT_EQ(shiftJisCharToUtf8(te, 2, utf8), 3u);
  EXPECT_EQ(shiftJisCharToUtf8("\x83", 1, utf8), 0u);
  std::fclose(file);
  std::fclose(terminal);
  close(master);
}

}  // namespace
