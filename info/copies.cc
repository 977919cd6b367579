// SPDX-License-Identifier: MIT
#include "info/copies.h"

#include "game/assembly.h"
#include "info/json_text.h"
#include "info/messages.h"
#include "platform/console.h"

namespace {

constexpr GameDiskKind kDiskKinds[] = {GameDiskKind::kSystemDisk, GameDiskKind::kScenarioDisk4};
DiskAssembly disks[2];
DiskCopy copyRead;  // one copy at a time

DiskAssembly& copiesOf(GameDiskKind kind) {
  return disks[kind == GameDiskKind::kSystemDisk ? 0 : 1];
}

const char* diskName(GameDiskKind kind) {
  return kind == GameDiskKind::kSystemDisk ? "the system disk" : "scenario disk 4";
}

// The group whose file f is reported: the one d88cut writes, else the first
// recognised copy's.
int32_t reportedGroup(const DiskAssembly& a, int32_t f) {
  const int32_t g = a.chosenGroup(f);
  return g >= 0 ? g : a.groupOf(a.firstConfirmed());
}

// The first sector of file f no copy of group g has good; -1 when none.
int32_t firstBadSector(const DiskAssembly& a, int32_t g, int32_t f) {
  const DiskSectors& d = a.sectors();
  for (int32_t s = d.firstOfFile[f]; s < d.firstOfFile[f] + d.sectorsOfFile[f]; ++s) {
    if (a.sourceOf(g, s) < 0) return s;
  }
  return -1;
}

// True when the disk's copies are worth a word: two or more, one recognised.
bool reported(const DiskAssembly& a) { return a.copies() >= 2 && a.firstConfirmed() >= 0; }

void writeTextFile(std::FILE* out, const DiskAssembly& a, int32_t f) {
  const DiskSectors& d = a.sectors();
  const int32_t bad = firstBadSector(a, reportedGroup(a, f), f);
  if (a.chosenGroup(f) >= 0) {
    printMessage(out, kInfoTogetherWhole, d.files[f]->name, static_cast<int>(a.copies()));
  } else {
    const SectorAddress& at = d.where[bad];
    printMessage(out, kInfoTogetherNotWhole, d.files[f]->name, static_cast<int>(a.copies()),
                 static_cast<int>(at.track), static_cast<int>(at.c), static_cast<int>(at.h),
                 static_cast<int>(at.r));
  }
}

void writeJsonFile(std::FILE* out, const DiskAssembly& a, int32_t f, bool first) {
  const DiskSectors& d = a.sectors();
  std::fprintf(out, "%s\"%s\":{\"copies\":%d,\"whole\":%s,\"differ\":%s,\"from\":[",
               first ? ",\"together\":{" : ",", d.files[f]->name, static_cast<int>(a.copies()),
               a.chosenGroup(f) >= 0 ? "true" : "false", a.groups() > 1 ? "true" : "false");
  for (int32_t c = 0; c < a.copies(); ++c) {
    std::fputs(c == 0 ? "{\"path\":" : ",{\"path\":", out);
    writeJsonString(out, a.nameOf(c).path);
    std::fprintf(out, ",\"image\":%d}", static_cast<int>(a.nameOf(c).image));
  }
  std::fputs("],\"sectors\":[", out);
  const int32_t g = reportedGroup(a, f);
  for (int32_t s = d.firstOfFile[f]; s < d.firstOfFile[f] + d.sectorsOfFile[f]; ++s) {
    std::fprintf(out, "%s{\"from\":%d,\"lacking\":[", s == d.firstOfFile[f] ? "" : ",",
                 static_cast<int>(a.sourceOf(g, s)));
    bool firstLacking = true;
    for (int32_t c = 0; c < a.copies(); ++c) {
      if (a.good(c, s)) continue;
      std::fprintf(out, "%s%d", firstLacking ? "" : ",", static_cast<int>(c));
      firstLacking = false;
    }
    std::fputs("]}", out);
  }
  std::fputs("]}", out);
}

}  // namespace

void startCopies() {
  for (GameDiskKind kind : kDiskKinds) copiesOf(kind).start(kind);
}

void addCopies(D88File& disk, GameFindings* game, const char* path, int32_t image) {
  const DiskRecognition& r = game->recognition;
  const bool system = r.kind == DiskRecognition::kSystemDisk || r.cutShortSystemDisk;
  if (!system && r.scenario != 4) return;
  const GameDiskKind kind = system ? GameDiskKind::kSystemDisk : GameDiskKind::kScenarioDisk4;
  readDiskCopy(disk, kind, &copyRead);
  if (disk.readError() != 0) return;
  game->fingerprintWhole = copyFingerprint(kind, copyRead, game->fingerprint);
  copiesOf(kind).add(copyRead, path, image, !r.cutShortSystemDisk, true);
}

void writeTextCopies(std::FILE* out) {
  for (GameDiskKind kind : kDiskKinds) {
    const DiskAssembly& a = copiesOf(kind);
    if (!reported(a)) continue;
    if (a.groups() > 1) {
      const SectorAddress& at = a.sectors().where[a.disagreement().sector];
      printMessage(out, kInfoCopiesDiffer, diskName(kind), static_cast<int>(at.track),
                   static_cast<int>(at.c), static_cast<int>(at.h), static_cast<int>(at.r));
    }
    for (int32_t f = 0; f < a.sectors().fileCount; ++f) writeTextFile(out, a, f);
  }
}

void writeJsonCopies(std::FILE* out) {
  bool first = true;
  for (GameDiskKind kind : kDiskKinds) {
    const DiskAssembly& a = copiesOf(kind);
    if (!reported(a)) continue;
    for (int32_t f = 0; f < a.sectors().fileCount; ++f) {
      writeJsonFile(out, a, f, first);
      first = false;
    }
  }
  if (!first) std::fputc('}', out);
}
