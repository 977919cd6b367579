// SPDX-License-Identifier: MIT
#include "tool/assemble.h"

#include <cstdio>
#include <cstring>

#include "game/assembly.h"
#include "platform/console.h"
#include "tool/messages.h"

namespace {

// The copies of one of the game's files.
struct FileCopies {
  FileAssembly assembly;
  bool firstSound;  // the first copy's cut was whole and undamaged, and written
  bool firstWrittenFlawed;
};

FileCopies copiesOf[kGameFileCount];
RunCopy copyRead;  // one copy at a time
uint8_t assembledRun[kMaxRunSectors * kRunSectorSize];
int assembled = 0;

const char* plural(int32_t n) { return n == 1 ? "sector" : "sectors"; }

// How group g was assembled: the sectors each copy gave, then those each lacked.
void noteAssembly(const Extraction& x, const FileEntry& entry, const FileCopies& file, int32_t g) {
  const FileAssembly& a = file.assembly;
  int32_t copies = 0;
  for (int32_t c = 0; c < a.copies(); ++c) copies += a.groupOf(c) == g;
  printReport(x.out, x.err, kAssembledFrom, entry.name, static_cast<int>(copies));
  const char* separator = " ";
  for (int32_t c = 0; c < a.copies(); ++c) {
    int32_t gave = 0;
    for (int32_t s = 0; s < a.sectors(); ++s) gave += a.sourceOf(g, s) == c;
    if (a.groupOf(c) != g || gave == 0) continue;
    printMessage(x.err, kAssembledPart, separator, static_cast<int>(gave), plural(gave),
                 Shown(a.nameOf(c).path, x.err).text(), static_cast<int>(a.nameOf(c).image));
    separator = ", ";
  }
  for (int32_t c = 0; c < a.copies(); ++c) {
    int32_t lacked = 0;
    int32_t first = -1;
    for (int32_t s = 0; s < a.sectors(); ++s) {
      if (a.good(c, s)) continue;
      first = first < 0 ? s : first;
      ++lacked;
    }
    if (a.groupOf(c) != g || lacked == 0) continue;
    const SectorAddress& at = a.where(first);
    printMessage(x.err, kAssembledLacked, Shown(a.nameOf(c).path, x.err).text(),
                 static_cast<int>(a.nameOf(c).image), static_cast<int>(lacked), plural(lacked),
                 static_cast<int>(at.track), static_cast<int>(at.c), static_cast<int>(at.h),
                 static_cast<int>(at.r));
  }
  writeMessage(x.err, kLineEnd);
}

void noteDisagreement(const Extraction& x, const FileEntry& entry, const FileCopies& file) {
  const Disagreement& parted = file.assembly.disagreement();
  const SectorAddress& at = file.assembly.where(parted.sector);
  const CopyName& earlier = file.assembly.nameOf(parted.earlierCopy);
  const CopyName& later = file.assembly.nameOf(parted.laterCopy);
  printReport(x.out, x.err, kCopiesDiffer, entry.name, static_cast<int>(at.track),
              static_cast<int>(at.c), static_cast<int>(at.h), static_cast<int>(at.r),
              Shown(earlier.path, x.err).text(), static_cast<int>(earlier.image));
  printMessage(x.err, kCopiesDifferLater, Shown(later.path, x.err).text(),
               static_cast<int>(later.image));
}

// No group gives the file whole: the first sector the first group lacks.
void warnNotWhole(const Extraction& x, const FileEntry& entry, const FileAssembly& a) {
  int32_t s = 0;
  while (s < a.sectors() && a.sourceOf(0, s) >= 0) ++s;
  const SectorAddress& at = a.where(s);
  printReport(x.out, x.err, kWholeInNoCopy, entry.name, static_cast<int>(a.copies()),
              static_cast<int>(at.track), static_cast<int>(at.c), static_cast<int>(at.h),
              static_cast<int>(at.r));
}

// Writes group g's file; false when it could not be written.
bool writeGroup(const Extraction& base, const FileEntry& entry, const FileCopies& file, int32_t g,
                bool whole, bool assembledHere) {
  const FileAssembly& a = file.assembly;
  int32_t last = 0;
  int32_t copies = 0;
  for (int32_t c = 0; c < a.copies(); ++c) {
    if (a.groupOf(c) != g) continue;
    last = c;
    ++copies;
  }
  std::memcpy(assembledRun, a.runOf(g), static_cast<size_t>(runLength(entry)));
  Extraction x = base;
  x.buffer = assembledRun;
  x.path = a.nameOf(last).path;
  x.image = a.nameOf(last).image;
  char state[64];
  if (assembledHere) {
    std::snprintf(state, sizeof state, kDryRunAssembled,
                  whole ? kDryRunComplete : kDryRunIncomplete, static_cast<int>(copies));
  } else {
    std::snprintf(state, sizeof state, "%s", kDryRunComplete);
  }
  return writeAssembledFile(x, entry, whole, state) != CutStatus::kNotWritten;
}

// True when group 0 holds a sector its first copy lacked.
bool gainedOverFirstCopy(const FileAssembly& a) {
  for (int32_t s = 0; s < a.sectors(); ++s) {
    if (!a.good(0, s) && a.sourceOf(0, s) >= 0) return true;
  }
  return false;
}

// The end of one file's assembly; false when its file could not be written.
bool finishFile(const Extraction& x, const FileEntry& entry, const FileCopies& file) {
  const FileAssembly& a = file.assembly;
  const int32_t g = a.chosenGroup();
  const bool whole = a.whole(g);
  if (a.groups() > 1) noteDisagreement(x, entry, file);
  if (!whole) {
    warnNotWhole(x, entry, a);
    // A better flawed file than the first copy's, over that one only.
    if (!file.firstWrittenFlawed || !gainedOverFirstCopy(a)) return true;
    noteAssembly(x, entry, file, 0);
    return writeGroup(x, entry, file, 0, false, true);
  }
  // The first copy's sound file is group g's already.
  if (file.firstSound && a.groupOf(0) == g) return true;
  const bool assembledHere = !a.wholeInOneCopy(g);
  if (assembledHere) {
    noteAssembly(x, entry, file, g);
    ++assembled;
  }
  return writeGroup(x, entry, file, g, true, assembledHere);
}

}  // namespace

void startAssembly() {
  for (FileCopies& file : copiesOf) {
    file.assembly.clear();
    file.firstSound = false;
    file.firstWrittenFlawed = false;
  }
  assembled = 0;
}

CutStatus cutCopy(const Extraction& x, const FileEntry& entry) {
  const int index = gameFileIndex(&entry);
  if (index < 0) return cutFile(x, entry);
  FileCopies& file = copiesOf[index];
  const int32_t copy = file.assembly.copies();
  CutStatus status = CutStatus::kComplete;
  if (copy == 0) {
    status = cutFile(x, entry);
    if (status == CutStatus::kReadFailed) return status;
    file.firstSound = status == CutStatus::kComplete;
    file.firstWrittenFlawed = status == CutStatus::kIncomplete || status == CutStatus::kDamaged;
    if (file.firstSound) {  // the common case: one copy into the group, no more
      file.assembly.addSoundFirstCopy(entry, x.buffer, x.path, x.image);
      return status;
    }
    readRunCopy(x.disk, entry, &copyRead);
  } else {
    Extraction later = x;
    later.laterCopy = true;
    const CutStatus own = cutFile(later, entry);
    if (own == CutStatus::kReadFailed) return own;
    if (own == CutStatus::kComplete) {
      soundRunCopy(entry, x.buffer, &copyRead);
    } else {
      readRunCopy(x.disk, entry, &copyRead);
    }
  }
  if (x.disk.readError() != 0) return copy == 0 ? status : CutStatus::kReadFailed;
  file.assembly.add(copyRead, x.path, x.image);  // past the tables: not assembled
  return status;
}

bool finishAssembly(const Extraction& x) {
  bool written = true;
  for (int i = 0; i < kGameFileCount; ++i) {
    if (copiesOf[i].assembly.copies() < 2) continue;
    written = finishFile(x, *gameFiles[i], copiesOf[i]) && written;
  }
  return written;
}

int assembledFiles() { return assembled; }
