// SPDX-License-Identifier: MIT
#include "info/run_info.h"

#include <cerrno>
#include <cstring>

#include "d88cut_version.h"
#include "disk/d88_verdict.h"
#include "info/copies.h"
#include "info/messages.h"
#include "info/report.h"
#include "input/d88_inputs.h"
#include "input/folder_walk.h"
#include "platform/console.h"

namespace {

struct Options {
  bool help = false;
  bool version = false;
  bool sectors = false;
  bool json = false;
  int paths = 0;
};

enum class Word { kEndOfOptions, kOption, kPath };

// What the command-line word `arg` is; *optionsEnded tells (and is set when
// `arg` is) the first "--". A lone "-" is a path.
Word classify(const char* arg, bool* optionsEnded) {
  if (*optionsEnded) return Word::kPath;
  if (std::strcmp(arg, "--") == 0) {
    *optionsEnded = true;
    return Word::kEndOfOptions;
  }
  return arg[0] == '-' && arg[1] != '\0' ? Word::kOption : Word::kPath;
}

// False (after a message on err) when the command line is wrong.
bool parseOptions(int argc, const char* const* argv, std::FILE* err, Options* options) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const Word word = classify(arg, &optionsEnded);
    if (word == Word::kEndOfOptions) {
      continue;
    } else if (word == Word::kPath) {
      ++options->paths;
    } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      options->help = true;
    } else if (std::strcmp(arg, "--version") == 0) {
      options->version = true;
    } else if (std::strcmp(arg, "--sectors") == 0) {
      options->sectors = true;
    } else if (std::strcmp(arg, "--json") == 0) {
      options->json = true;
    } else {
      printMessage(err, kInfoUnknownOption, Shown(arg, err).text());
      writeMessage(err, kInfoUsage);
      return false;
    }
  }
  if (options->help || options->version || options->paths > 0) return true;
  writeMessage(err, kInfoUsage);
  return false;
}

// The D88 files of the path being reported: its name, and an archive
// entry's bytes; the files of a folder named.
D88Inputs pathInputs;
FolderWalk folderWalk;

// Says why the path, or an archive's entry, gives no D88 file to report.
void reportInputFailure(InputStep step, const D88Input& input, const Report& report,
                        std::FILE* err) {
  const Shown name(input.name, err);
  char why[kInputFailureTextSize];
  describeInputFailure(pathInputs, why, sizeof why);
  if (step == InputStep::kOpenFailed && pathInputs.openError() != EFBIG) {
    printReport(report.out, err, kInfoOpenFailure, name.text(), why);
  } else if (pathInputs.failure() == ArchiveFailure::kNoLibrary) {
    printReport(report.out, err, kInfoNoArchiveLibrary, name.text(),
                archiveKindName(pathInputs.kind()));
  } else {
    printReport(report.out, err, kInfoReadFailure, name.text(), why);
  }
  reportUnopenedFile(input.name, why, report);
}

// True when a file a folder walk found is no D88 file: passed over quietly.
bool passedOver(D88File& disk, InputStep step, const D88Input& input, bool walking) {
  if (!walking) return false;
  if (step == InputStep::kNotD88) return true;
  if (step != InputStep::kD88 || input.archive != nullptr) return false;
  return judgeD88File(disk, inputLength(disk, input.size, input.name)).kind != D88Verdict::kD88;
}

// Reports every D88 file (and every other file of an archive, unless found
// by a folder walk) the path gives; false when one could not be opened or
// read.
bool reportPath(D88File& disk, const char* path, Report report, std::FILE* err, bool* first,
                bool walking) {
  bool allRead = true;
  pathInputs.start(path);
  D88Input input;
  int given = 0;
  for (InputStep step; (step = pathInputs.next(disk, &input)) != InputStep::kEnd; ++given) {
    if (passedOver(disk, step, input, walking)) continue;
    if (report.json && !*first) std::fputc(',', report.out);
    *first = false;
    report.archive = input.archive;
    report.entry = input.entry;
    report.withPath = report.withPath || input.entry != nullptr;
    if (step == InputStep::kD88 || step == InputStep::kNotD88) {
      if (!reportFile(disk, input.name, input.size, report)) {
        printReport(report.out, err, kInfoReadFailure, Shown(input.name, err).text(),
                    std::strerror(disk.readError()));
        allRead = false;
      }
    } else {
      reportInputFailure(step, input, report, err);
      allRead = false;
    }
  }
  if (given == 0 && pathInputs.kind() != ArchiveKind::kNone && !walking) {
    if (report.json && !*first) std::fputc(',', report.out);
    *first = false;
    report.archive = path;
    report.entry = nullptr;
    reportEmptyArchive(path, archiveKindName(pathInputs.kind()), report);
  }
  return allRead;
}

// Reports every path of the command line; false when one could not be read.
bool reportPaths(D88File& disk, int argc, const char* const* argv, const Report& report,
                 std::FILE* err) {
  bool allRead = true;
  bool optionsEnded = false;
  bool first = true;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (classify(arg, &optionsEnded) != Word::kPath) continue;
    folderWalk.start(arg);
    Report inWalk = report;
    inWalk.withPath = report.withPath || folderWalk.walking();
    for (WalkStep step; (step = folderWalk.next()) != WalkStep::kEnd;) {
      if (step == WalkStep::kFile) {
        allRead = reportPath(disk, folderWalk.path(), inWalk, err, &first, folderWalk.walking()) &&
                  allRead;
      } else if (step == WalkStep::kUnlistable) {
        printReport(report.out, err, kInfoFolderUnreadable, Shown(folderWalk.path(), err).text(),
                    std::strerror(folderWalk.error()));
        allRead = false;
      }
    }
  }
  disk.close();
  return allRead;
}

}  // namespace

int runInfo(D88File& disk, int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  Options options;
  if (!parseOptions(argc, argv, err, &options)) return 1;
  int status = 0;
  if (options.help) {
    writeMessage(out, kInfoHelp);
  } else if (options.version) {
    printMessage(out, kInfoVersion, kProgramVersion);
  } else {
    Report report;
    report.out = out;
    report.json = options.json;
    report.sectors = options.sectors;
    report.withPath = options.paths > 1;
    startCopies();
    if (report.json) std::fputs("{\"files\":[\n", out);
    if (!reportPaths(disk, argc, argv, report, err)) status = 1;
    if (report.json) {
      std::fputc(']', out);
      writeJsonCopies(out);
      std::fputs("}\n", out);
    } else {
      writeTextCopies(out);
    }
  }
  const int error = finishStream(out);
  if (error == 0) return status;
  printMessage(err, kInfoOutputFailure, std::strerror(error));
  return 1;
}
