// SPDX-License-Identifier: MIT
#include "tool/list_copies.h"

#include <cstdlib>
#include <cstring>

#include "game/assembly.h"
#include "platform/console.h"
#include "platform/json_string.h"
#include "tool/assemble.h"
#include "tool/messages.h"

namespace {

// A copy of scenario disk 1, 2 or 3: where it is.
struct PlainCopy {
  char* path;
  int32_t image;
};

struct PlainCopies {
  PlainCopy* copies = nullptr;
  int32_t count = 0;
  int32_t room = 0;
};

PlainCopies scenarioCopies[3];  // scenario disks 1, 2 and 3
bool listingOn = false;

void forget(PlainCopies* list) {
  for (int32_t i = 0; i < list->count; ++i) std::free(list->copies[i].path);
  std::free(list->copies);
  *list = PlainCopies{};
}

const char* copiesWord(int32_t n) { return n == 1 ? "copy" : "copies"; }

// True when the run would cut file f from copy c: it gives a sector of the
// group that gives the file whole, or, where none does, it is the first
// recognised copy, whose flawed file stays.
bool cutsFrom(const DiskAssembly& a, int32_t c, int32_t f) {
  const int32_t g = a.chosenGroup(f);
  if (g < 0) return c == a.firstConfirmed();
  const DiskSectors& d = a.sectors();
  for (int32_t s = d.firstOfFile[f]; s < d.firstOfFile[f] + d.sectorsOfFile[f]; ++s) {
    if (a.sourceOf(g, s) == c) return true;
  }
  return false;
}

// The first sector of file f copy c lacks, or -1.
int32_t firstLacked(const DiskAssembly& a, int32_t c, int32_t f) {
  const DiskSectors& d = a.sectors();
  for (int32_t s = d.firstOfFile[f]; s < d.firstOfFile[f] + d.sectorsOfFile[f]; ++s) {
    if (!a.good(c, s)) return s;
  }
  return -1;
}

void writeTextCopy(std::FILE* out, const DiskAssembly& a, int32_t c) {
  const DiskSectors& d = a.sectors();
  char release[kFingerprintSize];
  a.fingerprint(a.groupOf(c), release);
  printMessage(out, kListCopy, Shown(a.nameOf(c).path, out).text(),
               static_cast<int>(a.nameOf(c).image), a.copyConfirmed(c) ? "" : kListCutShort);
  printMessage(out, kListRelease, release);
  for (int32_t f = 0; f < d.fileCount; ++f) {
    const int32_t bad = firstLacked(a, c, f);
    if (bad < 0) {
      printMessage(out, kListFileWhole, f == 0 ? "; " : ", ", d.files[f]->name);
    } else {
      const SectorAddress& at = d.where[bad];
      printMessage(out, kListFileFails, f == 0 ? "; " : ", ", d.files[f]->name,
                   static_cast<int>(at.track), static_cast<int>(at.c), static_cast<int>(at.h),
                   static_cast<int>(at.r));
    }
  }
  const char* separator = kListCutFrom;
  for (int32_t f = 0; f < d.fileCount; ++f) {
    if (!cutsFrom(a, c, f)) continue;
    printMessage(out, "%s%s", separator, d.files[f]->name);
    separator = ", ";
  }
  writeMessage(out, kLineEnd);
}

void writeTextDisk(std::FILE* out, const char* name, GameDiskKind kind) {
  const DiskAssembly& a = copiesOfDisk(kind);
  if (a.copies() == 0) return printMessage(out, kListNone, name);
  printMessage(out, kListDisk, name, static_cast<int>(a.copies()), copiesWord(a.copies()),
               static_cast<int>(a.groups()), a.groups() == 1 ? "release" : "releases");
  for (int32_t c = 0; c < a.copies(); ++c) writeTextCopy(out, a, c);
}

void writeTextPlain(std::FILE* out, const char* name, const PlainCopies& list) {
  if (list.count == 0) return printMessage(out, kListNone, name);
  printMessage(out, kListPlainDisk, name, static_cast<int>(list.count), copiesWord(list.count));
  for (int32_t i = 0; i < list.count; ++i) {
    printMessage(out, kListCopy, Shown(list.copies[i].path, out).text(),
                 static_cast<int>(list.copies[i].image), "");
  }
}

void writeJsonCopy(std::FILE* out, const DiskAssembly& a, int32_t c) {
  const DiskSectors& d = a.sectors();
  std::fputs(c == 0 ? "{\"path\":" : ",{\"path\":", out);
  writeJsonString(out, a.nameOf(c).path);
  char release[kFingerprintSize];
  a.fingerprint(a.groupOf(c), release);
  std::fprintf(out, ",\"image\":%d,\"cutShort\":%s,\"fingerprint\":\"%s\",\"files\":{",
               static_cast<int>(a.nameOf(c).image), a.copyConfirmed(c) ? "false" : "true", release);
  for (int32_t f = 0; f < d.fileCount; ++f) {
    const int32_t bad = firstLacked(a, c, f);
    std::fprintf(out, "%s\"%s\":{\"whole\":%s", f == 0 ? "" : ",", d.files[f]->name,
                 bad < 0 ? "true" : "false");
    if (bad >= 0) {
      const SectorAddress& at = d.where[bad];
      std::fprintf(out, ",\"failsAt\":{\"track\":%d,\"c\":%d,\"h\":%d,\"r\":%d}",
                   static_cast<int>(at.track), static_cast<int>(at.c), static_cast<int>(at.h),
                   static_cast<int>(at.r));
    }
    std::fputc('}', out);
  }
  std::fputs("},\"cutFrom\":[", out);
  bool first = true;
  for (int32_t f = 0; f < d.fileCount; ++f) {
    if (!cutsFrom(a, c, f)) continue;
    std::fprintf(out, "%s\"%s\"", first ? "" : ",", d.files[f]->name);
    first = false;
  }
  std::fputs("]}", out);
}

void writeJsonPlain(std::FILE* out, const PlainCopies& list) {
  for (int32_t i = 0; i < list.count; ++i) {
    std::fputs(i == 0 ? "{\"path\":" : ",{\"path\":", out);
    writeJsonString(out, list.copies[i].path);
    std::fprintf(out, ",\"image\":%d}", static_cast<int>(list.copies[i].image));
  }
}

}  // namespace

void startList(bool listing) {
  listingOn = listing;
  for (PlainCopies& list : scenarioCopies) forget(&list);
}

bool listScenarioCopy(int32_t scenario, const char* path, int32_t image) {
  if (!listingOn) return true;
  if (scenario < 1 || scenario > 3) return false;
  PlainCopies& list = scenarioCopies[scenario - 1];
  if (list.count == list.room) {
    const int32_t room = list.room < 4 ? 4 : list.room * 2;
    void* moved = std::realloc(list.copies, sizeof(PlainCopy) * static_cast<std::size_t>(room));
    if (moved == nullptr) return false;
    list.copies = static_cast<PlainCopy*>(moved);
    list.room = room;
  }
  const std::size_t length = std::strlen(path);
  char* copy = static_cast<char*>(std::malloc(length + 1));
  if (copy == nullptr) return false;
  std::memcpy(copy, path, length + 1);
  list.copies[list.count++] = PlainCopy{copy, image};
  return true;
}

void writeCopyList(std::FILE* out, bool json) {
  if (!json) {
    writeTextDisk(out, kSystemDiskName, GameDiskKind::kSystemDisk);
    for (int32_t s = 1; s <= 3; ++s) {
      char name[32];
      std::snprintf(name, sizeof name, "scenario disk %d", static_cast<int>(s));
      writeTextPlain(out, name, scenarioCopies[s - 1]);
    }
    writeTextDisk(out, kScenarioDisk4Name, GameDiskKind::kScenarioDisk4);
    return;
  }
  std::fputs("{\"disks\":[{\"disk\":\"system\",\"copies\":[", out);
  const DiskAssembly& system = copiesOfDisk(GameDiskKind::kSystemDisk);
  for (int32_t c = 0; c < system.copies(); ++c) writeJsonCopy(out, system, c);
  for (int32_t s = 1; s <= 3; ++s) {
    std::fprintf(out, "]},{\"disk\":\"scenario %d\",\"copies\":[", static_cast<int>(s));
    writeJsonPlain(out, scenarioCopies[s - 1]);
  }
  std::fputs("]},{\"disk\":\"scenario 4\",\"copies\":[", out);
  const DiskAssembly& scenario4 = copiesOfDisk(GameDiskKind::kScenarioDisk4);
  for (int32_t c = 0; c < scenario4.copies(); ++c) writeJsonCopy(out, scenario4, c);
  std::fputs("]}]}\n", out);
}
