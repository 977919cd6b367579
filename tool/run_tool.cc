// SPDX-License-Identifier: MIT
#include "tool/run_tool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "d88cut_version.h"
#include "game/file_table.h"
#include "platform/console.h"
#include "platform/output_file.h"
#include "tool/assemble.h"
#include "tool/command_line.h"
#include "tool/cut_file.h"
#include "tool/cut_images.h"
#include "tool/cut_paths.h"
#include "tool/list_copies.h"
#include "tool/messages.h"

namespace {

// Readies the output folder as the run would: a real run makes it when
// missing; a dry run makes nothing, but tries a file in a folder that is
// there. Returns 0 or an errno value.
int checkOutputFolder(const char* folder, bool dryRun) {
  const int error = prepareOutputFolder(folder, !dryRun);
  if (error != 0 || !dryRun || !fileExists(folder)) return error;
  char probe[4096 + 16];
  if (!outputPath(folder, gameFiles[0]->name, probe, sizeof probe)) return ENAMETOOLONG;
  return probeNewFile(probe);
}

// Digits only: the designed second argument, a disk number.
bool isDiskNumber(const char* arg) {
  if (*arg == '\0') return false;
  for (; *arg != '\0'; ++arg) {
    if (*arg < '0' || *arg > '9') return false;
  }
  return true;
}

const char* programName(int argc, const char* const* argv) {
  return argc > 0 && argv[0] != nullptr ? argv[0] : "d88cut";
}

// Flushes out; a failure to write it turns any status into kExitFailure.
int finishOutput(std::FILE* out, std::FILE* err, int status) {
  const int error = finishStream(out);
  if (error == 0) return status;
  printMessage(err, kOutputFailure, std::strerror(error));
  return kExitFailure;
}

// A wrong command line: which word, the usage line, how to get help.
int reportBadOption(const ToolOptions& options, const char* program, std::FILE* err) {
  printMessage(err, options.valueMissing ? kOptionNeedsFolder : kUnknownOption,
               Shown(program, err).text(), Shown(options.badOption, err).text());
  printMessage(err, kUsage, Shown(program, err).text());
  printMessage(err, kTryHelp, Shown(program, err).text());
  return kExitFailure;
}

// The closing word: a line for each of the game's files that the run did
// not leave complete, and why.
void writeClosingNote(const RunContext& run) {
  for (const FileEntry* entry : gameFiles) {
    const bool ofSystemDisk = entry != &scenarioDisk4File;
    CutStatus last = CutStatus::kComplete;
    if (!run.files->tried(entry->name, &last)) {
      const bool diskSeen = ofSystemDisk ? run.systemDiskSeen : run.scenarioDisk4Seen;
      if (diskSeen) {
        printReport(run.out, run.err, kNoteNotReached, entry->name);
      } else if (ofSystemDisk && run.cutShortSystemDiskSeen) {
        printReport(run.out, run.err, kNoteOnlyCutShort, entry->name);
      } else if (run.unreadInput[0] != '\0') {
        printReport(run.out, run.err, kNoteNotCutUnread, entry->name,
                    Shown(run.unreadInput, run.err).text());
      } else {
        printReport(run.out, run.err, kNoteNotCut, entry->name,
                    ofSystemDisk ? kSystemDiskName : kScenarioDisk4Name);
      }
      continue;
    }
    if (run.files->completeSource(entry->name).image >= 0) continue;
    printReport(run.out, run.err, kNoteNotComplete, entry->name, cutStatusText(last).why);
  }
  if (assembledFiles() > 0) printReport(run.out, run.err, kNoteAssembled, assembledFiles());
}

// For each disk a file of which the run left flawed (cut, never complete):
// that another copy of the disk would be assembled with it.
void sayAnotherCopyHelps(const RunFiles& files, std::FILE* out, std::FILE* err) {
  bool systemFlawed = false;
  bool scenario4Flawed = false;
  for (const FileEntry* entry : gameFiles) {
    CutStatus last = CutStatus::kComplete;
    if (!files.tried(entry->name, &last) || files.completeSource(entry->name).image >= 0 ||
        last == CutStatus::kNotWritten || last == CutStatus::kReadFailed) {
      continue;
    }
    (entry == &scenarioDisk4File ? scenario4Flawed : systemFlawed) = true;
  }
  if (systemFlawed) printReport(out, err, kAnotherCopyHelps, kSystemDiskName);
  if (scenario4Flawed) printReport(out, err, kAnotherCopyHelps, kScenarioDisk4Name);
}

// Where the files went, for a window of its own that closes after the run.
void sayOutputFolder(const char* outputDir, std::FILE* out) {
  if (!onOwnConsole()) return;
  char full[4096];
  if (fullPathOf(outputDir != nullptr ? outputDir : ".", full, sizeof full)) {
    printMessage(out, kFilesAreIn, Shown(full, out).text());
  }
}

// Cuts every D88 file named; false if one could not be opened or read, or a
// file was incomplete or not written.
bool cutD88Files(D88File& disk, int argc, const char* const* argv, const ToolOptions& options,
                 RunContext* run) {
  PathWalk walk;
  nextToolPath(argc, argv, &walk);
  const char* second = nextToolPath(argc, argv, &walk);
  // "FILE DISKNO": one file and a disk number, accepted and not used.
  const bool diskNumber = options.paths == 2 && isDiskNumber(second);
  const bool several = options.paths > 1 && !diskNumber;
  const int files = diskNumber ? 1 : options.paths;
  run->inputs = RunInputs{argc, argv, files};
  bool whole = true;
  walk = PathWalk{};
  startAssembly(options.list);
  startList(options.list);
  for (int index = 0; index < files; ++index) {
    whole = cutCommandLinePath(disk, nextToolPath(argc, argv, &walk), several, run) && whole;
  }
  const Extraction atEnd = {disk,    nullptr, run->out,       run->err,    0,          run->files,
                            nullptr, several, run->outputDir, run->dryRun, run->inputs};
  whole = finishAssembly(atEnd) && !fileLeftFlawed(*run->files) && whole;
  // A system disk cut short counts only beside a recognised one.
  whole = whole && (!run->cutShortSystemDiskSeen || run->systemDiskSeen);
  if (several || run->d88Files > 1 || options.dryRun || options.outputDir != nullptr) {
    writeClosingNote(*run);
  }
  sayAnotherCopyHelps(*run->files, run->out, run->err);
  sayWhatWasLookedAt(*run);
  return whole;
}

// -l: the run's messages go nowhere; what it found is listed instead.
int listCopies(D88File& disk, int argc, const char* const* argv, ToolOptions options,
               std::FILE* out, std::FILE* err) {
  std::FILE* nowhere = openNullStream();
  if (nowhere == nullptr) {
    printMessage(err, kOutputFailure, std::strerror(errno));
    return kExitFailure;
  }
  options.dryRun = true;
  RunFiles files;
  RunContext run = {nowhere, nowhere, nullptr, true, &files};
  const bool whole = cutD88Files(disk, argc, argv, options, &run);
  std::fclose(nowhere);
  writeCopyList(out, options.json);
  run.out = out;
  run.err = err;
  if (run.unreadInput[0] != '\0')
    printReport(out, err, kListUnread, Shown(run.unreadInput, err).text());
  sayWhatWasLookedAt(run);
  return finishOutput(out, err, whole ? kExitSuccess : kExitFailure);
}

}  // namespace

int runTool(D88File& disk, int argc, const char* const* argv, std::FILE* out, std::FILE* err,
            RunFiles* filesOut) {
  const char* program = programName(argc, argv);
  if (argc < 2) {
    printMessage(err, kUsage, Shown(program, err).text());
    return kExitFailure;
  }
  ToolOptions options;
  parseToolOptions(argc, argv, &options);
  if (options.badOption != nullptr) return reportBadOption(options, program, err);
  if (options.help) {
    printMessage(out, kUsage, Shown(program, out).text());
    printMessage(out, kHelp, Shown(program, out).text());
    return finishOutput(out, err, kExitSuccess);
  }
  if (options.version) {
    printMessage(out, kVersion, kProgramVersion);
    return finishOutput(out, err, kExitSuccess);
  }
  if (options.paths == 0) {
    printMessage(err, kUsage, Shown(program, err).text());
    return kExitFailure;
  }
  if (options.json && !options.list) {
    printMessage(err, kJsonNeedsList, Shown(program, err).text());
    printMessage(err, kTryHelp, Shown(program, err).text());
    return kExitFailure;
  }
  if (options.list) return listCopies(disk, argc, argv, options, out, err);
  if (options.outputDir != nullptr || options.dryRun) {
    // Before anything is read: a folder that cannot take the files.
    const char* folder = options.outputDir != nullptr ? options.outputDir : ".";
    const int error = checkOutputFolder(folder, options.dryRun);
    if (error != 0) {
      printMessage(err, kOutputFolderFailure, Shown(folder, err).text(), std::strerror(error));
      return kExitFailure;
    }
  }
  RunFiles ownFiles;
  RunFiles* files = filesOut != nullptr ? filesOut : &ownFiles;
  RunContext run = {out, err, options.outputDir, options.dryRun, files};
  const bool whole = cutD88Files(disk, argc, argv, options, &run);
  sayOutputFolder(options.outputDir, out);
  return finishOutput(out, err, whole ? kExitSuccess : kExitFailure);
}
