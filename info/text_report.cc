// SPDX-License-Identifier: MIT
// d88info's report for people: a line per image, what d88cut would make of
// it, with --sectors every track's records, then the notes.
#include "game/file_run.h"
#include "info/json_text.h"
#include "info/messages.h"
#include "info/report.h"
#include "platform/console.h"

namespace {

void writeImageLine(const Report& r, const ImageFindings& found) {
  const ImageLayout& image = found.layout;
  char name[kNameTextSize];
  if (streamShowsUtf8(r.out))
    decodeDiskName(image.header.name, name);
  else
    escapeDiskName(image.header.name, name);
  printMessage(r.out, kInfoImage, static_cast<int>(image.index),
               static_cast<unsigned>(image.offset),
               static_cast<unsigned long>(image.header.diskSize), image.header.media,
               mediaKind(image.header.media), image.header.writeProtect,
               static_cast<int>(image.headerLength), static_cast<int>(found.listed), name);
}

// Why an image is not a disk of the game: what recognition saw.
void writeWhyNot(const Report& r, const GameFindings& game) {
  const DiskRecognition& seen = game.recognition;
  const auto absence = [](SectorAbsence a) { return kInfoAbsence[static_cast<int>(a)]; };
  if (game.bootAbsence != SectorAbsence::kThere) {
    printMessage(r.out, kInfoWhyNoBoot, absence(game.bootAbsence));
  } else if (seen.diskId != 0) {
    printMessage(r.out, kInfoWhyOtherId, static_cast<unsigned>(seen.diskId));
    return;
  }
  char compared[sizeof seen.compared * 4 + 1];
  escapeBytes(seen.compared, sizeof seen.compared, compared);
  if (game.signatureAbsence == SectorAbsence::kThere) {
    printMessage(r.out, kInfoWhyOtherSignature, compared);
  } else if (game.bootAbsence == SectorAbsence::kThere) {
    printMessage(r.out, kInfoWhyBootInstead, absence(game.signatureAbsence), compared);
  } else {
    printMessage(r.out, kInfoWhyNoSignature, absence(game.signatureAbsence));
  }
}

void writeGame(const Report& r, const GameFindings& game) {
  if (game.recognition.kind == DiskRecognition::kSystemDisk) {
    writeMessage(r.out, kInfoSystemDisk);
  } else if (game.recognition.kind == DiskRecognition::kScenarioDisk) {
    printMessage(r.out, kInfoScenarioDisk, static_cast<int>(game.recognition.scenario));
  } else if (game.recognition.cutShortSystemDisk) {
    writeMessage(r.out, kInfoCutShortSystemDisk);
  } else {
    writeMessage(r.out, kInfoOther);
    writeWhyNot(r, game);
  }
  for (int32_t i = 0; i < game.fileCount; ++i) {
    const GameFileFinding& file = game.files[i];
    printMessage(r.out, kInfoFileFound, file.entry->name, static_cast<int>(file.found),
                 static_cast<int>(file.entry->length));
    if (file.stop.reason != RunStop::kNone) {
      char where[kRunStopTextSize];
      describeRunStop(file.stop, where);
      printMessage(r.out, kInfoRunStop, where);
    }
    if (file.damage.sectors > 0) {
      char which[kRunDamageTextSize];
      describeRunDamage(file.damage, which);
      printMessage(r.out, kInfoRunStop, which);
    }
    writeMessage(r.out, kInfoLineEnd);
  }
}

void writeRecord(const Report& r, const TrackRecord& record, int32_t declared) {
  const SectorHeader& h = record.header;
  printMessage(r.out, kInfoSectorId, h.c, h.h, h.r, h.n);
  if (h.density == 0x40) writeMessage(r.out, kInfoSingle);
  if (h.density != 0x40 && h.density != 0) printMessage(r.out, kInfoDensity, h.density);
  if (h.deleted != 0) writeMessage(r.out, kInfoDeleted);
  if (h.status != 0) printMessage(r.out, kInfoStatus, h.status);
  if (dataSizeDiffers(h)) printMessage(r.out, kInfoDataSize, static_cast<int>(h.dataSize));
  if (h.count != declared) printMessage(r.out, kInfoCount, static_cast<int>(h.count));
  if (record.dataPastEnd) writeMessage(r.out, kInfoPastEnd);
}

// One line per listed track: its place and its records' IDs and marks.
void writeSectors(D88File& disk, const Report& r, const ImageFindings& found) {
  for (int32_t t = 0; t < kTrackCount; ++t) {
    const TrackFinding& track = found.tracks[t];
    if (track.state != TrackState::kListed) continue;
    printMessage(r.out, kInfoTrack, static_cast<int>(t), static_cast<int>(t >> 1),
                 static_cast<int>(t & 1));
    TrackWalk walk = disk.walkRecords(track.start, found.layout.end);
    TrackRecord record;
    while (disk.nextRecord(&walk, &record)) writeRecord(r, record, track.declared);
    writeMessage(r.out, kInfoLineEnd);
  }
}

void writeNotes(const Report& r, const NoteList& list, bool ofFile) {
  for (int32_t i = 0; i < list.count; ++i) {
    printMessage(r.out, ofFile ? kInfoFileNote : kInfoImageNote, list.notes[i].text,
                 list.notes[i].kind);
  }
}

}  // namespace

void writeTextFileStart(const Report& r, const char* path, const FileFindings& file,
                        int32_t imageCount) {
  if (r.withPath && file.size < 0) {
    printMessage(r.out, kInfoFileSizeUnknown, Shown(path, r.out).text());
  } else if (r.withPath) {
    printMessage(r.out, kInfoFile, Shown(path, r.out).text(), static_cast<long long>(file.size));
  }
  if (file.verdict.kind != D88Verdict::kD88) {
    char why[kNotD88TextSize];
    describeNotD88(file.verdict, why, sizeof why);
    printMessage(r.out, kInfoNotD88, Shown(path, r.out).text(), why);
  } else if (imageCount == 0) {
    printMessage(r.out, kInfoNoImage, Shown(path, r.out).text());
  }
}

void writeTextImage(D88File& disk, const Report& r, const ImageFindings& image) {
  writeImageLine(r, image);
  writeGame(r, image.game);
  if (r.sectors) writeSectors(disk, r, image);
  writeNotes(r, image.notes, false);
}

void writeTextUnreadableImage(const Report& r, int32_t index) {
  printMessage(r.out, kInfoUnreadableImage, static_cast<int>(index));
}

void writeTextFileEnd(const Report& r, const FileFindings& file) {
  writeNotes(r, file.notes, true);
}
