// SPDX-License-Identifier: MIT
// How long searches and whole runs take on a hostile chain of sector headers.
//
// The hostile file: one 2 MiB image whose 164 track entries all point at one
// chain of empty sector headers (data size 0, IDs that never match). With a
// count of 0xFFFF everywhere a search stops after 65,535 headers; with the
// first count 0xFFFF and the rest 1 it walks to the end of the file. The
// worst case found for the whole tool comes last.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "disk/d88_file.h"
#include "testing/d88_builder.h"
#include "testing/game_disks.h"
#include "testing/test_env.h"
#include "tool/run_tool.h"

namespace {

constexpr std::size_t kHostileSize = 2 * 1024 * 1024;

std::string writeHostile(const ScopedTempDir& dir, bool toTheEnd) {
  std::vector<uint8_t> bytes(kHostileSize, 0);
  storeLe32(bytes, 0x1C, static_cast<uint32_t>(kHostileSize));
  for (int t = 0; t < 164; ++t) storeLe32(bytes, 0x20 + 4 * t, 688);
  for (std::size_t at = 688; at + 16 <= kHostileSize; at += 16) {
    bytes[at] = bytes[at + 1] = bytes[at + 2] = bytes[at + 3] = 0xFF;
    storeLe16(bytes, at + 4, toTheEnd && at != 688 ? 1 : 0xFFFF);
  }
  const std::string path = dir.file(toTheEnd ? "to-end.d88" : "ffff.d88");
  writeBytes(path, bytes);
  return path;
}

void searchOnce(benchmark::State& state, bool toTheEnd) {
  ScopedTempDir dir;
  const std::string path = writeHostile(dir, toTheEnd);
  D88File disk;
  disk.open(path.c_str());
  disk.selectImage(0);
  uint8_t buffer[1024];
  for (auto _ : state) {
    benchmark::DoNotOptimize(disk.readSector(79, 39, 1, 5, 3, buffer, 1024));
  }
}
void BM_SearchChainFFFF(benchmark::State& state) { searchOnce(state, false); }
void BM_SearchChainToTheEnd(benchmark::State& state) { searchOnce(state, true); }

void putRecord(std::vector<uint8_t>& bytes, int c, int h, int r, int n, int dataSize) {
  const std::size_t at = bytes.size();
  bytes.resize(at + 16 + static_cast<std::size_t>(dataSize), 0);
  bytes[at] = static_cast<uint8_t>(c);
  bytes[at + 1] = static_cast<uint8_t>(h);
  bytes[at + 2] = static_cast<uint8_t>(r);
  bytes[at + 3] = static_cast<uint8_t>(n);
  storeLe16(bytes, at + 4, 1);  // never ends a search after its first header
  storeLe16(bytes, at + 14, static_cast<uint16_t>(dataSize));
}

// The most work per byte of input found for d88cut: every track entry points
// at one chain of non-matching headers, and the boot, signature and all 80
// file sectors follow it, so each of the 82 searches of a system disk walks
// the whole chain. Image headers alternate (disk size S, then -S), so the
// walk indexes 64 images, 32 of them this disk.
std::string writeWorstCase(const ScopedTempDir& dir, std::size_t size) {
  std::vector<uint8_t> tail;
  putRecord(tail, 0, 0, 1, 1, 256);
  putRecord(tail, 39, 1, 5, 3, 1024);
  std::copy_n("QUARVENT        ", 16, tail.end() - 1024);
  const int runs[3][3] = {{1, 1, 16}, {5, 3, 8}, {24, 4, 56}};  // track, R, sectors
  for (const auto& run : runs) {
    for (int k = 0, track = run[0], r = run[1]; k < run[2]; ++k) {
      putRecord(tail, track / 2, track % 2, r, 3, 1024);
      if (++r > 5) {
        r = 1;
        ++track;
      }
    }
  }
  const std::size_t second = size - 688;  // where the other image header sits
  std::vector<uint8_t> bytes(688, 0);
  storeLe32(bytes, 0x1C, static_cast<uint32_t>(second));
  for (int t = 0; t < 164; ++t) storeLe32(bytes, 0x20 + 4 * t, 688);
  while (bytes.size() + 16 + tail.size() <= second) putRecord(bytes, 0xFF, 0xFF, 0xFF, 0xFF, 0);
  storeLe16(bytes, 688 + 4, 0xFFFF);
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  bytes.resize(size, 0);
  storeLe32(bytes, second + 0x1C, static_cast<uint32_t>(-static_cast<int64_t>(second)));
  const std::string path = dir.file("worst.d88");
  writeBytes(path, bytes);
  return path;
}

void runToolOn(benchmark::State& state, const std::string& path, const ScopedTempDir& work) {
  ScopedCurrentDir inWork(work.path());
  D88File disk;
  std::FILE* sink = std::fopen("/dev/null", "w");
  const char* argv[] = {"d88cut", path.c_str()};
  for (auto _ : state) benchmark::DoNotOptimize(runTool(disk, 2, argv, sink, sink));
  std::fclose(sink);
}
void BM_ToolOnHostileChain(benchmark::State& state) {
  ScopedTempDir dir;
  runToolOn(state, writeHostile(dir, true), dir);
}
void BM_ToolOnSampleSet(benchmark::State& state) {
  ScopedTempDir dir;
  const std::string path = dir.file("sample.d88");
  writeBytes(path, buildSampleSet());
  runToolOn(state, path, dir);
}

// Per MiB of input: the argument is the file size in MiB.
void BM_ToolWorstCase(benchmark::State& state) {
  ScopedTempDir dir;
  runToolOn(state, writeWorstCase(dir, static_cast<std::size_t>(state.range(0)) << 20), dir);
}

BENCHMARK(BM_SearchChainFFFF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchChainToTheEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToolOnHostileChain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToolOnSampleSet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToolWorstCase)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
