// SPDX-License-Identifier: MIT
#include "info/copies.h"

#include "game/assembly.h"
#include "info/json_text.h"
#include "info/messages.h"
#include "platform/console.h"

namespace {

FileAssembly copiesOf[kGameFileCount];
RunCopy copyRead;  // one copy at a time

// The first sector no copy of group g has good; -1 when the group is whole.
int32_t firstBadSector(const FileAssembly& a, int32_t g) {
  for (int32_t s = 0; s < a.sectors(); ++s) {
    if (a.sourceOf(g, s) < 0) return s;
  }
  return -1;
}

}  // namespace

void startCopies() {
  for (FileAssembly& a : copiesOf) a.clear();
}

void addCopies(D88File& disk, const GameFindings& game, const char* path, int32_t image) {
  for (int32_t i = 0; i < game.fileCount; ++i) {
    const int index = gameFileIndex(game.files[i].entry);
    if (index < 0) continue;
    readRunCopy(disk, *game.files[i].entry, &copyRead);
    if (disk.readError() != 0) return;
    copiesOf[index].add(copyRead, path, image);
  }
}

void writeTextCopies(std::FILE* out) {
  for (int i = 0; i < kGameFileCount; ++i) {
    const FileAssembly& a = copiesOf[i];
    if (a.copies() < 2) continue;
    const char* name = gameFiles[i]->name;
    if (a.groups() > 1) {
      const SectorAddress& at = a.where(a.disagreement().sector);
      printMessage(out, kInfoCopiesDiffer, name, static_cast<int>(at.track), static_cast<int>(at.c),
                   static_cast<int>(at.h), static_cast<int>(at.r));
    }
    const int32_t g = a.chosenGroup();
    const int32_t bad = firstBadSector(a, g);
    if (bad < 0) {
      printMessage(out, kInfoTogetherWhole, name, static_cast<int>(a.copies()));
    } else {
      const SectorAddress& at = a.where(bad);
      printMessage(out, kInfoTogetherNotWhole, name, static_cast<int>(a.copies()),
                   static_cast<int>(at.track), static_cast<int>(at.c), static_cast<int>(at.h),
                   static_cast<int>(at.r));
    }
  }
}

void writeJsonCopies(std::FILE* out) {
  bool first = true;
  for (int i = 0; i < kGameFileCount; ++i) {
    const FileAssembly& a = copiesOf[i];
    if (a.copies() < 2) continue;
    std::fprintf(out, "%s\"%s\":{\"copies\":%d,\"whole\":%s,\"differ\":%s,\"from\":[",
                 first ? ",\"together\":{" : ",", gameFiles[i]->name, static_cast<int>(a.copies()),
                 a.whole(a.chosenGroup()) ? "true" : "false", a.groups() > 1 ? "true" : "false");
    for (int32_t c = 0; c < a.copies(); ++c) {
      std::fputs(c == 0 ? "{\"path\":" : ",{\"path\":", out);
      writeJsonString(out, a.nameOf(c).path);
      std::fprintf(out, ",\"image\":%d}", static_cast<int>(a.nameOf(c).image));
    }
    std::fputs("],\"sectors\":[", out);
    const int32_t g = a.chosenGroup();
    for (int32_t s = 0; s < a.sectors(); ++s) {
      std::fprintf(out, "%s{\"from\":%d,\"lacking\":[", s == 0 ? "" : ",",
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
    first = false;
  }
  if (!first) std::fputc('}', out);
}
