// SPDX-License-Identifier: MIT
#include "game/assembly.h"

#include <cstdio>
#include <cstring>

#include "game/file_run.h"

namespace {

struct SectorList {
  SectorAddress* where;
  int32_t count;
};

void listSector(void* context, const SectorAddress& at) {
  auto* list = static_cast<SectorList*>(context);
  if (list->count < kMaxRunSectors) list->where[list->count] = at;
  ++list->count;
}

// The copy's sector list; its count capped at kMaxRunSectors.
int32_t listRun(const FileEntry& entry, RunCopy* copy) {
  SectorList list = {copy->where, 0};
  forEachRunSector(entry, listSector, &list);
  copy->sectors = list.count < kMaxRunSectors ? list.count : kMaxRunSectors;
  const int32_t length = runLength(entry);
  copy->length =
      length < kMaxRunSectors * kRunSectorSize ? length : kMaxRunSectors * kRunSectorSize;
  return copy->sectors;
}

// The bytes of sector s that lie in a run of `length` bytes.
int32_t sectorBytes(int32_t s, int32_t length) {
  const int32_t left = length - s * kRunSectorSize;
  return left < kRunSectorSize ? left : kRunSectorSize;
}

}  // namespace

void readRunCopy(D88File& disk, const FileEntry& entry, RunCopy* copy) {
  const int32_t sectors = listRun(entry, copy);
  for (int32_t s = 0; s < sectors; ++s) {
    const SectorAddress& at = copy->where[s];
    const int32_t want = sectorBytes(s, copy->length);
    uint8_t* bytes = copy->bytes + s * kRunSectorSize;
    std::memset(bytes, 0, static_cast<size_t>(want));  // what a missing sector holds
    RunStop stop;
    RunDamage damage;
    const int32_t got =
        disk.readSectors(at.track, at.c, at.h, at.r, at.n, bytes, want, &stop, &damage);
    copy->good[s] = got == want && damage.sectors == 0;  // found, whole, no error status
  }
}

void soundRunCopy(const FileEntry& entry, const uint8_t* run, RunCopy* copy) {
  const int32_t sectors = listRun(entry, copy);
  std::memcpy(copy->bytes, run, static_cast<size_t>(copy->length));
  for (int32_t s = 0; s < sectors; ++s) copy->good[s] = true;
}

void FileAssembly::name(int32_t c, const char* path, int32_t image) {
  std::snprintf(copyNames[c].path, sizeof copyNames[c].path, "%s", path != nullptr ? path : "");
  copyNames[c].image = image;
}

bool FileAssembly::addSoundFirstCopy(const FileEntry& entry, const uint8_t* run, const char* path,
                                     int32_t image) {
  if (copyCount != 0) return false;
  name(0, path, image);
  SectorList list = {sectorWhere, 0};
  forEachRunSector(entry, listSector, &list);
  runSectors = list.count < kMaxRunSectors ? list.count : kMaxRunSectors;
  const int32_t length = runLength(entry);
  runBytes = length < kMaxRunSectors * kRunSectorSize ? length : kMaxRunSectors * kRunSectorSize;
  std::memcpy(groupBytes[0], run, static_cast<size_t>(runBytes));
  groupCount = 1;
  copyCount = 1;
  copyGroup[0] = 0;
  for (int32_t s = 0; s < runSectors; ++s) {
    copyGood[0][s] = true;
    groupSource[0][s] = 0;
  }
  return true;
}

void FileAssembly::clear() {
  copyCount = 0;
  groupCount = 0;
  runSectors = 0;
  parted = Disagreement{};
}

int32_t FileAssembly::differsAt(int32_t g, const RunCopy& copy) const {
  for (int32_t s = 0; s < runSectors; ++s) {
    const int32_t source = groupSource[g][s];
    if (source < 0 || !copy.good[s]) continue;
    const size_t at = static_cast<size_t>(s) * kRunSectorSize;
    const auto n = static_cast<size_t>(sectorBytes(s, runBytes));
    if (std::memcmp(groupBytes[g] + at, copy.bytes + at, n) != 0) return s;
  }
  return -1;
}

int32_t FileAssembly::add(const RunCopy& copy, const char* path, int32_t image) {
  if (copyCount == kMaxCopies) return -1;
  if (copyCount == 0) {
    runSectors = copy.sectors;
    runBytes = copy.length;
    std::memcpy(sectorWhere, copy.where, sizeof sectorWhere);
  }
  int32_t g = 0;
  int32_t firstDifference = -1;
  for (; g < groupCount; ++g) {
    const int32_t at = differsAt(g, copy);
    if (at < 0) break;
    if (g == 0) firstDifference = at;
  }
  if (g == kMaxCopyGroups) return -1;
  const int32_t c = copyCount++;
  name(c, path, image);
  if (g == groupCount) {  // a group of its own
    ++groupCount;
    std::memcpy(groupBytes[g], copy.bytes, static_cast<size_t>(runBytes));
    for (int32_t s = 0; s < runSectors; ++s) groupSource[g][s] = -1;
    if (g == 1 && parted.sector < 0) {
      parted = Disagreement{firstDifference, groupSource[0][firstDifference], c};
    }
  }
  copyGroup[c] = g;
  for (int32_t s = 0; s < runSectors; ++s) {
    copyGood[c][s] = copy.good[s];
    if (!copy.good[s] || groupSource[g][s] >= 0) continue;
    groupSource[g][s] = c;
    const size_t at = static_cast<size_t>(s) * kRunSectorSize;
    std::memcpy(groupBytes[g] + at, copy.bytes + at, static_cast<size_t>(sectorBytes(s, runBytes)));
  }
  return g;
}

bool FileAssembly::whole(int32_t g) const {
  for (int32_t s = 0; s < runSectors; ++s) {
    if (groupSource[g][s] < 0) return false;
  }
  return groupCount > g;
}

int32_t FileAssembly::chosenGroup() const {
  for (int32_t g = groupCount - 1; g >= 0; --g) {
    if (whole(g)) return g;
  }
  return 0;
}

bool FileAssembly::wholeInOneCopy(int32_t g) const {
  for (int32_t c = 0; c < copyCount; ++c) {
    if (copyGroup[c] != g) continue;
    bool all = true;
    for (int32_t s = 0; s < runSectors && all; ++s) all = copyGood[c][s];
    if (all) return true;
  }
  return false;
}
