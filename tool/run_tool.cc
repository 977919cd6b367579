// SPDX-License-Identifier: MIT
#include "tool/run_tool.h"

#include <cerrno>
#include <cstring>

#include "d88cut_version.h"
#include "game/file_table.h"
#include "game/recognition.h"
#include "platform/console.h"
#include "tool/cut_file.h"
#include "tool/messages.h"

namespace {

uint8_t extractionBuffer[kExtractionBufferSize];

// Announces the image's disk and cuts its files; false if a file was
// incomplete or not written. Stops at a read failure (D88File::readError).
bool handleImage(const Extraction& extraction, const DiskRecognition& recognition) {
  bool whole = true;
  if (recognition.kind == DiskRecognition::kSystemDisk) {
    writeMessage(extraction.out, kSystemDisk);
    for (const FileEntry* entry = systemDiskFiles; entry->sector != 0; ++entry) {
      const CutStatus status = cutFile(extraction, *entry);
      whole = status == CutStatus::kComplete && whole;
      if (status == CutStatus::kReadFailed) break;
    }
  } else if (recognition.kind == DiskRecognition::kScenarioDisk) {
    printMessage(extraction.out, kScenarioDisk, static_cast<char>('0' + recognition.scenario));
    if (recognition.scenario == 4) {
      whole = cutFile(extraction, scenarioDisk4File) == CutStatus::kComplete;
    }
  }
  return whole;
}

// One D88 file of the run, and how its messages name it.
struct D88Source {
  const char* path;
  bool namesPath;  // the run has several D88 files
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
  printReport(out, err, kReadFailure, Shown(source.path).text(), std::strerror(disk.readError()));
  return false;
}

// Looks at every image of the open file and cuts what it recognises;
// false if a file was incomplete or not written, or a read failed.
bool cutAllImages(D88File& disk, const D88Source& source, CompleteFiles* complete, std::FILE* out,
                  std::FILE* err) {
  bool whole = true;
  int32_t recognised = 0;
  const int32_t images = disk.imageCount();
  for (int32_t i = 0; i < images && disk.readError() == 0; ++i) {
    // The whole buffer is cleared once per image, not between its files.
    std::memset(extractionBuffer, 0, sizeof extractionBuffer);
    disk.selectImage(i);  // an image that cannot be selected is recognised as none
    const DiskRecognition recognition = recogniseDisk(disk, extractionBuffer);
    if (disk.readError() != 0) break;  // what it is cannot be told
    if (recognition.kind != DiskRecognition::kOther) ++recognised;
    const Extraction extraction = {disk, extractionBuffer, out,         err,
                                   i,    complete,         source.path, source.namesPath};
    whole = handleImage(extraction, recognition) && whole;
  }
  const bool moreImages = disk.readError() == 0 && chainGoesOn(disk);
  if (disk.readError() != 0) return reportReadFailure(disk, source, out, err);
  if (moreImages) printReport(out, err, kMoreImages, Shown(source.path).text());
  if (recognised == 0) {
    printReport(out, err, kNothingRecognised, Shown(source.path).text(), static_cast<int>(images));
  }
  return whole;
}

// Opens and cuts one D88 file of the run, headed by its path when the run
// has several (`index` counts them); false if it could not be opened or
// read, or a file was incomplete or not written.
bool cutD88File(D88File& disk, const D88Source& source, int index, CompleteFiles* complete,
                std::FILE* out, std::FILE* err) {
  if (source.namesPath) {
    printMessage(out, index == 0 ? kFileHeading : kFileHeadingAfter, Shown(source.path).text());
  }
  if (!disk.open(source.path)) {
    const int reason = errno;
    writeReport(out, err, kOpenFailure);
    printMessage(err, kOpenFailureReason, Shown(source.path).text(), std::strerror(reason));
    return false;
  }
  const bool whole = disk.readError() != 0 ? reportReadFailure(disk, source, out, err)
                                           : cutAllImages(disk, source, complete, out, err);
  disk.close();
  return whole;
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

}  // namespace

int runTool(D88File& disk, int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    printMessage(out, kUsage, Shown(programName(argc, argv)).text());
    printMessage(out, kHelp, Shown(programName(argc, argv)).text());
    return finishOutput(out, err, kExitSuccess);
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    printMessage(out, kVersion, kProgramVersion);
    return finishOutput(out, err, kExitSuccess);
  }
  if (argc < 2) {
    printMessage(err, kUsage, Shown(programName(argc, argv)).text());
    return kExitFailure;
  }
  // "FILE DISKNO": one file and a disk number, accepted and not used.
  const int paths = argc == 3 && isDiskNumber(argv[2]) ? 1 : argc - 1;
  CompleteFiles complete;
  bool whole = true;
  for (int i = 0; i < paths; ++i) {
    const D88Source source = {argv[1 + i], paths > 1};
    whole = cutD88File(disk, source, i, &complete, out, err) && whole;
  }
  return finishOutput(out, err, whole ? kExitSuccess : kExitFailure);
}
