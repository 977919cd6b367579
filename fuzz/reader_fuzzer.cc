// SPDX-License-Identifier: MIT
// Drives the whole D88File interface over the input taken as a D88 file. The
// input's last bytes choose the calls' arguments; the rest is the file.
#include <fuzzer/FuzzedDataProvider.h>
#include <sanitizer/asan_interface.h>

#include <cstring>
#include <vector>

#include "disk/d88_file.h"
#include "fuzz/fuzz_input.h"

namespace {

constexpr int32_t kMaxTotal = 409600;  // the tools' extraction buffer

struct Arguments {
  int32_t first, last, track, c, h, r, n, length, total, listLength;
};

Arguments consumeArguments(FuzzedDataProvider& in) {
  Arguments a;
  a.first = in.ConsumeIntegralInRange<int32_t>(-2, 20);
  a.last = in.ConsumeIntegralInRange<int32_t>(-2, 20);
  a.track = in.ConsumeIntegralInRange<int32_t>(-2, 166);
  a.c = in.ConsumeIntegralInRange<int32_t>(-1, 256);
  a.h = in.ConsumeIntegralInRange<int32_t>(-1, 256);
  a.r = in.ConsumeIntegralInRange<int32_t>(-1, 256);
  a.n = in.ConsumeBool() ? in.ConsumeIntegral<int32_t>() : in.ConsumeIntegralInRange<int32_t>(0, 8);
  a.length = in.ConsumeIntegralInRange<int32_t>(-4, 4096);
  a.total = in.ConsumeIntegralInRange<int32_t>(-16, kMaxTotal);
  a.listLength = in.ConsumeIntegralInRange<int32_t>(-4, 4096);
  return a;
}

// Reads with a buffer of exactly `length` bytes, so a write past it is caught.
int32_t readExact(D88File& disk, int32_t track, int32_t c, int32_t h, int32_t r, int32_t n,
                  int32_t length) {
  std::vector<uint8_t> buffer(static_cast<std::size_t>(length > 0 ? length : 0));
  const int32_t got = disk.readSector(track, c, h, r, n, buffer.data(), length);
  if (got < 0 || got > (length > 0 ? length : 0)) fuzzFail("readSector result out of range");
  return got;
}

// One block for runs, with everything past the run's total poisoned, so a
// write beyond it is caught without allocating (and zeroing) per call.
uint8_t* runBuffer(int32_t total) {
  static uint8_t block[kMaxTotal];
  ASAN_UNPOISON_MEMORY_REGION(block, sizeof block);
  const int32_t usable = total > 0 ? total : 0;
  ASAN_POISON_MEMORY_REGION(block + usable, sizeof block - static_cast<std::size_t>(usable));
  return block;
}

void exerciseImage(D88File& disk, const Arguments& a, uint8_t* run, int64_t fileSize) {
  disk.setSectorRange(a.first, a.last);
  readExact(disk, a.track, a.c, a.h, a.r, a.n, a.length);

  const int32_t got = disk.readSectors(a.track, a.c, a.h, a.r, a.n, run, a.total);
  if (got < 0 || got > (a.total > 0 ? a.total : 0)) fuzzFail("readSectors result out of range");

  std::vector<uint8_t> ids(static_cast<std::size_t>(a.listLength > 0 ? a.listLength : 0));
  const int32_t listed = disk.listSectorIds(a.track, ids.data(), a.listLength);
  if (listed < 0 || listed % 4 != 0 || listed > (a.listLength > 0 ? a.listLength : 0)) {
    fuzzFail("listSectorIds result out of range");
  }
  // A walk of the track's records, bounded by the end of the file, and the
  // walk the search makes.
  TrackWalk walk =
      disk.walkRecords(a.track >= 0 && a.track < kTrackCount ? kImageHeaderSize : -1, fileSize);
  TrackRecord record;
  int64_t previous = -1;
  while (disk.nextRecord(&walk, &record)) {
    if (record.position <= previous || record.position + kSectorHeaderSize > fileSize) {
      fuzzFail("nextRecord stepped back or read past its end");
    }
    previous = record.position;
  }
  // Read back a few of the sectors the listing found, so matches happen.
  for (int32_t i = 0; i + 4 <= listed && i < 64; i += 4) {
    readExact(disk, a.track, ids[i], ids[i + 1], ids[i + 2], ids[i + 3], 2048);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const Arguments a = consumeArguments(in);
  const std::vector<uint8_t> file = in.ConsumeRemainingBytes<uint8_t>();
  const char* path = writeFuzzInput(file.data(), file.size());

  uint8_t* run = runBuffer(a.total);
  D88File disk;
  if (!disk.open(path)) fuzzFail("a readable file did not open");
  const int32_t count = disk.imageCount();
  if (count < 0 || count > kMaxImages) fuzzFail("imageCount out of range");
  for (int32_t i = -1; i <= count; ++i) {
    const bool selected = disk.selectImage(i);
    if (selected != (i >= 0 && i < count)) fuzzFail("selectImage result wrong");
    if (disk.selectedImage() != (selected ? i : -1)) fuzzFail("selectedImage wrong");
    if (std::strlen(disk.diskName()) > 16) fuzzFail("disk name too long");
    if (disk.mediaType() < -1 || disk.mediaType() > 255) fuzzFail("media type out of range");
    exerciseImage(disk, a, run, static_cast<int64_t>(file.size()));
  }
  disk.close();
  if (disk.imageCount() != 0 || disk.selectedImage() != -1) fuzzFail("close left state");
  exerciseImage(disk, a, run,
                static_cast<int64_t>(file.size()));  // everything on a closed reader reads nothing
  return 0;
}
