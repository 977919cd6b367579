// SPDX-License-Identifier: MIT
#include "tool/cut_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/file_run.h"
#include "platform/console.h"
#include "platform/output_file.h"
#include "tool/command_line.h"
#include "tool/messages.h"

namespace {

// What kept a flawed cut from replacing a file: nothing, this run's
// complete copy, or the file that was already in the folder.
struct KeptCopy {
  CopySource earlier;  // image -1 when none
  bool existing = false;
  bool any() const { return earlier.image >= 0 || existing; }
};

// The file that stays when a flawed cut of `name` (at `path`) is not
// written. A dry run counts what it would have written as there.
KeptCopy keptCopyOf(const Extraction& extraction, const char* name, const char* path) {
  KeptCopy kept;
  if (extraction.files != nullptr) kept.earlier = extraction.files->completeSource(name);
  kept.existing = kept.earlier.image < 0 &&
                  (fileExists(path) || (extraction.dryRun && extraction.files != nullptr &&
                                        extraction.files->written(name)));
  return kept;
}

// In a dry run, what the cut would write or keep, and how whole it is.
void sayDryRun(const Extraction& extraction, const char* path, bool whole, bool damaged,
               const KeptCopy& kept) {
  const char* state = whole && !damaged ? kDryRunComplete
                      : !damaged        ? kDryRunIncomplete
                      : whole           ? kDryRunDamaged
                                        : kDryRunIncompleteAndDamaged;
  printMessage(extraction.out, kept.any() ? kDryRunKeep : kDryRunWrite,
               Shown(path, extraction.out).text(), state);
}

void writeKept(const Extraction& extraction, const KeptCopy& kept) {
  if (kept.earlier.image >= 0 && extraction.namesPath) {
    printMessage(extraction.err, kKeptEarlierCopyOfFile,
                 Shown(kept.earlier.path, extraction.err).text(),
                 static_cast<int>(kept.earlier.image));
  } else if (kept.earlier.image >= 0) {
    printMessage(extraction.err, kKeptEarlierCopy, static_cast<int>(kept.earlier.image));
  } else if (kept.existing) {
    writeMessage(extraction.err, kKeptExistingFile);
  }
  writeMessage(extraction.err, kLineEnd);
}

// How many of a run's sectors are bad (missing, short or damaged), of how
// many; bad -1 when not counted.
struct SectorTally {
  int32_t bad = -1;
  int32_t total = 0;
};

void writeTally(std::FILE* err, const SectorTally& tally) {
  if (tally.bad <= 0) return;
  printMessage(err, kSectorsBad, static_cast<int>(tally.bad), static_cast<int>(tally.total),
               tally.bad == 1 ? "is" : "are");
}

// A later copy's flaws: the same words as a note, its file not being the
// one written, then what becomes of it.
void reportLaterFlaws(const Extraction& extraction, const FileEntry& entry, int32_t found,
                      const RunStop& stop, const RunDamage& damage, const SectorTally& tally) {
  constexpr std::size_t kWarning = sizeof "d88cut: warning: " - 1;
  const int image = static_cast<int>(extraction.image);
  const Shown path(extraction.path != nullptr ? extraction.path : "", extraction.err);
  if (stop.reason != RunStop::kNone) {
    char where[kRunStopTextSize];
    describeRunStop(stop, where);
    const int fileFound = static_cast<int>(fileBytesFound(found, entry.offset, entry.length));
    writeReport(extraction.out, extraction.err, kLaterCopyNote);
    if (extraction.namesPath) {
      printMessage(extraction.err, kIncompleteRunOfFile + kWarning, entry.name, path.text(), image,
                   fileFound, static_cast<int>(entry.length), where);
    } else {
      printMessage(extraction.err, kIncompleteRun + kWarning, entry.name, image, fileFound,
                   static_cast<int>(entry.length), where);
    }
    writeTally(extraction.err, tally);
    if (damage.sectors == 0) return writeMessage(extraction.err, kLaterCopyFate);
    writeMessage(extraction.err, kLineEnd);
  }
  char which[kRunDamageTextSize];
  describeRunDamage(damage, which);
  writeReport(extraction.out, extraction.err, kLaterCopyNote);
  if (extraction.namesPath) {
    printMessage(extraction.err, kDamagedRunOfFile + kWarning, entry.name, path.text(), image,
                 which);
  } else {
    printMessage(extraction.err, kDamagedRun + kWarning, entry.name, image, which);
  }
  writeMessage(extraction.err, kLaterCopyFate);
}

// Warns of an incomplete run (`stop`) and of damaged sectors (`damage`), as
// far as there are any; the last warning says which copy was kept.
void reportFlaws(const Extraction& extraction, const FileEntry& entry, int32_t found,
                 const RunStop& stop, const RunDamage& damage, const KeptCopy& kept,
                 const SectorTally& tally) {
  if (extraction.laterCopy) return reportLaterFlaws(extraction, entry, found, stop, damage, tally);
  const int image = static_cast<int>(extraction.image);
  if (stop.reason != RunStop::kNone) {
    char where[kRunStopTextSize];
    describeRunStop(stop, where);
    const int fileFound = static_cast<int>(fileBytesFound(found, entry.offset, entry.length));
    const int length = static_cast<int>(entry.length);
    if (extraction.namesPath) {
      printReport(extraction.out, extraction.err, kIncompleteRunOfFile, entry.name,
                  Shown(extraction.path, extraction.err).text(), image, fileFound, length, where);
    } else {
      printReport(extraction.out, extraction.err, kIncompleteRun, entry.name, image, fileFound,
                  length, where);
    }
    writeTally(extraction.err, tally);
    if (damage.sectors == 0) return writeKept(extraction, kept);
    writeMessage(extraction.err, kLineEnd);
  }
  char which[kRunDamageTextSize];
  describeRunDamage(damage, which);
  if (extraction.namesPath) {
    printReport(extraction.out, extraction.err, kDamagedRunOfFile, entry.name,
                Shown(extraction.path, extraction.err).text(), image, which);
  } else {
    printReport(extraction.out, extraction.err, kDamagedRun, entry.name, image, which);
  }
  writeKept(extraction, kept);
}

// Room for an output path: a folder name and a file name.
constexpr std::size_t kOutputPathSize = 4096 + 16;

// Records the cut in extraction.files and returns its status.
CutStatus recordCut(const Extraction& extraction, const FileEntry& entry, CutStatus status) {
  if (extraction.files != nullptr) {
    extraction.files->record(entry.name, status, CopySource{extraction.path, extraction.image});
  }
  return status;
}

}  // namespace

bool outputPath(const char* dir, const char* name, char* out, std::size_t size) {
  const std::size_t dirLength = dir != nullptr ? std::strlen(dir) : 0;
  const bool separated = dirLength == 0 || dir[dirLength - 1] == '/' || dir[dirLength - 1] == '\\';
  const int n =
      std::snprintf(out, size, "%s%s%s", dir != nullptr ? dir : "", separated ? "" : "/", name);
  return n >= 0 && static_cast<std::size_t>(n) < size;
}

// The status of a cut that was not written for a reason of its own.
CutStatus flawedStatus(bool whole, const KeptCopy& kept) {
  if (kept.earlier.image >= 0) return CutStatus::kKeptEarlier;
  if (kept.existing) return CutStatus::kKeptExisting;
  return whole ? CutStatus::kDamaged : CutStatus::kIncomplete;
}

namespace {

// True when `path` is one of the run's D88 files: the same file, whatever
// names lead to it (a link to it, or the very name given), or the file
// standard input was redirected from when "-" is among them.
bool isRunInput(const RunInputs& inputs, const char* path) {
  FileIdentity output;
  if (inputs.count == 0 || !fileIdentityOf(path, false, &output)) return false;
  PathWalk walk;
  for (int i = 0; i < inputs.count; ++i) {
    const char* input = nextToolPath(inputs.argc, inputs.argv, &walk);
    FileIdentity named;
    FileIdentity target;
    if (input == nullptr) break;
    if (std::strcmp(input, "-") == 0) {  // standard input redirected from a file
      if (standardInputIdentity(&target) && target == output) return true;
      continue;
    }
    if ((fileIdentityOf(input, false, &named) && named == output) ||
        (fileIdentityOf(input, true, &target) && target == output)) {
      return true;
    }
  }
  return false;
}

// Writes the cut unless a copy is kept: over an earlier file when it is
// sound, else only where no file of the name is there (then *kept says it
// stays). A dry run writes nothing (its folder was tried before the run).
// Returns 0 or an errno value.
int putCut(const Extraction& extraction, const FileEntry& entry, const char* path, bool sound,
           KeptCopy* kept) {
  if (kept->any() || extraction.dryRun) return 0;
  const uint8_t* data = extraction.buffer + entry.offset;
  const auto length = static_cast<std::size_t>(entry.length);
  if (sound) return replaceFile(path, data, length);
  const int error = placeNewFile(path, data, length);
  if (error != EEXIST) return error;
  kept->existing = true;  // it appeared since it was looked for
  return 0;
}

// Says why the file at `path` was not written (it is one of the run's D88
// files, or the system's error) and records it so.
CutStatus reportNotWritten(const Extraction& extraction, const FileEntry& entry, const char* path,
                           bool isInput, int error) {
  if (isInput) {
    printReport(extraction.out, extraction.err, kReplacesInput, Shown(path, extraction.err).text());
  } else {
    printReport(extraction.out, extraction.err, kWriteFailure, Shown(path, extraction.err).text(),
                std::strerror(error));
  }
  return recordCut(extraction, entry, CutStatus::kNotWritten);
}

// A run's sectors one by one, for a cut that is given no copy to fill.
uint8_t scratchBytes[kMaxRunSectors * kRunSectorSize];
bool scratchGood[kMaxRunSectors];

// Takes the run just read into the extraction's copy (from the buffer when
// sound, else sector by sector) and counts its bad sectors.
SectorTally takeRun(const Extraction& x, const FileEntry& entry, bool sound) {
  SectorTally tally;
  tally.total = runSectorCount(entry);
  if (x.copy != nullptr && x.copyFile >= 0) {
    if (sound) takeSoundFile(x.copyKind, x.copyFile, x.buffer, x.copy);
    tally.bad = sound ? 0 : readFileOfCopy(x.disk, x.copyKind, x.copyFile, x.copy);
  } else if (!sound && tally.total <= kMaxRunSectors) {
    tally.bad = readRunBySector(x.disk, entry, scratchBytes, scratchGood);
  }
  return tally;
}

}  // namespace

CutStatus cutFile(const Extraction& extraction, const FileEntry& entry) {
  RunStop stop;
  RunDamage damage;
  const int32_t found = readFileRun(extraction.disk, entry, extraction.buffer, &stop, &damage);
  const bool whole = found == runLength(entry);
  const bool sound = whole && damage.sectors == 0;
  const SectorTally tally = takeRun(extraction, entry, sound);
  if (extraction.disk.readError() != 0) return recordCut(extraction, entry, CutStatus::kReadFailed);
  char path[kOutputPathSize];
  const bool pathFits = outputPath(extraction.outputDir, entry.name, path, sizeof path);

  // A flawed cut never replaces a file of its name: neither a complete copy
  // of this run nor a file that was in the folder before.
  KeptCopy kept = sound ? KeptCopy{} : keptCopyOf(extraction, entry.name, path);
  if (extraction.laterCopy) {
    if (!extraction.dryRun) printMessage(extraction.out, kCutting, entry.name);
    if (!sound) reportFlaws(extraction, entry, found, stop, damage, kept, tally);
    return sound ? CutStatus::kComplete : flawedStatus(whole, kept);
  }
  if (extraction.dryRun)
    sayDryRun(extraction, path, whole, damage.sectors > 0, kept);
  else
    printMessage(extraction.out, kCutting, entry.name);
  const bool isInput = pathFits && !kept.any() && isRunInput(extraction.inputs, path);
  const int error = !pathFits ? ENAMETOOLONG
                    : isInput ? 0
                              : putCut(extraction, entry, path, sound, &kept);
  if (!sound) reportFlaws(extraction, entry, found, stop, damage, kept, tally);
  if (isInput || error != 0) return reportNotWritten(extraction, entry, path, isInput, error);
  return recordCut(extraction, entry, sound ? CutStatus::kComplete : flawedStatus(whole, kept));
}

CutStatus writeAssembledFile(const Extraction& extraction, const FileEntry& entry, bool whole,
                             const char* state) {
  char path[kOutputPathSize];
  const bool pathFits = outputPath(extraction.outputDir, entry.name, path, sizeof path);
  if (extraction.dryRun) {
    printMessage(extraction.out, kDryRunWrite, Shown(path, extraction.out).text(), state);
  }
  const bool isInput = pathFits && isRunInput(extraction.inputs, path);
  KeptCopy kept;
  const int error = !pathFits ? ENAMETOOLONG
                    : isInput ? 0
                              : putCut(extraction, entry, path, /*sound=*/true, &kept);
  if (isInput || error != 0) return reportNotWritten(extraction, entry, path, isInput, error);
  if (!whole) return CutStatus::kIncomplete;  // the record of the first copy's cut stands
  return recordCut(extraction, entry, CutStatus::kComplete);
}
