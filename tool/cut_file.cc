// SPDX-License-Identifier: MIT
#include "tool/cut_file.h"

#include <cstring>

#include "game/file_run.h"
#include "platform/console.h"
#include "platform/output_file.h"
#include "tool/messages.h"

namespace {

// What kept a flawed cut from replacing a file: nothing, this run's
// complete copy, or the file that was already in the folder.
struct KeptCopy {
  CopySource earlier;  // image -1 when none
  bool existing = false;
  bool any() const { return earlier.image >= 0 || existing; }
};

// The file that stays when a flawed cut of `name` is not written.
KeptCopy keptCopyOf(const Extraction& extraction, const char* name) {
  KeptCopy kept;
  if (extraction.complete != nullptr) kept.earlier = extraction.complete->sourceOf(name);
  kept.existing = kept.earlier.image < 0 && fileExists(name);
  return kept;
}

void writeKept(const Extraction& extraction, const KeptCopy& kept) {
  if (kept.earlier.image >= 0 && extraction.namesPath) {
    printMessage(extraction.err, kKeptEarlierCopyOfFile, Shown(kept.earlier.path).text(),
                 static_cast<int>(kept.earlier.image));
  } else if (kept.earlier.image >= 0) {
    printMessage(extraction.err, kKeptEarlierCopy, static_cast<int>(kept.earlier.image));
  } else if (kept.existing) {
    writeMessage(extraction.err, kKeptExistingFile);
  }
  writeMessage(extraction.err, kLineEnd);
}

// Warns of an incomplete run (`stop`) and of damaged sectors (`damage`), as
// far as there are any; the last warning says which copy was kept.
void reportFlaws(const Extraction& extraction, const FileEntry& entry, int32_t found,
                 const RunStop& stop, const RunDamage& damage, const KeptCopy& kept) {
  const int image = static_cast<int>(extraction.image);
  if (stop.reason != RunStop::kNone) {
    char where[kRunStopTextSize];
    describeRunStop(stop, where);
    const int fileFound = static_cast<int>(fileBytesFound(found, entry.offset, entry.length));
    const int length = static_cast<int>(entry.length);
    if (extraction.namesPath) {
      printReport(extraction.out, extraction.err, kIncompleteRunOfFile, entry.name,
                  Shown(extraction.path).text(), image, fileFound, length, where);
    } else {
      printReport(extraction.out, extraction.err, kIncompleteRun, entry.name, image, fileFound,
                  length, where);
    }
    if (damage.sectors == 0) return writeKept(extraction, kept);
    writeMessage(extraction.err, kLineEnd);
  }
  char which[kRunDamageTextSize];
  describeRunDamage(damage, which);
  if (extraction.namesPath) {
    printReport(extraction.out, extraction.err, kDamagedRunOfFile, entry.name,
                Shown(extraction.path).text(), image, which);
  } else {
    printReport(extraction.out, extraction.err, kDamagedRun, entry.name, image, which);
  }
  writeKept(extraction, kept);
}

}  // namespace

CopySource CompleteFiles::sourceOf(const char* name) const {
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(entries[i].name, name) == 0) return entries[i].source;
  }
  return CopySource{};
}

void CompleteFiles::record(const char* name, CopySource source) {
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(entries[i].name, name) == 0) {
      entries[i].source = source;
      return;
    }
  }
  if (count < kMaxFiles) entries[count++] = Entry{name, source};
}

CutStatus cutFile(const Extraction& extraction, const FileEntry& entry) {
  RunStop stop;
  RunDamage damage;
  const int32_t found = readFileRun(extraction.disk, entry, extraction.buffer, &stop, &damage);
  if (extraction.disk.readError() != 0) return CutStatus::kReadFailed;
  printMessage(extraction.out, kCutting, entry.name);

  // A flawed cut never replaces a file of its name: neither a complete copy
  // of this run nor a file that was in the folder before.
  const bool sound = found == runLength(entry) && damage.sectors == 0;
  const KeptCopy kept = sound ? KeptCopy{} : keptCopyOf(extraction, entry.name);
  const int error = kept.any() ? 0
                               : replaceFile(entry.name, extraction.buffer + entry.offset,
                                             static_cast<std::size_t>(entry.length));
  if (!sound) reportFlaws(extraction, entry, found, stop, damage, kept);
  if (error != 0) {
    printReport(extraction.out, extraction.err, kWriteFailure, entry.name, std::strerror(error));
    return CutStatus::kNotWritten;
  }
  if (kept.earlier.image >= 0) return CutStatus::kKeptEarlier;
  if (kept.existing) return CutStatus::kKeptExisting;
  if (!sound) return CutStatus::kIncomplete;
  if (extraction.complete != nullptr) {
    extraction.complete->record(entry.name, CopySource{extraction.path, extraction.image});
  }
  return CutStatus::kComplete;
}
