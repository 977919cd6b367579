// How long searches and whole runs take on a hostile chain of sector headers.
//
// The hostile file: one 2 MiB image whose 164 track entries all point at one
// chain of empty sector headers (data size 0, IDs that never match). With a
// count of 0xFFFF everywhere a search stops after 65,535 headers; with the
// first count 0xFFFF and the rest 1 it walks to the end of the file.
#include <benchmark/benchmark.h>

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

BENCHMARK(BM_SearchChainFFFF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchChainToTheEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToolOnHostileChain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToolOnSampleSet)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
