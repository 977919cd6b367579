// SPDX-License-Identifier: MIT
#include "game/assembly.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/file_run.h"
#include "game/recognition.h"
#include "game/sha256.h"

namespace {

// A disk's sectors, listed on first use (plain flags: one thread, no
// C++ runtime guards).
DiskSectors layouts[2];
bool listed[2] = {false, false};

void addSector(DiskSectors* d, const SectorAddress& at, int32_t length) {
  if (d->count == kMaxDiskSectors) return;
  d->where[d->count] = at;
  d->length[d->count] = length;
  ++d->count;
}

struct RunList {
  DiskSectors* disk;
  int32_t left;  // the run's bytes not yet listed
};

void listRunSector(void* context, const SectorAddress& at) {
  auto* list = static_cast<RunList*>(context);
  const int32_t length = list->left < kRunSectorSize ? list->left : kRunSectorSize;
  addSector(list->disk, at, length);
  list->left -= length;
}

void listFile(DiskSectors* d, const FileEntry& entry) {
  const int32_t f = d->fileCount++;
  d->files[f] = &entry;
  d->firstOfFile[f] = d->count;
  RunList list = {d, runLength(entry)};
  forEachRunSector(entry, listRunSector, &list);
  d->sectorsOfFile[f] = d->count - d->firstOfFile[f];
}

void listDisk(GameDiskKind kind, DiskSectors* d) {
  *d = DiskSectors{};
  addSector(d, kBootSector, kBootSectorLength);
  if (kind == GameDiskKind::kSystemDisk) {
    addSector(d, kSignatureSector, kSignatureSectorLength);
    for (const FileEntry* entry = systemDiskFiles; entry->sector != 0; ++entry) listFile(d, *entry);
  } else {
    listFile(d, scenarioDisk4File);
  }
}

// Reads one sector into bytes[0..length); true when it is good: found,
// whole, recorded without an error.
bool readOneSector(D88File& disk, const SectorAddress& at, int32_t length, uint8_t* bytes) {
  std::memset(bytes, 0, static_cast<size_t>(length));  // what a missing sector holds
  RunDamage damage;
  const int32_t got =
      disk.readSectors(at.track, at.c, at.h, at.r, at.n, bytes, length, nullptr, &damage);
  return got == length && damage.sectors == 0;
}

// The fingerprint of sectors bytes[s * kRunSectorSize ...] of `d`, those
// not good as zeros; true when all are good.
bool fingerprintOf(const DiskSectors& d, const uint8_t* bytes, const bool* good,
                   char text[kFingerprintSize]) {
  static const uint8_t zeros[kRunSectorSize] = {};
  Sha256 hash;
  bool all = true;
  for (int32_t s = 0; s < d.count; ++s) {
    all = all && good[s];
    hash.add(good[s] ? bytes + static_cast<std::size_t>(s) * kRunSectorSize : zeros,
             static_cast<std::size_t>(d.length[s]));
  }
  uint8_t digest[kSha256Size];
  hash.finish(digest);
  sha256Hex(digest, text);
  return all;
}

}  // namespace

bool copyFingerprint(GameDiskKind kind, const DiskCopy& copy, char text[kFingerprintSize]) {
  return fingerprintOf(diskSectors(kind), copy.bytes, copy.good, text);
}

bool DiskAssembly::fingerprint(int32_t g, char text[kFingerprintSize]) const {
  bool good[kMaxDiskSectors];
  for (int32_t s = 0; s < sectors().count; ++s) good[s] = sourceOf(g, s) >= 0;
  return fingerprintOf(sectors(), group(g).bytes, good, text);
}

const DiskSectors& diskSectors(GameDiskKind kind) {
  const int k = kind == GameDiskKind::kSystemDisk ? 0 : 1;
  if (!listed[k]) {
    listDisk(kind, &layouts[k]);
    listed[k] = true;
  }
  return layouts[k];
}

int32_t fileOfDisk(GameDiskKind kind, const FileEntry& entry) {
  const DiskSectors& d = diskSectors(kind);
  for (int32_t f = 0; f < d.fileCount; ++f) {
    if (d.files[f] == &entry) return f;
  }
  return -1;
}

int32_t readRunBySector(D88File& disk, const FileEntry& entry, uint8_t* bytes, bool* good) {
  DiskSectors run;
  listFile(&run, entry);
  int32_t bad = 0;
  for (int32_t s = 0; s < run.count; ++s) {
    good[s] = readOneSector(disk, run.where[s], run.length[s], bytes + s * kRunSectorSize);
    bad += good[s] ? 0 : 1;
  }
  return bad;
}

int32_t readFileOfCopy(D88File& disk, GameDiskKind kind, int32_t f, DiskCopy* copy) {
  const int32_t first = diskSectors(kind).firstOfFile[f];
  return readRunBySector(disk, *diskSectors(kind).files[f], copy->bytes + first * kRunSectorSize,
                         copy->good + first);
}

void takeSoundFile(GameDiskKind kind, int32_t f, const uint8_t* run, DiskCopy* copy) {
  const DiskSectors& d = diskSectors(kind);
  const int32_t first = d.firstOfFile[f];
  std::memcpy(copy->bytes + first * kRunSectorSize, run,
              static_cast<size_t>(runLength(*d.files[f])));
  for (int32_t s = 0; s < d.sectorsOfFile[f]; ++s) copy->good[first + s] = true;
}

void readRecognitionSectors(D88File& disk, GameDiskKind kind, DiskCopy* copy) {
  const DiskSectors& d = diskSectors(kind);
  const int32_t end = d.fileCount > 0 ? d.firstOfFile[0] : d.count;
  for (int32_t s = 0; s < end; ++s) {
    copy->good[s] = readOneSector(disk, d.where[s], d.length[s], copy->bytes + s * kRunSectorSize);
  }
}

void readDiskCopy(D88File& disk, GameDiskKind kind, DiskCopy* copy) {
  readRecognitionSectors(disk, kind, copy);
  for (int32_t f = 0; f < diskSectors(kind).fileCount; ++f) readFileOfCopy(disk, kind, f, copy);
}

void DiskAssembly::start(GameDiskKind disk) {
  for (int32_t g = 1; g < groupCount; ++g) std::free(moreGroups[g - 1]);
  std::free(moreGroups);
  std::free(moreRecords);
  moreGroups = nullptr;
  moreRecords = nullptr;
  groupRoom = 0;
  recordRoom = 0;
  kind = disk;
  copyCount = 0;
  groupCount = 0;
  firstConfirmedCopy = -1;
  parted = Disagreement{};
}

int32_t DiskAssembly::differsAt(int32_t g, const DiskCopy& copy) const {
  const Group& group = this->group(g);
  const DiskSectors& d = sectors();
  for (int32_t s = 0; s < d.count; ++s) {
    if (group.source[s] < 0 || !copy.good[s]) continue;
    const size_t at = static_cast<size_t>(s) * kRunSectorSize;
    if (std::memcmp(group.bytes + at, copy.bytes + at, static_cast<size_t>(d.length[s])) != 0) {
      return s;
    }
  }
  return -1;
}

// The first group the copy agrees with, or groupCount; *firstDifference:
// where it parts from group 0 (-1 when it agrees with it).
int32_t DiskAssembly::groupFor(const DiskCopy& copy, int32_t* firstDifference) const {
  *firstDifference = -1;
  for (int32_t g = 0; g < groupCount; ++g) {
    const int32_t at = differsAt(g, copy);
    if (at < 0) return g;
    if (g == 0) *firstDifference = at;
  }
  return groupCount;
}

bool DiskAssembly::newGroup(const DiskCopy& copy) {
  if (groupCount > 0) {
    if (groupCount - 1 == groupRoom) {
      const int32_t room = groupRoom < 4 ? 4 : groupRoom * 2;
      void* moved = std::realloc(moreGroups, sizeof(Group*) * static_cast<size_t>(room));
      if (moved == nullptr) return false;
      moreGroups = static_cast<Group**>(moved);
      groupRoom = room;
    }
    moreGroups[groupCount - 1] = static_cast<Group*>(std::malloc(sizeof(Group)));
    if (moreGroups[groupCount - 1] == nullptr) return false;
  }
  Group& g = group(groupCount++);
  g.copies = 0;
  g.confirmed = false;
  std::memcpy(g.bytes, copy.bytes, sizeof g.bytes);
  for (int32_t s = 0; s < kMaxDiskSectors; ++s) g.source[s] = -1;
  return true;
}

bool DiskAssembly::newRecord() {
  if (copyCount > 0 && copyCount - 1 == recordRoom) {
    const int32_t room = recordRoom < 4 ? 4 : recordRoom * 2;
    void* moved = std::realloc(moreRecords, sizeof(Record) * static_cast<size_t>(room));
    if (moved == nullptr) return false;
    moreRecords = static_cast<Record*>(moved);
    recordRoom = room;
  }
  ++copyCount;
  return true;
}

// True when the copy has a sector good that group g has from no copy.
bool DiskAssembly::gives(int32_t g, const DiskCopy& copy) const {
  for (int32_t s = 0; s < sectors().count; ++s) {
    if (copy.good[s] && group(g).source[s] < 0) return true;
  }
  return false;
}

int32_t DiskAssembly::add(const DiskCopy& copy, const char* path, int32_t image, bool confirmed,
                          bool keepEveryCopy) {
  int32_t firstDifference = -1;
  const int32_t g = groupFor(copy, &firstDifference);
  const bool joins = g < groupCount;
  if (joins && !keepEveryCopy && !gives(g, copy) && (!confirmed || group(g).confirmed)) {
    ++group(g).copies;  // agrees, and adds nothing: counted only
    return g;
  }
  if (!joins && !newGroup(copy)) return -1;
  if (!newRecord()) return -1;
  const int32_t c = copyCount - 1;
  Record& r = record(c);
  std::snprintf(r.name.path, sizeof r.name.path, "%s", path != nullptr ? path : "");
  r.name.image = image;
  r.group = g;
  r.confirmed = confirmed;
  Group& group = this->group(g);
  ++group.copies;
  group.confirmed = group.confirmed || confirmed;
  if (confirmed && firstConfirmedCopy < 0) firstConfirmedCopy = c;
  if (g == 1 && parted.sector < 0)
    parted = Disagreement{firstDifference, sourceOf(0, firstDifference), c};
  for (int32_t s = 0; s < sectors().count; ++s) {
    r.good[s] = copy.good[s];
    if (!copy.good[s] || group.source[s] >= 0) continue;
    group.source[s] = c;
    const size_t at = static_cast<size_t>(s) * kRunSectorSize;
    std::memcpy(group.bytes + at, copy.bytes + at, static_cast<size_t>(sectors().length[s]));
  }
  return g;
}

bool DiskAssembly::fileWhole(int32_t g, int32_t f) const {
  const DiskSectors& d = sectors();
  for (int32_t s = 0; s < d.sectorsOfFile[f]; ++s) {
    if (sourceOf(g, d.firstOfFile[f] + s) < 0) return false;
  }
  return g < groupCount;
}

int32_t DiskAssembly::chosenGroup(int32_t f) const {
  for (int32_t g = groupCount - 1; g >= 0; --g) {
    if (confirmed(g) && fileWhole(g, f)) return g;
  }
  return -1;
}

bool DiskAssembly::wholeInOneCopy(int32_t g, int32_t f) const {
  const DiskSectors& d = sectors();
  for (int32_t c = 0; c < copyCount; ++c) {
    if (groupOf(c) != g) continue;
    bool all = true;
    for (int32_t s = 0; s < d.sectorsOfFile[f] && all; ++s) all = good(c, d.firstOfFile[f] + s);
    if (all) return true;
  }
  return false;
}

void DiskAssembly::runOf(int32_t g, int32_t f, uint8_t* run) const {
  const DiskSectors& d = sectors();
  const uint8_t* from = group(g).bytes + static_cast<size_t>(d.firstOfFile[f]) * kRunSectorSize;
  std::memcpy(run, from, static_cast<size_t>(runLength(*d.files[f])));
}
