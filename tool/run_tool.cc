// SPDX-License-Identifier: MIT
#include "tool/run_tool.h"

#include <cerrno>
#include <cstring>

#include "d88cut_version.h"
#include "disk/d88_verdict.h"
#include "game/file_table.h"
#include "game/recognition.h"
#include "input/d88_inputs.h"
#include "platform/console.h"
#include "platform/file_length.h"
#include "platform/output_file.h"
#include "tool/assemble.h"
#include "tool/command_line.h"
#include "tool/cut_file.h"
#include "tool/messages.h"

namespace {

uint8_t extractionBuffer[kExtractionBufferSize];

// True when a cut makes the run fail whatever later copies give: its file
// could not be written, or the D88 file could not be read. A flawed cut
// counts at the run's end, when its file is known (fileLeftFlawed).
bool failsRun(CutStatus status) {
  return status == CutStatus::kNotWritten || status == CutStatus::kReadFailed;
}

// Announces the image's disk and cuts its files; false if a file was not
// written. Stops at a read failure (D88File::readError).
bool handleImage(const Extraction& extraction, const DiskRecognition& recognition) {
  bool whole = true;
  if (recognition.kind == DiskRecognition::kSystemDisk) {
    writeMessage(extraction.out, kSystemDisk);
    for (const FileEntry* entry = systemDiskFiles; entry->sector != 0; ++entry) {
      const CutStatus status = cutCopy(extraction, *entry);
      whole = !failsRun(status) && whole;
      if (status == CutStatus::kReadFailed) break;
    }
  } else if (recognition.kind == DiskRecognition::kScenarioDisk) {
    printMessage(extraction.out, kScenarioDisk, static_cast<char>('0' + recognition.scenario));
    if (recognition.scenario == 4) whole = !failsRun(cutCopy(extraction, scenarioDisk4File));
  }
  return whole;
}

// True when one of the game's files was cut but the run left it flawed: no
// complete copy of it was written (or kept, in a dry run).
bool fileLeftFlawed(const RunFiles& files) {
  for (const FileEntry* entry : gameFiles) {
    CutStatus last = CutStatus::kComplete;
    if (files.tried(entry->name, &last) && files.completeSource(entry->name).image < 0) {
      return true;
    }
  }
  return false;
}

// One D88 file of the run, and how its messages name it.
struct D88Source {
  const char* path;  // the path, or "ARCHIVE:ENTRY"
  bool namesPath;    // the run has several D88 files, or this one is an entry
  int64_t size;      // its bytes, or -1 for a file on disk
};

// The D88 files of the path being read: its name, and an archive entry's bytes.
D88Inputs pathInputs;

// What every D88 file of the run shares: the streams, the output folder,
// whether it is a dry run, and what was cut so far.
struct RunContext {
  std::FILE* out;
  std::FILE* err;
  const char* outputDir;
  bool dryRun;
  RunFiles* files;
  RunInputs inputs = {};
  int headings = 0;  // files headed so far
  int d88Files = 0;  // D88 files read so far, loose or in archives
  bool systemDiskSeen = false;
  bool scenarioDisk4Seen = false;
};

// True when the chain of images goes on past the 64 indexed: a whole header
// where it stopped, at an offset past the last image's.
bool chainGoesOn(D88File& disk) {
  const int64_t end = disk.chainEnd();
  if (disk.imageCount() < kMaxImages || end <= disk.imageOffset(kMaxImages - 1)) return false;
  uint8_t header[kImageHeaderSize];
  return disk.readBytesAt(end, header, kImageHeaderSize) == kImageHeaderSize;
}

// Reports a failed read of the D88 file; false, as the run is not whole.
bool reportReadFailure(const D88File& disk, const D88Source& source, std::FILE* out,
                       std::FILE* err) {
  printReport(out, err, kReadFailure, Shown(source.path, err).text(),
              std::strerror(disk.readError()));
  return false;
}

// Points to d88info for the D88 file at `path`, quoted so that the line can
// be pasted into a shell.
void sayWhereWhy(const char* path, std::FILE* err) {
  char quoted[4 * 4096 + 3];
  if (!quoteForShell(path, quoted, sizeof quoted)) return;
  printMessage(err, kSeeWhy, Shown(quoted, err).text());
}

// The note for a D88 file of which no image was recognised: that it is no
// D88 file at all, and why, or that it holds no disk of the game.
void sayNothingRecognised(D88File& disk, const D88Source& source, int32_t images, std::FILE* out,
                          std::FILE* err) {
  const D88Verdict verdict =
      judgeD88File(disk, source.size >= 0 ? source.size : fileLength(source.path));
  if (verdict.kind != D88Verdict::kD88) {
    char why[kNotD88TextSize];
    describeNotD88(verdict, why, sizeof why);
    printReport(out, err, kNotD88, Shown(source.path, err).text(), why);
    return;
  }
  printReport(out, err, kNothingRecognised, Shown(source.path, err).text(),
              static_cast<int>(images));
  if (images > 0) sayWhereWhy(source.path, err);
}

// Looks at every image of the open file and cuts what it recognises;
// false if a file was incomplete or not written, or a read failed.
bool cutAllImages(D88File& disk, const D88Source& source, RunContext* run) {
  std::FILE* out = run->out;
  std::FILE* err = run->err;
  bool whole = true;
  int32_t recognised = 0;
  const int32_t images = disk.imageCount();
  for (int32_t i = 0; i < images && disk.readError() == 0; ++i) {
    // The buffer is cleared once per image, not between its files: the part
    // any read reaches.
    std::memset(extractionBuffer, 0, kExtractionBytesUsed);
    disk.selectImage(i);  // an image that cannot be selected is recognised as none
    const DiskRecognition recognition = recogniseDisk(disk, extractionBuffer);
    if (disk.readError() != 0) break;  // what it is cannot be told
    if (recognition.kind != DiskRecognition::kOther || recognition.cutShortSystemDisk) ++recognised;
    if (recognition.cutShortSystemDisk) {
      printReport(out, err, kCutShortSystemDisk, Shown(source.path, err).text(),
                  static_cast<int>(i));
      whole = false;
    }
    run->systemDiskSeen |= recognition.kind == DiskRecognition::kSystemDisk;
    run->scenarioDisk4Seen |= recognition.scenario == 4;
    const Extraction extraction = {disk,
                                   extractionBuffer,
                                   out,
                                   err,
                                   i,
                                   run->files,
                                   source.path,
                                   source.namesPath,
                                   run->outputDir,
                                   run->dryRun,
                                   run->inputs};
    whole = handleImage(extraction, recognition) && whole;
  }
  const bool moreImages = disk.readError() == 0 && chainGoesOn(disk);
  if (disk.readError() != 0) return reportReadFailure(disk, source, out, err);
  if (moreImages) printReport(out, err, kMoreImages, Shown(source.path, err).text());
  if (recognised == 0) sayNothingRecognised(disk, source, images, out, err);
  return whole;
}

// Heads a D88 file's messages with its name (or an archive's that could
// not be read), a blank line parting it from the block before.
void printHeading(const char* name, RunContext* run) {
  printMessage(run->out, run->headings++ == 0 ? kFileHeading : kFileHeadingAfter,
               Shown(name, run->out).text());
}

// Cuts the D88 file open in disk; false if it could not be read, or a file
// was incomplete or not written.
bool cutOpenD88File(D88File& disk, const D88Source& source, RunContext* run) {
  ++run->d88Files;
  if (source.namesPath) printHeading(source.path, run);
  return disk.readError() != 0 ? reportReadFailure(disk, source, run->out, run->err)
                               : cutAllImages(disk, source, run);
}

// Says why the path (or its archive's entry) could not be read.
void reportInputFailure(InputStep step, const D88Input& input, RunContext* run) {
  std::FILE* out = run->out;
  std::FILE* err = run->err;
  const Shown name(input.name, err);
  if (step == InputStep::kOpenFailed && pathInputs.openError() != EFBIG) {
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

// Cuts every D88 file the command-line path gives (the file, or an
// archive's D88 files); false if one could not be opened or read, or a file
// was incomplete or not written.
bool cutPath(D88File& disk, const char* path, bool several, RunContext* run) {
  bool whole = true;
  pathInputs.start(path);
  D88Input input;
  for (InputStep step; (step = pathInputs.next(disk, &input)) != InputStep::kEnd;) {
    const bool namesPath = several || input.entry != nullptr;
    if (step == InputStep::kD88) {
      whole = cutOpenD88File(disk, D88Source{input.name, namesPath, input.size}, run) && whole;
    } else if (step != InputStep::kNotD88) {
      if (namesPath) printHeading(input.name, run);
      reportInputFailure(step, input, run);
      whole = false;
    }
  }
  disk.close();
  if (pathInputs.kind() != ArchiveKind::kNone && pathInputs.d88Count() == 0 && whole) {
    printReport(run->out, run->err, kNoD88InArchive, Shown(path, run->err).text(),
                pathInputs.entryCount());
  }
  return whole;
}

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
  startAssembly();
  for (int index = 0; index < files; ++index) {
    whole = cutPath(disk, nextToolPath(argc, argv, &walk), several, run) && whole;
  }
  const Extraction atEnd = {disk,       extractionBuffer, run->out, run->err,       0,
                            run->files, nullptr,          several,  run->outputDir, run->dryRun,
                            run->inputs};
  whole = finishAssembly(atEnd) && !fileLeftFlawed(*run->files) && whole;
  if (several || run->d88Files > 1 || options.dryRun || options.outputDir != nullptr) {
    writeClosingNote(*run);
  }
  return whole;
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
