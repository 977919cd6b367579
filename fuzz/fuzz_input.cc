// SPDX-License-Identifier: MIT
#include "fuzz/fuzz_input.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string inputPath;
std::string scratchDir;

std::string baseDir() {
  std::error_code ec;
  if (fs::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return fs::temp_directory_path().string();
}

void cleanUp() {
  std::error_code ec;
  if (!inputPath.empty()) fs::remove(inputPath, ec);
  if (!scratchDir.empty()) fs::remove_all(scratchDir, ec);
}

// Registers cleanUp once, whichever file is made first.
void cleanUpAtExit() {
  static bool registered = false;
  if (!registered) std::atexit(cleanUp);
  registered = true;
}

}  // namespace

const char* writeFuzzInput(const uint8_t* data, std::size_t size) {
  static int fd = -1;
  if (fd < 0) {
    inputPath = baseDir() + "/d88cut-fuzz-" + std::to_string(getpid()) + ".d88";
    fd = open(inputPath.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) fuzzFail("cannot create the input file");
    cleanUpAtExit();
  }
  if (ftruncate(fd, 0) != 0) fuzzFail("cannot truncate the input file");
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) fuzzFail("cannot write the input file");
    done += static_cast<std::size_t>(n);
  }
  return inputPath.c_str();
}

std::string makeScratchDir() {
  std::string pattern = baseDir() + "/d88cut-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) fuzzFail("cannot create the scratch directory");
  scratchDir = pattern;
  cleanUpAtExit();  // also when the fuzzer stops before its first input
  return scratchDir;
}

void fuzzFail(const char* what) {
  std::fprintf(stderr, "fuzz: %s\n", what);
  std::abort();
}

std::FILE* openSink() {
  std::FILE* sink = std::fopen("/dev/null", "w");
  if (sink == nullptr) fuzzFail("cannot open /dev/null");
  return sink;
}
