// SPDX-License-Identifier: MIT
// Runs d88info in-process on the input as a D88 file, as text with every
// track listed and as JSON, with both reports thrown away: the sanitizers
// watch every position d88info's own view of the layout computes. An input
// that starts like an archive is read as one, and may fairly fail.
#include <cstdio>

#include "disk/d88_file.h"
#include "fuzz/fuzz_input.h"
#include "info/run_info.h"
#include "platform/archive.h"

namespace {
std::FILE* sink = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  sink = openSink();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const char* path = writeFuzzInput(data, size);
  D88File disk;
  const int32_t head = size < 512 ? static_cast<int32_t>(size) : 512;
  const bool archive = archiveKindOf(data, head) != ArchiveKind::kNone;
  for (const char* option : {"--sectors", "--json"}) {
    const char* argv[] = {"d88info", option, path};
    if (runInfo(disk, 3, argv, sink, sink) != 0 && !archive) {
      fuzzFail("a readable file was not reported");
    }
  }
  return 0;
}
