// SPDX-License-Identifier: MIT
// In-process checks of the tool's logic: what is not reachable from the
// command line.
#include "tool/cut_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game/file_run.h"
#include "info/run_info.h"
#include "platform/archive.h"
#include "platform/console.h"
#include "platform/console_platform.h"
#include "platform/output_file.h"
#include "platform/temporary_file.h"
#include "testing/game_disks.h"
#include "testing/test_env.h"
#include "tests/expected_runs.h"
#include "tool/cut_images.h"
#include "tool/messages.h"
#include "tool/run_tool.h"

namespace {

std::string contents(std::FILE* stream) {
  std::string text;
  std::rewind(stream);
  for (int c; (c = std::fgetc(stream)) != EOF;) text.push_back(static_cast<char>(c));
  return text;
}

TEST(RunTool, MissingProgramNameStillGivesUsage) {
  D88File disk;
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const char* argv[] = {nullptr};
  EXPECT_EQ(runTool(disk, 0, argv, out, err), kExitFailure);
  EXPECT_EQ(contents(err), "Usage: d88cut [d88file] (DiskNo.)\n");
  EXPECT_EQ(contents(out), "");
  std::fclose(out);
  std::fclose(err);
}

// An archive where its library cannot be loaded: one line that names the
// archive, its kind and the way out; nothing written.
TEST(RunTool, AnArchiveWithoutItsLibraryIsNamed) {
  ScopedTempDir dir;
  ScopedCurrentDir inDir(dir.path());
  std::vector<uint8_t> zip(100, 0);
  std::memcpy(zip.data(), "PK\x03\x04", 4);
  ASSERT_TRUE(writeBytes(dir.file("set.zip"), zip));
  setArchiveLibraryName("libarchive-absent.so.13");
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const char* argv[] = {"d88cut", "set.zip"};
  D88File disk;
  EXPECT_EQ(runTool(disk, 2, argv, out, err), kExitFailure);
  setArchiveLibraryName(nullptr);
  EXPECT_EQ(contents(err),
            "d88cut: error: set.zip is a zip archive: install libarchive13, or unpack it\n");
  EXPECT_EQ(contents(out), "");
  EXPECT_FALSE(fileExists(dir.file("LOADER").c_str()));
  std::fclose(out);
  std::fclose(err);
}

// The table's rows are checked against the buffer when the program is
// compiled; a row at its very edge still fits.
static_assert(!fitsExtractionBuffer(FileEntry{1, 1, kExtractionBufferSize, 1, "FAR"}));
static_assert(!fitsExtractionBuffer(FileEntry{1, 1, -1, 10, "NEG"}));
static_assert(fitsExtractionBuffer(FileEntry{1, 1, 409599, 1, "EDGE"}));

// Reads of the D88 file through a reader told to fail: every read after the
// first `readsLeft` fails with EIO.
int readsLeft = 0;
long failingRead(std::FILE* file, uint8_t* dst, std::size_t n) {
  if (readsLeft-- <= 0) {
    errno = EIO;
    return -1;
  }
  const std::size_t got = std::fread(dst, 1, n, file);
  return std::ferror(file) ? -1 : static_cast<long>(got);
}

// A failed read is never taken for the end of the file: whichever read
// fails, both programs say so and end with status 1, d88cut writes no file
// that the failure touched, and neither blames the disk.
TEST(ReadFailure, IsReportedAndWritesNothingItTouched) {
  ScopedTempDir dir;
  ScopedCurrentDir inDir(dir.path());
  ASSERT_TRUE(writeBytes(dir.file("sample.d88"), buildSampleSet()));
  const std::vector<std::vector<uint8_t>> whole = {
      expectedFile(1, 1, 0, 16384), expectedFile(5, 3, 0, 7552), expectedFile(24, 4, 256, 56540),
      expectedFile(72, 4, 385, 11970)};
  const char* names[] = {"LOADER", "DRIVER", "MUSIC", "MUSIC2"};
  const char* cutArgs[] = {"d88cut", "sample.d88"};
  const char* infoArgs[] = {"d88info", "--sectors", "sample.d88"};
  const std::string reason = std::strerror(EIO);
  bool cutFailed = true;
  bool infoFailed = true;
  for (int reads = 0; (cutFailed || infoFailed) && reads < 200; ++reads) {
    for (const char* name : names) std::remove(name);
    D88File disk;
    disk.setReadCall(failingRead);
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    readsLeft = reads;
    const int status = runTool(disk, 2, cutArgs, out, err);
    cutFailed = readsLeft < 0;
    const bool atOpen = reads == 0;  // the first read is part of opening
    if (cutFailed) {
      EXPECT_EQ(status, kExitFailure) << reads;
      EXPECT_EQ(contents(err), atOpen ? std::string(kOpenFailure) +
                                            "d88cut: cannot open sample.d88: " + reason + "\n"
                                      : "d88cut: cannot read sample.d88: " + reason + "\n")
          << reads;
    }
    for (int i = 0; i < 4; ++i) {
      if (fileExists(names[i])) {
        EXPECT_EQ(readBytes(dir.file(names[i])), whole[i]) << reads;
      }
    }
    readsLeft = reads;
    std::FILE* infoOut = std::tmpfile();
    std::FILE* infoErr = std::tmpfile();
    const int infoStatus = runInfo(disk, 3, infoArgs, infoOut, infoErr);
    infoFailed = readsLeft < 0;
    EXPECT_EQ(infoStatus, infoFailed ? 1 : 0) << reads;
    if (infoFailed && !atOpen) {
      EXPECT_EQ(contents(infoErr), "d88info: cannot read sample.d88: " + reason + "\n") << reads;
      // The report stops at the failure: nothing of what it hid is made up
      // (an image that reads as no disk, a file found short, an image gone).
      const std::string shown = contents(infoOut);
      for (const char* madeUp :
           {"header cannot be read", "not a disk of the game", "why:", "stops"}) {
        EXPECT_EQ(shown.find(madeUp), std::string::npos) << reads << ": " << madeUp << "\n"
                                                         << shown;
      }
    }
    for (std::FILE* stream : {out, err, infoOut, infoErr}) std::fclose(stream);
  }
  EXPECT_FALSE(cutFailed || infoFailed);  // the loop reached runs that read everything
  EXPECT_EQ(dir.entries(),
            (std::vector<std::string>{"DRIVER", "LOADER", "MUSIC", "MUSIC2", "sample.d88"}));
}

TEST(CutFile, ARowAtTheBufferEdgeIsCut) {
  ScopedTempDir dir;
  ScopedCurrentDir inDir(dir.path());
  D88File disk;
  std::vector<uint8_t> buffer(kExtractionBufferSize);
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const Extraction extraction = {disk, buffer.data(), out, err};
  // No disk: incomplete, and written at full length.
  EXPECT_EQ(cutFile(extraction, FileEntry{1, 1, 409599, 1, "EDGE"}), CutStatus::kIncomplete);
  EXPECT_EQ(contents(out), "cutting ... EDGE\n");
  EXPECT_EQ(contents(err),
            "d88cut: warning: EDGE (image 0) is incomplete: 0 of its 1 bytes were found on the "
            "disk; the run stops at track 1 (C 0, H 1, R 1): the track is absent\n");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"EDGE"});
  std::fclose(out);
  std::fclose(err);
}

TEST(ReplaceFile, ATemporaryFileThatCannotBeCreatedIsReported) {
  ScopedTempDir dir;
  const uint8_t data[] = {1};
  EXPECT_EQ(replaceFile((dir.path() + "/missing/x").c_str(), data, 1), ENOENT);
#ifndef _WIN32
  EXPECT_EQ(replaceFile((dir.path() + "/" + std::string(300, 'n')).c_str(), data, 1), ENAMETOOLONG);
#endif
  const uint8_t one[] = {7};
  EXPECT_EQ(replaceFile((dir.path() + "/one").c_str(), one, 1), 0);
  EXPECT_EQ(readBytes(dir.file("one")), std::vector<uint8_t>{7});
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"one"});
}

// A file that appears between the look for it and the move into place: a
// flawed cut never replaces it (the move itself fails), a sound one does.
void makeOldFile(const char* path) { writeBytes(path, {'o', 'l', 'd'}); }

TEST(PlaceNewFile, AFileThatAppearsAtTheWorstMomentIsKept) {
  ScopedTempDir dir;
  ScopedCurrentDir inDir(dir.path());
  ASSERT_TRUE(writeBytes(dir.file("gaps.d88"), buildGameDisks({{"GAPS", 0, true, {{30, 1}}}})));
  setBeforeMoveCall(makeOldFile);
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const char* argv[] = {"d88cut", "gaps.d88"};
  D88File disk;
  EXPECT_EQ(runTool(disk, 2, argv, out, err), kExitFailure);
  const uint8_t data[] = {1, 2};
  EXPECT_EQ(placeNewFile(dir.file("NEW").c_str(), data, 2), EEXIST);
  EXPECT_EQ(replaceFile(dir.file("REPLACED").c_str(), data, 2), 0);
#ifndef _WIN32
  setClaimNameFirst(true);  // a file system without no-replace renames and links
  EXPECT_EQ(placeNewFile(dir.file("CLAIMED").c_str(), data, 2), EEXIST);
  setBeforeMoveCall(nullptr);
  EXPECT_EQ(placeNewFile(dir.file("PLACED").c_str(), data, 2), 0);
  setClaimNameFirst(false);
  EXPECT_EQ(readBytes(dir.file("CLAIMED")), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(readBytes(dir.file("PLACED")), (std::vector<uint8_t>{1, 2}));
  std::remove(dir.file("CLAIMED").c_str());
  std::remove(dir.file("PLACED").c_str());
#endif
  setBeforeMoveCall(nullptr);
  const std::vector<uint8_t> old = {'o', 'l', 'd'};
  EXPECT_EQ(readBytes(dir.file("MUSIC")), old);  // the incomplete cut
  EXPECT_EQ(readBytes(dir.file("NEW")), old);
  EXPECT_EQ(readBytes(dir.file("REPLACED")), (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(readBytes(dir.file("LOADER")), expectedFile(1, 1, 0, 16384));  // whole: replaced
  EXPECT_NE(contents(err).find("; the file already in the folder was kept\n"), std::string::npos)
      << contents(err);
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"DRIVER", "LOADER", "MUSIC", "NEW", "REPLACED",
                                                     "gaps.d88"}));  // no temporary
  std::fclose(out);
  std::fclose(err);
}

// The pointer to d88info can be pasted into the system's shell.
// A walk passes an archive's D88 entry over after its head only when the
// head alone shows that it is no disk of the game.
TEST(HoldsNoGameDisk, OnlyWhatTheHeadShows) {
  struct Case {
    const char* name;
    std::vector<GameDisk> disks;
    bool passedOver;
  };
  const Case cases[] = {
      {"another program's disk", {{"OTHER", 9, false}}, true},
      {"a scenario disk", {{"SCENARIO", 2, false}}, false},
      {"the system disk", {{"SYSTEM", 0, true}}, false},
      {"a boot sector the head lacks", {{"OTHER", 9, false, {{0, 1}}}}, false},
      {"another program's disk, then a scenario disk",
       {{"OTHER", 9, false}, {"SCENARIO", 4, false}},
       false},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> bytes = buildGameDisks(c.disks);
    D88File disk;
    ASSERT_TRUE(disk.openBytes(bytes.data(), kPassOverHeadSize));
    EXPECT_EQ(holdsNoGameDisk(disk, static_cast<int64_t>(bytes.size())), c.passedOver) << c.name;
  }
}

TEST(QuoteForShell, QuotesOnlyWhatTheShellWouldRead) {
  struct Case {
    const char* word;
    const char* posix;
    const char* windows;
  };
  const Case cases[] = {
      {"sub/game-1.d88", "sub/game-1.d88", "sub/game-1.d88"},
      {"Game (Disk 1 of 5).d88", "'Game (Disk 1 of 5).d88'", "\"Game (Disk 1 of 5).d88\""},
      {"it's", "'it'\\''s'", "\"it's\""},
      {"$HOME&x", "'$HOME&x'", "\"$HOME&x\""},
      {"", "''", "\"\""},
  };
  for (const Case& c : cases) {
    char quoted[64];
    ASSERT_TRUE(quoteForShell(c.word, quoted, sizeof quoted)) << c.word;
#ifdef _WIN32
    EXPECT_STREQ(quoted, c.windows);
#else
    EXPECT_STREQ(quoted, c.posix);
#endif
  }
  char small[4];
  EXPECT_FALSE(quoteForShell("a b", small, sizeof small));
}

// A write of the system may write fewer bytes than asked: the rest follows
// from where it stopped.
std::vector<uint8_t> written;
long writeThreeAtMost(int, const uint8_t* data, std::size_t length) {
  const std::size_t n = length < 3 ? length : 3;
  written.insert(written.end(), data, data + n);
  return static_cast<long>(n);
}

TEST(WriteAll, AShortWriteGoesOnWhereItStopped) {
  const std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8};
  written.clear();
  EXPECT_EQ(writeAll(-1, data.data(), data.size(), writeThreeAtMost), 0);
  EXPECT_EQ(written, data);
}

TEST(DescribeRunDamage, NamesEachStatus) {
  struct Case {
    uint8_t status;
    const char* meaning;
  };
  for (const Case& c :
       {Case{0xA0, "a CRC error in its ID (status 0xA0)"},
        Case{0xB0, "a CRC error in its data (status 0xB0)"},
        Case{0xE0, "no address mark (status 0xE0)"}, Case{0xF0, "no data mark (status 0xF0)"},
        Case{0x9F, "a read error (status 0x9F)"}}) {
    RunDamage damage;
    damage.sectors = 1;
    damage.status = c.status;
    char text[kRunDamageTextSize];
    describeRunDamage(damage, text);
    EXPECT_NE(std::string(text).find(c.meaning), std::string::npos) << text;
  }
}

TEST(FileBytesFound, CountsTheFilesOwnBytesOfTheRun) {
  struct Case {
    int32_t found, offset, length, expected;
  };
  for (const Case& c : {Case{0, 256, 10, 0}, Case{256, 256, 10, 0}, Case{257, 256, 10, 1},
                        Case{265, 256, 10, 9}, Case{266, 256, 10, 10}, Case{2048, 256, 10, 10}}) {
    EXPECT_EQ(fileBytesFound(c.found, c.offset, c.length), c.expected) << c.found;
  }
}

TEST(PrintMessage, LinesOfAnyLengthGoOutWhole) {
  for (std::size_t length : {8190u, 8191u, 8192u, 8193u}) {
    std::FILE* out = std::tmpfile();
    const std::string text(length, 'x');
    printMessage(out, "%s", text.c_str());
    EXPECT_EQ(contents(out), text) << length;
    std::fclose(out);
  }
}

// A console is written in pieces cut between UTF-8 sequences; every piece
// moves on, whatever the bytes.
TEST(Utf8PieceLength, CutsBetweenSequencesAndAlwaysMovesOn) {
  struct Case {
    std::string text;
    std::size_t most, expected;
  };
  const Case cases[] = {
      {"abc", 4, 3},
      {std::string(10, 'a'), 4, 4},
      {"aaa\xE3\x83\x86"
       "b",
       4, 3},                                   // before the three-byte sequence
      {"a\xF0\x9F\x98\x80", 4, 1},              // before the four-byte one
      {std::string(2000, '\x80'), 1024, 1024},  // no sequence to keep whole
      {"aa" + std::string(2000, '\x80'), 1024, 1024},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(utf8PieceLength(c.text.data(), c.text.size(), c.most), c.expected) << c.text.size();
  }
}

#ifndef _WIN32
TEST(FinishStream, AFailedWriteIsReportedWithItsReason) {
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  std::fputs("lost", full);
  EXPECT_EQ(finishStream(full), ENOSPC);
  errno = EDOM;  // a stale reason must not be reported for the error seen before
  EXPECT_EQ(finishStream(full), EIO);
  std::fclose(full);
}
#endif

}  // namespace
