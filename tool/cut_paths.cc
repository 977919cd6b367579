// SPDX-License-Identifier: MIT
#include "tool/cut_paths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "disk/d88_verdict.h"
#include "game/recognition.h"
#include "input/d88_inputs.h"
#include "input/folder_walk.h"
#include "platform/console.h"
#include "tool/messages.h"
#include "tool/walk_ahead.h"

namespace {

// The D88 files of the path being read: its name, and an archive entry's bytes.
D88Inputs pathInputs;

// Says why the path (or its archive's entry) could not be read.
void reportInputFailure(InputStep step, const D88Input& input, RunContext* run) {
  std::FILE* out = run->out;
  std::FILE* err = run->err;
  const Shown name(input.name, err);
  if (step == InputStep::kOpenFailed && pathInputs.openError() == ENOTTY) {
    char why[kInputFailureTextSize];
    describeInputFailure(pathInputs, why, sizeof why);
    printReport(out, err, kInputRefused, why);
  } else if (step == InputStep::kOpenFailed && pathInputs.openError() != EFBIG) {
    writeReport(out, err, kOpenFailure);
    printMessage(err, kOpenFailureReason, name.text(), std::strerror(pathInputs.openError()));
  } else if (pathInputs.failure() == ArchiveFailure::kNoLibrary) {
    printReport(out, err, kNoArchiveLibrary, name.text(), archiveKindName(pathInputs.kind()));
  } else {
    char why[kInputFailureTextSize];
    describeInputFailure(pathInputs, why, sizeof why);
    printReport(out, err, kArchiveUnreadable, name.text(), why);
  }
}

// True when the D88 file open in disk is to be cut: always, but in a walk
// only when it holds a disk of the game (then it is counted).
bool worthCutting(D88File& disk, const D88Input& input, RunContext* run) {
  if (!run->quiet) return true;
  uint8_t sectors[kSignatureSectorLength];
  const WalkedKind kind = walkedKindOf(disk, input, sectors);
  run->walked.d88Files += kind != WalkedKind::kOther ? 1 : 0;
  run->walked.withGame += kind == WalkedKind::kGame ? 1 : 0;
  return kind == WalkedKind::kGame;
}

// Cuts every D88 file one file gives (the file, or an archive's D88
// files); false if one could not be opened or read, or a file was
// incomplete or not written.
bool cutPath(D88File& disk, const char* path, bool several, RunContext* run) {
  bool whole = true;
  pathInputs.start(path);
  pathInputs.setPassOver(run->quiet ? holdsNoGameDisk : nullptr);
  D88Input input;
  for (InputStep step; (step = pathInputs.next(disk, &input)) != InputStep::kEnd;) {
    const bool namesPath = several || input.entry != nullptr;
    if (step == InputStep::kD88) {
      if (!worthCutting(disk, input, run)) continue;
      const D88Source source = {input.name, namesPath, input.size,
                                input.archive != nullptr ? input.archive
                                : input.size >= 0        ? "-"
                                                         : nullptr};
      whole = cutOpenD88File(disk, source, run) && whole;
    } else if (step == InputStep::kD88PassedOver) {
      ++run->walked.d88Files;
    } else if (step != InputStep::kNotD88) {
      if (namesPath) printHeading(input.name, run);
      reportInputFailure(step, input, run);
      if (run->unreadInput[0] == '\0') {
        std::snprintf(run->unreadInput, sizeof run->unreadInput, "%s", input.name);
      }
      whole = false;
    }
  }
  disk.close();
  run->walked.archives += run->quiet ? pathInputs.archiveCount() : 0;
  if (pathInputs.kind() != ArchiveKind::kNone && pathInputs.d88Count() == 0 && whole &&
      !run->quiet) {
    printReport(run->out, run->err, kNoD88InArchive, Shown(path, run->err).text(),
                pathInputs.entryCount());
  }
  return whole;
}

FolderWalk folderWalk;

// Takes one step of a walk (or the named path itself).
bool takeStep(D88File& disk, WalkStep step, const char* path, int error, bool several,
              RunContext* run) {
  if (step == WalkStep::kFile) {
    run->walked.files += run->quiet ? 1 : 0;
    return cutPath(disk, path, several || run->quiet, run);
  }
  const Shown name(path, run->err);
  if (step == WalkStep::kUnlistable) {
    printReport(run->out, run->err, kFolderUnreadable, name.text(), std::strerror(error));
    return false;
  }
  printReport(run->out, run->err, kFolderTooDeep, name.text(), kMaxFolderDepth);
  return true;
}

// Walks the folder with every core: files that need the run are read again
// here, the others counted as the workers found them.
bool walkAhead(D88File& disk, bool several, RunContext* run) {
  bool whole = true;
  const char* path = nullptr;
  int error = 0;
  WalkedFile found;
  for (WalkStep step; (step = nextWalkAhead(&path, &error, &found)) != WalkStep::kEnd;) {
    if (step == WalkStep::kFile && !found.readAgain) {
      ++run->walked.files;
      run->walked.d88Files += found.d88Files;
      run->walked.archives += found.archives;
      continue;
    }
    whole = takeStep(disk, step, path, error, several, run) && whole;
  }
  return whole;
}

}  // namespace

bool cutCommandLinePath(D88File& disk, const char* path, bool several, RunContext* run) {
  folderWalk.start(path);
  run->quiet = folderWalk.walking();
  run->walked.any = run->walked.any || run->quiet;
  bool whole = true;
  if (run->quiet && startWalkAhead(path)) {
    whole = walkAhead(disk, several, run);
  } else {
    for (WalkStep step; (step = folderWalk.next()) != WalkStep::kEnd;) {
      whole = takeStep(disk, step, folderWalk.path(), folderWalk.error(), several, run) && whole;
    }
  }
  run->quiet = false;
  return whole;
}

void sayWhatWasLookedAt(const RunContext& run) {
  if (!run.walked.any) return;
  const WalkCount& n = run.walked;
  printReport(run.out, run.err, kLookedAt, n.files, n.files == 1 ? "file" : "files", n.d88Files,
              n.d88Files == 1 ? "D88 file" : "D88 files", n.archives,
              n.archives == 1 ? "archive" : "archives", n.withGame);
}
