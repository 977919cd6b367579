#include "info/report.h"

#include <cstring>

#include "info/json_text.h"
#include "info/layout.h"
#include "tool/console.h"
#include "tool/cut_file.h"
#include "tool/file_table.h"
#include "tool/messages.h"
#include "tool/recognition.h"

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
  bool inHeader[kTrackCount] = {};
  bool pastSize[kTrackCount] = {};
  bool pastFile[kTrackCount] = {};
  bool blank[kTrackCount] = {};
  bool countMismatch[kTrackCount] = {};
  bool sizeMismatch[kTrackCount] = {};
  bool pastImageEnd[kTrackCount] = {};
  bool duplicateId[kTrackCount] = {};
};

struct ListedTrack {
  bool listed = false;
  int64_t start = 0;
  int32_t declared = 0;
};

// Writes one note; `count` numbers the notes of its list (for JSON commas).
void writeNote(const Report& r, int* count, bool ofFile, const char* kind, const char* text) {
  if (r.json) {
    std::fputs(*count > 0 ? ",{\"kind\":" : "{\"kind\":", r.out);
    writeJsonString(r.out, kind);
    std::fputs(",\"text\":", r.out);
    writeJsonString(r.out, text);
    std::fputc('}', r.out);
  } else {
    printMessage(r.out, ofFile ? kInfoFileNote : kInfoImageNote, text, kind);
  }
  ++*count;
}

void writeTrackNote(const Report& r, int* count, const char* kind, const char* format,
                    const bool (&tracks)[kTrackCount]) {
  bool any = false;
  for (bool t : tracks) any = any || t;
  if (!any) return;
  char list[700];
  formatTrackList(tracks, list, sizeof list);
  char text[800];
  std::snprintf(text, sizeof text, format, list);
  writeNote(r, count, false, kind, text);
}

void writeImageNotes(const Report& r, const ImageLayout& image, const TrackNotes& tracks) {
  int count = 0;
  char text[200];
  if (image.bytesPresent < int64_t{image.header.diskSize}) {
    std::snprintf(text, sizeof text, kNoteTruncated, static_cast<long long>(image.bytesPresent),
                  static_cast<unsigned long>(image.header.diskSize));
    writeNote(r, &count, false, "truncated", text);
  }
  if (image.times > 1) {
    std::snprintf(text, sizeof text, kNoteRepeatedImage, static_cast<int>(image.times),
                  static_cast<int>(image.index), static_cast<int>(image.index + image.times - 1));
    writeNote(r, &count, false, "repeated-image", text);
  }
  if (image.headerLength < kImageHeaderSize) {
    std::snprintf(text, sizeof text, kNoteShortHeader, static_cast<int>(image.headerLength),
                  static_cast<int>(image.tableEntries));
    writeNote(r, &count, false, "short-header", text);
  }
  if (int64_t{image.header.diskSize} < image.headerLength) {
    std::snprintf(text, sizeof text, kNoteSizeBelowHeader,
                  static_cast<unsigned long>(image.header.diskSize),
                  static_cast<int>(image.headerLength));
    writeNote(r, &count, false, "size-below-header", text);
  }
  writeTrackNote(r, &count, "entry-in-header", kNoteEntryInHeader, tracks.inHeader);
  writeTrackNote(r, &count, "entry-past-size", kNoteEntryPastSize, tracks.pastSize);
  writeTrackNote(r, &count, "entry-past-file", kNoteEntryPastFile, tracks.pastFile);
  writeTrackNote(r, &count, "blank-track", kNoteBlankTrack, tracks.blank);
  writeTrackNote(r, &count, "count-mismatch", kNoteCountMismatch, tracks.countMismatch);
  writeTrackNote(r, &count, "size-mismatch", kNoteSizeMismatch, tracks.sizeMismatch);
  writeTrackNote(r, &count, "past-image-end", kNotePastImageEnd, tracks.pastImageEnd);
  writeTrackNote(r, &count, "duplicate-id", kNoteDuplicateId, tracks.duplicateId);
}

void writeFileNotes(const Report& r, const FileTail& tail) {
  int count = 0;
  char text[200];
  if (tail.moreImages > 0) {
    std::snprintf(text, sizeof text, kNoteMoreImages, static_cast<int>(tail.moreImages));
    writeNote(r, &count, true, "more-images", text);
  }
  if (tail.leftoverLength > 0) {
    const bool padding = tail.leftoverZero;
    std::snprintf(text, sizeof text, padding ? kNoteTrailingBytes : kNotePartialHeader,
                  static_cast<long long>(tail.leftoverLength),
                  static_cast<unsigned long long>(tail.leftoverStart));
    writeNote(r, &count, true, padding ? "trailing-bytes" : "partial-header", text);
  }
}

char* put(char* p, const char* text) {
  while (*text != '\0') *p++ = *text++;
  return p;
}

char* putNumber(char* p, uint32_t value) {
  char digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) *p++ = digits[--n];
  return p;
}

// A record's JSON object, formatted by hand: records are most of a document.
void writeRecordJson(std::FILE* out, const SectorHeader& h, bool first) {
  char json[200];
  char* p = put(json, first ? "{\"c\":" : ",{\"c\":");
  p = putNumber(put(putNumber(p, h.c), ",\"h\":"), h.h);
  p = putNumber(put(p, ",\"r\":"), h.r);
  p = putNumber(put(p, ",\"n\":"), h.n);
  p = putNumber(put(p, ",\"count\":"), static_cast<uint32_t>(h.count));
  p = putNumber(put(p, ",\"density\":"), h.density);
  p = putNumber(put(p, ",\"deleted\":"), h.deleted);
  p = putNumber(put(p, ",\"status\":"), h.status);
  p = putNumber(put(p, ",\"dataSize\":"), static_cast<uint32_t>(h.dataSize));
  *p++ = '}';
  std::fwrite(json, 1, static_cast<std::size_t>(p - json), out);
}

void writeRecord(const Report& r, const TrackRecord& record, int32_t declared, bool first) {
  const SectorHeader& h = record.header;
  if (r.json) {
    writeRecordJson(r.out, h, first);
    return;
  }
  printMessage(r.out, kInfoSectorId, h.c, h.h, h.r, h.n);
  if (h.density == 0x40) writeMessage(r.out, kInfoSingle);
  if (h.density != 0x40 && h.density != 0) printMessage(r.out, kInfoDensity, h.density);
  if (h.deleted != 0) writeMessage(r.out, kInfoDeleted);
  if (h.status != 0) printMessage(r.out, kInfoStatus, h.status);
  if (dataSizeDiffers(h)) printMessage(r.out, kInfoDataSize, static_cast<int>(h.dataSize));
  if (h.count != declared) printMessage(r.out, kInfoCount, static_cast<int>(h.count));
  if (record.dataPastEnd) writeMessage(r.out, kInfoPastEnd);
}

// Walks track t's records: writes them (JSON, or text with --sectors) and
// marks the notes they call for.
void walkTrack(D88File& disk, const Report& r, const ImageLayout& image, int32_t t,
               const ListedTrack& track, bool show, bool firstTrack, TrackNotes* notes) {
  if (show && r.json) {
    char json[100];
    char* p = putNumber(put(json, firstTrack ? "{\"index\":" : ",{\"index\":"), static_cast<uint32_t>(t));
    p = putNumber(put(p, ",\"offset\":"), image.header.trackEntries[t]);
    p = putNumber(put(p, ",\"declared\":"), static_cast<uint32_t>(track.declared));
    p = put(p, ",\"records\":[");
    std::fwrite(json, 1, static_cast<std::size_t>(p - json), r.out);
  } else if (show) {
    printMessage(r.out, kInfoTrack, static_cast<int>(t), static_cast<int>(t >> 1),
                 static_cast<int>(t & 1));
  }
  TrackWalk walk;
  walk.position = track.start;
  walk.end = image.end;
  trackIds.clear();
  int32_t found = 0;
  TrackRecord record;
  while (disk.nextRecord(&walk, &record)) {
    const SectorHeader& h = record.header;
    notes->sizeMismatch[t] = notes->sizeMismatch[t] || dataSizeDiffers(h);
    notes->pastImageEnd[t] = notes->pastImageEnd[t] || record.dataPastEnd;
    const uint32_t id = uint32_t{h.c} << 24 | uint32_t{h.h} << 16 | uint32_t{h.r} << 8 | h.n;
    notes->duplicateId[t] = trackIds.seen(id) || notes->duplicateId[t];
    if (show) writeRecord(r, record, track.declared, found == 0);
    ++found;
  }
  notes->countMismatch[t] = found != track.declared;
  if (show && r.json) std::fputs("]}", r.out);
  else if (show) writeMessage(r.out, kInfoLineEnd);
}

void writeGameFile(D88File& disk, const Report& r, const FileEntry& entry, bool first) {
  RunStop stop;
  const int32_t run = readFileRun(disk, infoBuffer, entry, &stop);
  const int32_t found = fileBytesFound(run, entry.offset, entry.length);
  if (!r.json) {
    printMessage(r.out, kInfoFileFound, entry.name, static_cast<int>(found),
                 static_cast<int>(entry.length));
    if (stop.reason != RunStop::kNone) {
      printMessage(r.out, kInfoRunStop, static_cast<int>(stop.track), static_cast<int>(stop.c),
                   static_cast<int>(stop.h), static_cast<int>(stop.r));
      printStopReason(r.out, stop);
    }
    writeMessage(r.out, kInfoLineEnd);
    return;
  }
  std::fprintf(r.out, "%s{\"name\":\"%s\",\"length\":%d,\"found\":%d,\"stop\":", first ? "" : ",",
               entry.name, static_cast<int>(entry.length), static_cast<int>(found));
  static const char* const kReasons[] = {"", "track absent", "no such sector", "short sector"};
  if (stop.reason == RunStop::kNone) {
    std::fputs("null}", r.out);
  } else {
    std::fprintf(r.out, "{\"track\":%d,\"c\":%d,\"h\":%d,\"r\":%d,\"reason\":\"%s\",\"holds\":%d}}",
                 static_cast<int>(stop.track), static_cast<int>(stop.c), static_cast<int>(stop.h),
                 static_cast<int>(stop.r), kReasons[stop.reason], static_cast<int>(stop.holds));
  }
}

// What d88cut would make of the image, and the bytes of each file it would cut.
void writeGame(D88File& disk, const Report& r, int32_t index) {
  // Recognition reads no more than the signature sector: clear only that.
  const DiskRecognition what = examineImage(disk, index, infoBuffer, kSignatureSectorLength);
  const bool system = what.kind == DiskRecognition::kSystemDisk;
  if (r.json) {
    std::fprintf(r.out, "\"game\":{\"disk\":\"%s\",\"scenario\":",
                 system ? "system" : what.kind == DiskRecognition::kScenarioDisk ? "scenario" : "none");
    if (what.kind == DiskRecognition::kScenarioDisk) std::fprintf(r.out, "%d", static_cast<int>(what.scenario));
    else std::fputs("null", r.out);
    std::fputs(",\"files\":[", r.out);
  } else if (system) {
    writeMessage(r.out, kInfoSystemDisk);
  } else if (what.kind == DiskRecognition::kScenarioDisk) {
    printMessage(r.out, kInfoScenarioDisk, static_cast<int>(what.scenario));
  } else {
    writeMessage(r.out, kInfoOther);
  }
  if (system) {
    for (const FileEntry* entry = systemDiskFiles; entry->sector != 0; ++entry) {
      writeGameFile(disk, r, *entry, entry == systemDiskFiles);
    }
  } else if (what.kind == DiskRecognition::kScenarioDisk && what.scenario == 4) {
    writeGameFile(disk, r, scenarioDisk4File, true);
  }
  if (r.json) std::fputs("]}", r.out);
}

void writeImageLine(const Report& r, const ImageLayout& image, int32_t listed) {
  char name[kNameTextSize];
  if (r.json || streamShowsUtf8(r.out)) decodeDiskName(image.header.name, name);
  else escapeDiskName(image.header.name, name);
  if (!r.json) {
    printMessage(r.out, kInfoImage, static_cast<int>(image.index),
                 static_cast<unsigned>(image.offset), static_cast<unsigned long>(image.header.diskSize),
                 image.header.media, mediaKind(image.header.media), image.header.writeProtect,
                 static_cast<int>(image.headerLength), static_cast<int>(listed), name);
    return;
  }
  std::fprintf(r.out,
               "{\"index\":%d,\"offset\":%lld,\"diskSize\":%lu,\"bytesPresent\":%lld,\"name\":",
               static_cast<int>(image.index), static_cast<long long>(image.offset),
               static_cast<unsigned long>(image.header.diskSize),
               static_cast<long long>(image.bytesPresent));
  writeJsonString(r.out, name);
  std::fputs(",\"nameBytes\":\"", r.out);
  for (const char* c = image.header.name; *c != '\0'; ++c) {
    std::fprintf(r.out, "%02X", static_cast<unsigned>(static_cast<unsigned char>(*c)));
  }
  std::fprintf(r.out,
               "\",\"writeProtect\":%u,\"media\":%u,\"mediaKind\":\"%s\",\"headerLength\":%d,"
               "\"times\":%d,",
               image.header.writeProtect, image.header.media, mediaKind(image.header.media),
               static_cast<int>(image.headerLength), static_cast<int>(image.times));
}

// Classifies every track of the image and walks the listed ones, writing them
// when `show`; returns the number listed.
int32_t scanTracks(D88File& disk, const Report& r, const ImageLayout& image, bool show,
                   ListedTrack (&tracks)[kTrackCount], TrackNotes* notes) {
  int32_t listed = 0;
  for (int32_t t = 0; t < image.tableEntries; ++t) {
    const TrackState state = classifyTrack(disk, image, t, &tracks[t].start, &tracks[t].declared);
    tracks[t].listed = state == TrackState::kListed;
    notes->inHeader[t] = state == TrackState::kInHeader;
    notes->pastSize[t] = state == TrackState::kPastSize;
    notes->pastFile[t] = state == TrackState::kPastFile;
    notes->blank[t] = state == TrackState::kBlank;
    if (!tracks[t].listed) continue;
    walkTrack(disk, r, image, t, tracks[t], show, listed == 0, notes);
    ++listed;
  }
  return listed;
}

void reportImage(D88File& disk, const Report& r, const ImageLayout& image) {
  TrackNotes notes;
  ListedTrack tracks[kTrackCount];
  if (r.json) {
    writeImageLine(r, image, 0);
    std::fputs("\"tracks\":[", r.out);
    scanTracks(disk, r, image, true, tracks, &notes);
    std::fputs("],", r.out);
    writeGame(disk, r, image.index);
    std::fputs(",\"notes\":[", r.out);
    writeImageNotes(r, image, notes);
    std::fputs("]}\n", r.out);
    return;
  }
  // The image line counts the tracks before they are listed: a second walk.
  writeImageLine(r, image, scanTracks(disk, r, image, false, tracks, &notes));
  writeGame(disk, r, image.index);
  if (r.sectors) {
    TrackNotes again;
    scanTracks(disk, r, image, true, tracks, &again);
  }
  writeImageNotes(r, image, notes);
}

}  // namespace

void reportFile(D88File& disk, const char* path, const Report& r) {
  const FileTail tail = examineFileTail(disk);
  if (r.json) {
    std::fputs("{\"path\":", r.out);
    writeJsonString(r.out, path);
    std::fprintf(r.out, ",\"size\":%lld,\"error\":null,\"notes\":[",
                 static_cast<long long>(disk.fileSize()));
    writeFileNotes(r, tail);
    std::fputs("],\"images\":[\n", r.out);
  } else if (r.withPath) {
    printMessage(r.out, kInfoFile, path, static_cast<long long>(disk.fileSize()));
  }
  if (!r.json && disk.imageCount() == 0) printMessage(r.out, kInfoNoImage, path);
  bool first = true;
  ImageLayout image;
  for (int32_t i = 0; i < disk.imageCount(); i += image.times) {
    image.times = 1;
    if (!readImageLayout(disk, i, &image)) {
      if (!r.json) printMessage(r.out, kInfoUnreadableImage, static_cast<int>(i));
      continue;
    }
    if (r.json && !first) std::fputc(',', r.out);
    reportImage(disk, r, image);
    first = false;
  }
  if (r.json) std::fputs("]}", r.out);
  else writeFileNotes(r, tail);
}

void reportUnopenedFile(const char* path, const char* reason, const Report& r) {
  if (!r.json) return;
  std::fputs("{\"path\":", r.out);
  writeJsonString(r.out, path);
  std::fputs(",\"size\":0,\"error\":", r.out);
  writeJsonString(r.out, reason);
  std::fputs(",\"notes\":[],\"images\":[]}", r.out);
}
