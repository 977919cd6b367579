// SPDX-License-Identifier: MIT
// Runs d88cut's whole path in-process on the input, as a D88 file (or an
// archive) named on the command line with its files going into a scratch
// directory, then as standard input (read into memory, archives too) in a
// dry run; checks that only the four output names appear in the scratch
// directory, each either absent or at its full length. The process's own
// directory is left as it is, so corpus paths may be relative.
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
std::string scratch;

int32_t expectedLength(const char* name) {
  for (const FileEntry& entry : systemDiskFiles) {
    if (entry.sector != 0 && std::strcmp(entry.name, name) == 0) return entry.length;
  }
  if (std::strcmp(scenarioDisk4File.name, name) == 0) return scenarioDisk4File.length;
  return -1;
}

void checkScratchDir() {
  DIR* dir = opendir(scratch.c_str());
  if (dir == nullptr) fuzzFail("cannot read the scratch directory");
  while (const dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    const int32_t length = expectedLength(entry->d_name);
    struct stat info;
    if (length < 0) fuzzFail("a file other than the four outputs was written");
    const std::string written = scratch + "/" + entry->d_name;
    if (stat(written.c_str(), &info) != 0 || info.st_size != length) fuzzFail("a partial output");
  }
  closedir(dir);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scratch = makeScratchDir();
  sink = openSink();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const char* path = writeFuzzInput(data, size);
  D88File disk;
  const char* named[] = {"d88cut", "-d", scratch.c_str(), path};
  int status = runTool(disk, 4, named, sink, sink);
  if (status != kExitSuccess && status != kExitFailure) fuzzFail("unexpected exit status");
  checkScratchDir();
  if (std::freopen(path, "rb", stdin) == nullptr)
    fuzzFail("cannot read the input as standard input");
  const char* piped[] = {"d88cut", "-n", "-d", scratch.c_str(), "-"};
  status = runTool(disk, 5, piped, sink, sink);
  if (status != kExitSuccess && status != kExitFailure) fuzzFail("unexpected exit status");
  checkScratchDir();
  return 0;
}
