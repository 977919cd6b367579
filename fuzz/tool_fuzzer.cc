// SPDX-License-Identifier: MIT
// Runs d88cut's whole path in-process on the input as a D88 file, in a
// scratch directory, and checks that only the four output names appear there,
// each either absent or at its full length.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "disk/d88_file.h"
#include "fuzz/fuzz_input.h"
#include "game/file_table.h"
#include "tool/run_tool.h"

namespace {

std::FILE* sink = nullptr;

int32_t expectedLength(const char* name) {
  for (const FileEntry& entry : systemDiskFiles) {
    if (entry.sector != 0 && std::strcmp(entry.name, name) == 0) return entry.length;
  }
  if (std::strcmp(scenarioDisk4File.name, name) == 0) return scenarioDisk4File.length;
  return -1;
}

void checkScratchDir() {
  DIR* dir = opendir(".");
  if (dir == nullptr) fuzzFail("cannot read the scratch directory");
  while (const dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    const int32_t length = expectedLength(entry->d_name);
    struct stat info;
    if (length < 0) fuzzFail("a file other than the four outputs was written");
    if (stat(entry->d_name, &info) != 0 || info.st_size != length) fuzzFail("a partial output");
  }
  closedir(dir);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string scratch = makeScratchDir();
  if (chdir(scratch.c_str()) != 0) fuzzFail("cannot enter the scratch directory");
  sink = openSink();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const char* path = writeFuzzInput(data, size);
  D88File disk;
  const char* argv[] = {"d88cut", path};
  const int status = runTool(disk, 2, argv, sink, sink);
  if (status != kExitSuccess && status != kExitFailure) fuzzFail("unexpected exit status");
  checkScratchDir();
  return 0;
}
