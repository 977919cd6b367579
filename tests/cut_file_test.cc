// In-process checks of the tool's logic: what is not reachable from the
// command line.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/output_file.h"
#include "tool/cut_file.h"
#include "tool/run_tool.h"
#include "testing/game_disks.h"
#include "testing/test_env.h"

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

TEST(CutFile, APlaceOutsideTheBufferIsNotWritten) {
  ScopedTempDir dir;
  ScopedCurrentDir inDir(dir.path());
  D88File disk;
  std::vector<uint8_t> buffer(kExtractionBufferSize);
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const Extraction x = {disk, buffer.data(), out, err};
  EXPECT_EQ(cutFile(x, "FAR", 1, 0, 1, 1, 3, kExtractionBufferSize, 1), CutStatus::kNotWritten);
  EXPECT_EQ(cutFile(x, "NEG", 1, 0, 1, 1, 3, -1, 10), CutStatus::kNotWritten);
  EXPECT_EQ(contents(out), "cutting ... FAR\ncutting ... NEG\n");
  EXPECT_EQ(contents(err),
            "d88cut: error: FAR lies outside the extraction buffer; not written\n"
            "d88cut: error: NEG lies outside the extraction buffer; not written\n");
  EXPECT_TRUE(dir.entries().empty());
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
  EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
