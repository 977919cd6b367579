// SPDX-License-Identifier: MIT
#include "tool/assemble.h"

#include <cstdio>
#include <cstring>

#include "platform/console.h"
#include "tool/messages.h"

namespace {

// The copies of one of the game's disks.
struct DiskCopies {
  DiskAssembly assembly;
  bool firstCutDone;  // the first recognised copy was cut, as designed
  bool cuttingFirst;  // the copy begun is that first one
  CutStatus firstStatus[kMaxFilesOfADisk];
};

constexpr GameDiskKind kDiskKinds[] = {GameDiskKind::kSystemDisk, GameDiskKind::kScenarioDisk4};
DiskCopies disks[2];
DiskCopy copyRead;  // one copy at a time
uint8_t assembledRun[kMaxRunSectors * kRunSectorSize];
int assembled = 0;
bool everyCopy = false;  // record every copy, for the list

DiskCopies& copiesOf(GameDiskKind kind) { return disks[kind == GameDiskKind::kSystemDisk ? 0 : 1]; }

const char* diskName(GameDiskKind kind) {
  return kind == GameDiskKind::kSystemDisk ? kSystemDiskName : kScenarioDisk4Name;
}

const char* plural(int32_t n) { return n == 1 ? "sector" : "sectors"; }

// Every copy of the disk, recorded or only counted.
int32_t allCopies(const DiskAssembly& a) {
  int32_t n = 0;
  for (int32_t g = 0; g < a.groups(); ++g) n += a.copiesIn(g);
  return n;
}

// How group g made file f: the sectors each copy gave, then those each lacked.
void noteAssembly(const Extraction& x, const DiskAssembly& a, int32_t g, int32_t f) {
  const DiskSectors& d = a.sectors();
  const int32_t first = d.firstOfFile[f];
  printReport(x.out, x.err, kAssembledFrom, d.files[f]->name, static_cast<int>(a.copiesIn(g)));
  const char* separator = " ";
  for (int32_t c = 0; c < a.copies(); ++c) {
    int32_t gave = 0;
    for (int32_t s = first; s < first + d.sectorsOfFile[f]; ++s) gave += a.sourceOf(g, s) == c;
    if (a.groupOf(c) != g || gave == 0) continue;
    printMessage(x.err, kAssembledPart, separator, static_cast<int>(gave), plural(gave),
                 Shown(a.nameOf(c).path, x.err).text(), static_cast<int>(a.nameOf(c).image));
    separator = ", ";
  }
  for (int32_t c = 0; c < a.copies(); ++c) {
    int32_t lacked = 0;
    int32_t firstLacked = -1;
    for (int32_t s = first; s < first + d.sectorsOfFile[f]; ++s) {
      if (a.good(c, s)) continue;
      firstLacked = firstLacked < 0 ? s : firstLacked;
      ++lacked;
    }
    if (a.groupOf(c) != g || lacked == 0) continue;
    const SectorAddress& at = d.where[firstLacked];
    printMessage(x.err, kAssembledLacked, Shown(a.nameOf(c).path, x.err).text(),
                 static_cast<int>(a.nameOf(c).image), static_cast<int>(lacked), plural(lacked),
                 static_cast<int>(at.track), static_cast<int>(at.c), static_cast<int>(at.h),
                 static_cast<int>(at.r));
  }
  writeMessage(x.err, kLineEnd);
}

void noteDisagreement(const Extraction& x, GameDiskKind kind, const DiskAssembly& a) {
  const Disagreement& parted = a.disagreement();
  const SectorAddress& at = a.sectors().where[parted.sector];
  const CopyName& earlier = a.nameOf(parted.earlierCopy);
  const CopyName& later = a.nameOf(parted.laterCopy);
  printReport(x.out, x.err, kCopiesDiffer, diskName(kind), static_cast<int>(at.track),
              static_cast<int>(at.c), static_cast<int>(at.h), static_cast<int>(at.r),
              Shown(earlier.path, x.err).text(), static_cast<int>(earlier.image));
  printMessage(x.err, kCopiesDifferLater, Shown(later.path, x.err).text(),
               static_cast<int>(later.image));
}

// No group gives file f whole: the first of its sectors group g lacks.
void warnNotWhole(const Extraction& x, const DiskAssembly& a, int32_t g, int32_t f) {
  const DiskSectors& d = a.sectors();
  int32_t s = d.firstOfFile[f];
  while (s < d.firstOfFile[f] + d.sectorsOfFile[f] - 1 && a.sourceOf(g, s) >= 0) ++s;
  const SectorAddress& at = d.where[s];
  printReport(x.out, x.err, kWholeInNoCopy, d.files[f]->name, static_cast<int>(allCopies(a)),
              static_cast<int>(at.track), static_cast<int>(at.c), static_cast<int>(at.h),
              static_cast<int>(at.r));
}

// Writes group g's file f; false when it could not be written.
bool writeGroup(const Extraction& base, const DiskAssembly& a, int32_t g, int32_t f, bool whole,
                bool assembledHere) {
  int32_t last = 0;
  for (int32_t c = 0; c < a.copies(); ++c) last = a.groupOf(c) == g ? c : last;
  const FileEntry& entry = *a.sectors().files[f];
  a.runOf(g, f, assembledRun);
  Extraction x = base;
  x.buffer = assembledRun;
  x.path = a.nameOf(last).path;
  x.image = a.nameOf(last).image;
  char state[64];
  if (assembledHere) {
    std::snprintf(state, sizeof state, kDryRunAssembled,
                  whole ? kDryRunComplete : kDryRunIncomplete, static_cast<int>(a.copiesIn(g)));
  } else {
    std::snprintf(state, sizeof state, "%s", kDryRunComplete);
  }
  return writeAssembledFile(x, entry, whole, state) != CutStatus::kNotWritten;
}

// True when group g holds a sector of file f that copy c lacked.
bool gainedOver(const DiskAssembly& a, int32_t g, int32_t f, int32_t c) {
  const DiskSectors& d = a.sectors();
  for (int32_t s = d.firstOfFile[f]; s < d.firstOfFile[f] + d.sectorsOfFile[f]; ++s) {
    if (!a.good(c, s) && a.sourceOf(g, s) >= 0) return true;
  }
  return false;
}

// The end of file f's assembly; false when its file could not be written.
bool finishFile(const Extraction& x, const DiskCopies& disk, int32_t f) {
  const DiskAssembly& a = disk.assembly;
  const int32_t firstCopy = a.firstConfirmed();
  const int32_t firstGroup = a.groupOf(firstCopy);
  const CutStatus first = disk.firstStatus[f];
  const int32_t g = a.chosenGroup(f);
  if (g < 0) {
    warnNotWhole(x, a, firstGroup, f);
    // A better flawed file than the first copy's, over that one only.
    const bool writtenFlawed = first == CutStatus::kIncomplete || first == CutStatus::kDamaged;
    if (!writtenFlawed || !gainedOver(a, firstGroup, f, firstCopy)) return true;
    noteAssembly(x, a, firstGroup, f);
    return writeGroup(x, a, firstGroup, f, false, true);
  }
  // The first copy's sound file is group g's already.
  if (first == CutStatus::kComplete && firstGroup == g) return true;
  if (first == CutStatus::kKeptExisting && !x.dryRun) {
    printReport(x.out, x.err, kKeptReplaced, a.sectors().files[f]->name);
  }
  const bool assembledHere = !a.wholeInOneCopy(g, f);
  if (assembledHere) {
    noteAssembly(x, a, g, f);
    ++assembled;
  }
  return writeGroup(x, a, g, f, true, assembledHere);
}

}  // namespace

void startAssembly(bool recordEveryCopy) {
  everyCopy = recordEveryCopy;
  for (GameDiskKind kind : kDiskKinds) {
    DiskCopies& disk = copiesOf(kind);
    disk.assembly.start(kind);
    disk.firstCutDone = false;
    disk.cuttingFirst = false;
  }
  assembled = 0;
}

void beginDiskCopy(GameDiskKind kind) {
  DiskCopies& disk = copiesOf(kind);
  disk.cuttingFirst = !disk.firstCutDone;
  std::memset(copyRead.good, 0, sizeof copyRead.good);
}

CutStatus cutCopy(const Extraction& x, GameDiskKind kind, const FileEntry& entry) {
  DiskCopies& disk = copiesOf(kind);
  Extraction own = x;
  own.copy = &copyRead;
  own.copyKind = kind;
  own.copyFile = fileOfDisk(kind, entry);
  if (own.copyFile < 0) return cutFile(x, entry);
  own.laterCopy = !disk.cuttingFirst;
  const CutStatus status = cutFile(own, entry);
  if (disk.cuttingFirst) disk.firstStatus[own.copyFile] = status;
  if (status == CutStatus::kReadFailed || disk.cuttingFirst) return status;
  return CutStatus::kComplete;
}

bool endDiskCopy(const Extraction& x, GameDiskKind kind) {
  DiskCopies& disk = copiesOf(kind);
  readRecognitionSectors(x.disk, kind, &copyRead);
  if (x.disk.readError() != 0) return false;
  disk.firstCutDone = disk.firstCutDone || disk.cuttingFirst;
  if (disk.assembly.add(copyRead, x.path, x.image, true, everyCopy) < 0) {
    printReport(x.out, x.err, kCopyNotAssembled, Shown(x.path, x.err).text(),
                static_cast<int>(x.image));
  }
  return true;
}

bool addCutShortCopy(const Extraction& x) {
  readDiskCopy(x.disk, GameDiskKind::kSystemDisk, &copyRead);
  if (x.disk.readError() != 0) return false;
  if (copiesOf(GameDiskKind::kSystemDisk)
          .assembly.add(copyRead, x.path, x.image, false, everyCopy) < 0) {
    printReport(x.out, x.err, kCopyNotAssembled, Shown(x.path, x.err).text(),
                static_cast<int>(x.image));
  }
  return true;
}

bool finishAssembly(const Extraction& x) {
  bool written = true;
  for (GameDiskKind kind : kDiskKinds) {
    const DiskCopies& disk = copiesOf(kind);
    const DiskAssembly& a = disk.assembly;
    // A disk seen once, or only cut short: nothing to assemble.
    if (a.firstConfirmed() < 0 || allCopies(a) < 2) continue;
    if (a.groups() > 1) noteDisagreement(x, kind, a);
    for (int32_t f = 0; f < a.sectors().fileCount; ++f) {
      written = finishFile(x, disk, f) && written;
    }
  }
  return written;
}

int assembledFiles() { return assembled; }

const DiskAssembly& copiesOfDisk(GameDiskKind kind) { return copiesOf(kind).assembly; }
