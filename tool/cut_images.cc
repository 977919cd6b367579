// SPDX-License-Identifier: MIT
#include "tool/cut_images.h"

#include <cstring>

#include "disk/d88_verdict.h"
#include "game/file_table.h"
#include "game/recognition.h"
#include "input/d88_inputs.h"
#include "platform/console.h"
#include "tool/assemble.h"
#include "tool/list_copies.h"
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
    beginDiskCopy(GameDiskKind::kSystemDisk);
    for (const FileEntry* entry = systemDiskFiles; entry->sector != 0; ++entry) {
      const CutStatus status = cutCopy(extraction, GameDiskKind::kSystemDisk, *entry);
      whole = !failsRun(status) && whole;
      if (status == CutStatus::kReadFailed) return false;
    }
    endDiskCopy(extraction, GameDiskKind::kSystemDisk);
  } else if (recognition.kind == DiskRecognition::kScenarioDisk) {
    printMessage(extraction.out, kScenarioDisk, static_cast<char>('0' + recognition.scenario));
    if (recognition.scenario != 4) {
      listScenarioCopy(recognition.scenario, extraction.path, extraction.image);
      return true;
    }
    beginDiskCopy(GameDiskKind::kScenarioDisk4);
    whole = !failsRun(cutCopy(extraction, GameDiskKind::kScenarioDisk4, scenarioDisk4File));
    if (extraction.disk.readError() == 0) endDiskCopy(extraction, GameDiskKind::kScenarioDisk4);
  } else if (recognition.cutShortSystemDisk) {
    addCutShortCopy(extraction);  // gives sectors only beside a recognised copy
  }
  return whole;
}

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
void sayWhereWhy(const D88Source& source, std::FILE* err) {
  // d88info reads a loose file or an archive again; a pipe is read already.
  const char* path = source.archive != nullptr ? source.archive : source.path;
  if ((source.size >= 0 && source.archive == nullptr) || std::strcmp(path, "-") == 0) return;
  char quoted[4 * 4096 + 3];
  if (!quoteForShell(path, quoted, sizeof quoted)) return;
  printMessage(err, kSeeWhy, Shown(quoted, err).text());
}

// The note for a D88 file of which no image was recognised: that it is no
// D88 file at all, and why, or that it holds no disk of the game.
void sayNothingRecognised(D88File& disk, const D88Source& source, int32_t images, std::FILE* out,
                          std::FILE* err) {
  const D88Verdict verdict = judgeD88File(disk, inputLength(disk, source.size, source.path));
  if (verdict.kind != D88Verdict::kD88) {
    char why[kNotD88TextSize];
    describeNotD88(verdict, why, sizeof why);
    printReport(out, err, kNotD88, Shown(source.path, err).text(), why);
    return;
  }
  printReport(out, err, kNothingRecognised, Shown(source.path, err).text(),
              static_cast<int>(images));
  if (images > 0) sayWhereWhy(source, err);
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
      run->cutShortSystemDiskSeen = true;
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

}  // namespace

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

WalkedKind walkedKindOf(D88File& disk, const D88Input& input, uint8_t* sectors) {
  if (input.archive == nullptr) {
    const uint8_t* head = nullptr;
    const int32_t available = disk.fileHead(&head);  // as open read it: no read again
    const int64_t size = inputLength(disk, input.size, input.name);
    if (judgeD88File(head, available, size).kind != D88Verdict::kD88) return WalkedKind::kOther;
  }
  for (int32_t i = 0; i < disk.imageCount(); ++i) {
    disk.selectImage(i);
    const DiskRecognition recognition = recogniseDisk(disk, sectors);
    if (disk.readError() != 0 || recognition.kind != DiskRecognition::kOther ||
        recognition.cutShortSystemDisk) {
      return WalkedKind::kGame;
    }
  }
  return WalkedKind::kD88;
}

bool holdsNoGameDisk(D88File& disk, int64_t size) {
  if (disk.imageCount() != 1 || disk.chainEnd() < size || !disk.selectImage(0)) return false;
  uint8_t sectors[kSignatureSectorLength];
  const DiskRecognition recognition = recogniseDisk(disk, sectors);
  // Read whole, a disk with id 0 is looked at again far from its head, and
  // one whose boot sector was missed here may have it further on.
  return recognition.kind == DiskRecognition::kOther && recognition.boot == SectorSeen::kFound &&
         recognition.bootBytes > 255 && recognition.diskId != 0;
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
