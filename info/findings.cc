// SPDX-License-Identifier: MIT
#include "info/findings.h"

#include <cstdarg>
#include <cstdio>

#include "game/file_run.h"
#include "info/json_text.h"
#include "info/messages.h"
#include "platform/console.h"

namespace {

uint8_t infoBuffer[kExtractionBufferSize];

// The sector IDs met on one track, to find two records with one ID. Stamps
// spare a clearing per track; past half its slots nothing more is checked.
class IdSet {
 public:
  void clear() {
    ++generation_;
    used_ = 0;
  }
  // True when id was met before on this track; remembers it.
  bool seen(uint32_t id) {
    if (used_ >= kSlots / 2) return false;
    for (uint32_t slot = (id * 2654435761u) >> 16;; slot = (slot + 1) % kSlots) {
      if (stamps_[slot] != generation_) {
        stamps_[slot] = generation_;
        keys_[slot] = id;
        ++used_;
        return false;
      }
      if (keys_[slot] == id) return true;
    }
  }

 private:
  static constexpr uint32_t kSlots = 1u << 16;
  uint32_t keys_[kSlots] = {};
  uint32_t stamps_[kSlots] = {};
  uint32_t generation_ = 0;
  uint32_t used_ = 0;
};
IdSet trackIds;

// Tracks named by each note about tracks.
struct TrackNotes {
  bool negative[kTrackCount] = {};
  bool inHeader[kTrackCount] = {};
  bool pastSize[kTrackCount] = {};
  bool pastFile[kTrackCount] = {};
  bool blank[kTrackCount] = {};
  bool countMismatch[kTrackCount] = {};
  bool sizeMismatch[kTrackCount] = {};
  bool pastImageEnd[kTrackCount] = {};
  bool duplicateId[kTrackCount] = {};
  int32_t found[kTrackCount] = {};     // records found on each listed track
  int32_t declared[kTrackCount] = {};  // ... and the count its first header declares
  int64_t mostBytes = 0;               // the most data bytes one track holds
  int32_t mostBytesTrack = -1;         // ... and which track that is
};

// Walks the records of listed track t and marks the notes they call for.
void walkTrack(D88File& disk, const ImageLayout& image, int32_t t, const TrackFinding& track,
               TrackNotes* notes) {
  TrackWalk walk = disk.walkRecords(track.start, image.end);
  trackIds.clear();
  int32_t found = 0;
  int64_t bytes = 0;
  TrackRecord record;
  while (disk.nextRecord(&walk, &record)) {
    const SectorHeader& h = record.header;
    bytes += h.dataSize;
    notes->sizeMismatch[t] = notes->sizeMismatch[t] || dataSizeDiffers(h);
    notes->pastImageEnd[t] = notes->pastImageEnd[t] || record.dataPastEnd;
    const uint32_t id = uint32_t{h.c} << 24 | uint32_t{h.h} << 16 | uint32_t{h.r} << 8 | h.n;
    notes->duplicateId[t] = trackIds.seen(id) || notes->duplicateId[t];
    ++found;
  }
  notes->countMismatch[t] = found != track.declared;
  notes->found[t] = found;
  notes->declared[t] = track.declared;
  if (bytes > notes->mostBytes) {
    notes->mostBytes = bytes;
    notes->mostBytesTrack = t;
  }
}

// Classifies every track of the image and walks the listed ones.
void findTracks(D88File& disk, ImageFindings* image, TrackNotes* notes) {
  for (int32_t t = 0; t < image->layout.tableEntries; ++t) {
    TrackFinding& track = image->tracks[t];
    track.state = classifyTrack(disk, image->layout, t, &track.start, &track.declared);
    notes->negative[t] = track.state == TrackState::kNegative;
    notes->inHeader[t] = track.state == TrackState::kInHeader;
    notes->pastSize[t] = track.state == TrackState::kPastSize;
    notes->pastFile[t] = track.state == TrackState::kPastFile;
    notes->blank[t] = track.state == TrackState::kBlank;
    if (track.state != TrackState::kListed) continue;
    walkTrack(disk, image->layout, t, track, notes);
    ++image->listed;
  }
}

void findGameFile(D88File& disk, const FileEntry& entry, GameFindings* game) {
  if (game->fileCount >= kMaxFilesOfADisk) return;  // the table's rows, counted when compiled
  GameFileFinding& file = game->files[game->fileCount++];
  file.entry = &entry;
  file.found = fileBytesFound(readFileRun(disk, entry, infoBuffer, &file.stop, &file.damage),
                              entry.offset, entry.length);
}

// Where a sector of `seen` on track t is not, with the image's own view of
// that track: a search that found no record on a track past the file's end
// found no track.
SectorAbsence absenceOf(SectorSeen seen, const ImageFindings& image, int32_t t) {
  if (seen == SectorSeen::kTrackAbsent) return SectorAbsence::kTrackAbsent;
  if (seen != SectorSeen::kNoSuchSector) return SectorAbsence::kThere;
  const bool pastFile = image.tracks[t].state == TrackState::kPastFile &&
                        image.layout.bytesPresent < image.layout.diskSize;
  return pastFile ? SectorAbsence::kPastFileEnd : SectorAbsence::kNoSuchSector;
}

// What d88cut would make of the image, why, and the bytes of each file it
// would cut.
void findGame(D88File& disk, int32_t index, ImageFindings* image) {
  GameFindings* game = &image->game;
  disk.selectImage(index);  // an image that cannot be selected is recognised as none
  game->recognition = recogniseDisk(disk, infoBuffer);
  game->bootAbsence = absenceOf(game->recognition.boot, *image, kBootSector.track);
  game->signatureAbsence = absenceOf(game->recognition.signature, *image, kSignatureSector.track);
  // A system disk cut short: whether its files lie whole in what is left.
  if (game->recognition.kind == DiskRecognition::kSystemDisk ||
      game->recognition.cutShortSystemDisk) {
    for (const FileEntry* entry = systemDiskFiles; entry->sector != 0; ++entry) {
      findGameFile(disk, *entry, game);
    }
  } else if (game->recognition.kind == DiskRecognition::kScenarioDisk &&
             game->recognition.scenario == 4) {
    findGameFile(disk, scenarioDisk4File, game);
  }
}

// Adds a note, its text formatted. The texts are English and ASCII.
// Adds a note of `kind`, formatted like printf; past kMaxNotes it is dropped.
void addNote(NoteList* list, const char* kind, const char* format, ...) D88CUT_PRINTF_FORMAT(3, 4);
void addNote(NoteList* list, const char* kind, const char* format, ...) {
  if (list->count >= kMaxNotes) return;
  Note& note = list->notes[list->count++];
  note.kind = kind;
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(note.text, sizeof note.text, format, args);
  va_end(args);
}

// Room for a note's track list.
constexpr std::size_t kTrackListSize = 700;

// Writes the tracks a note names ("track 3", "tracks 4-6, 9") into text;
// false when it names none.
bool listTracks(const bool (&tracks)[kTrackCount], char (&text)[kTrackListSize]) {
  bool any = false;
  for (bool t : tracks) any = any || t;
  if (any) formatTrackList(tracks, text, sizeof text);
  return any;
}

// Adds a note on the tracks marked; `format` takes the track list, then
// (where it says so) where the image's bytes end.
void addTrackNote(NoteList* list, const char* kind, const char* format,
                  const bool (&tracks)[kTrackCount], int64_t end = 0) {
  char trackList[kTrackListSize];
  if (!listTracks(tracks, trackList)) return;
  addNote(list, kind, format, trackList, static_cast<unsigned long long>(end));
}

// The count-mismatch note, with what each track found and declares (the
// first few tracks).
void addCountNote(NoteList* list, const TrackNotes& tracks) {
  constexpr int kShown = 6;
  char counts[300] = "";
  std::size_t used = 0;
  int shown = 0;
  for (int32_t t = 0; t < kTrackCount && used < sizeof counts; ++t) {
    if (!tracks.countMismatch[t]) continue;
    const int n = shown == kShown
                      ? std::snprintf(counts + used, sizeof counts - used, ", ...")
                      : std::snprintf(counts + used, sizeof counts - used, kNoteCountOfTrack,
                                      shown > 0 ? ", " : "", static_cast<int>(t),
                                      static_cast<int>(tracks.found[t]),
                                      static_cast<int>(tracks.declared[t]));
    used += n > 0 ? static_cast<std::size_t>(n) : 0;
    if (shown++ == kShown) break;
  }
  char trackList[kTrackListSize];
  if (!listTracks(tracks.countMismatch, trackList)) return;
  addNote(list, "count-mismatch", kNoteCountMismatch, trackList, counts);
}

// Media bytes of double-density disks, whose tracks hold at most some 6 KiB.
bool declaresDoubleDensity(int32_t media) {
  return media == 0x00 || media == 0x10 || media == 0x30 || media == 0x40;
}
// More data bytes on one track than a double-density track holds (16 x 256,
// 9 x 512, 5 x 1024, with room to spare); 2HD tracks hold 6,656 or more.
constexpr int64_t kMostDoubleDensityBytes = 6400;

void addMediaNote(const ImageLayout& image, const TrackNotes& tracks, NoteList* list) {
  const int32_t media = image.header.media;
  const bool highDensityTrack = tracks.mostBytes > kMostDoubleDensityBytes;
  if (declaresDoubleDensity(media) && highDensityTrack) {
    addNote(list, "media-mismatch", kNoteMediaHighDensity, static_cast<unsigned>(media),
            mediaKind(media), static_cast<int>(tracks.mostBytesTrack),
            static_cast<long long>(tracks.mostBytes));
  } else if (media == 0x20 && tracks.mostBytesTrack >= 0 && !highDensityTrack) {
    addNote(list, "media-mismatch", kNoteMediaDoubleDensity, static_cast<unsigned>(media),
            mediaKind(media), static_cast<long long>(tracks.mostBytes));
  }
}

void collectImageNotes(const ImageLayout& image, const TrackNotes& tracks, NoteList* list) {
  if (image.diskSize < 0) {
    addNote(list, "negative-size", kNoteNegativeSize,
            static_cast<unsigned long>(image.header.diskSize), static_cast<long>(image.diskSize));
  } else if (image.bytesPresent < image.diskSize) {
    addNote(list, "truncated", kNoteTruncated, static_cast<long long>(image.bytesPresent),
            static_cast<long>(image.diskSize),
            static_cast<long long>(image.diskSize - image.bytesPresent),
            static_cast<unsigned long long>(image.end));
  }
  if (image.times > 1) {
    addNote(list, "repeated-image", kNoteRepeatedImage, static_cast<int>(image.times),
            static_cast<int>(image.index), static_cast<int>(image.index + image.times - 1));
  }
  if (image.headerLength < kImageHeaderSize) {
    addNote(list, "short-header", kNoteShortHeader, static_cast<int>(image.headerLength),
            static_cast<int>(image.tableEntries));
  }
  if (image.diskSize >= 0 && image.diskSize < image.headerLength) {
    addNote(list, "size-below-header", kNoteSizeBelowHeader,
            static_cast<unsigned long>(image.header.diskSize),
            static_cast<int>(image.headerLength));
  }
  addMediaNote(image, tracks, list);
  addTrackNote(list, "negative-entry", kNoteNegativeEntry, tracks.negative);
  addTrackNote(list, "entry-in-header", kNoteEntryInHeader, tracks.inHeader);
  addTrackNote(list, "entry-past-size", kNoteEntryPastSize, tracks.pastSize);
  addTrackNote(list, "entry-past-file", kNoteEntryPastFile, tracks.pastFile, image.end);
  addTrackNote(list, "blank-track", kNoteBlankTrack, tracks.blank);
  addCountNote(list, tracks);
  addTrackNote(list, "size-mismatch", kNoteSizeMismatch, tracks.sizeMismatch);
  addTrackNote(list, "past-image-end", kNotePastImageEnd, tracks.pastImageEnd, image.end);
  addTrackNote(list, "duplicate-id", kNoteDuplicateId, tracks.duplicateId);
}

}  // namespace

void findFile(D88File& disk, int64_t size, FileFindings* file) {
  *file = FileFindings{};
  file->size = size >= 0 ? size : -1;
  file->verdict = judgeD88File(disk, file->size);
  if (file->verdict.kind != D88Verdict::kD88) return;
  file->tail = examineFileTail(disk, file->size);
  const FileTail& tail = file->tail;
  if (tail.moreImages > 0) {
    addNote(&file->notes, "more-images", kNoteMoreImages, static_cast<int>(tail.moreImages));
  }
  if (tail.leftoverLength > 0) {
    const bool padding = tail.leftoverZero;
    addNote(&file->notes, padding ? "trailing-bytes" : "partial-header",
            padding ? kNoteTrailingBytes : kNotePartialHeader,
            static_cast<long long>(tail.leftoverLength),
            static_cast<unsigned long long>(tail.leftoverStart));
  }
}

bool findImage(D88File& disk, const FileFindings& file, int32_t index, ImageFindings* image) {
  *image = ImageFindings{};
  if (!readImageLayout(disk, file.size, index, &image->layout)) return false;
  TrackNotes notes;
  findTracks(disk, image, &notes);
  findGame(disk, index, image);
  collectImageNotes(image->layout, notes, &image->notes);
  return true;
}
