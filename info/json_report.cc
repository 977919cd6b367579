// SPDX-License-Identifier: MIT
// d88info's report for programs: one JSON object per file, its images with
// every listed track's records, what d88cut would make of each, the notes.
// Records are most of a document: they are formatted by hand.
#include <cstring>

#include "info/json_text.h"
#include "info/report.h"
#include "platform/console.h"

namespace {

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

void writeRecord(std::FILE* out, const SectorHeader& h, bool first) {
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

// A track's entry; its records only `withRecords` (--sectors).
void writeTrack(D88File& disk, std::FILE* out, const ImageFindings& found, int32_t t, bool first,
                bool withRecords) {
  const TrackFinding& track = found.tracks[t];
  char json[100];
  char* p = putNumber(put(json, first ? "{\"index\":" : ",{\"index\":"), static_cast<uint32_t>(t));
  p = putNumber(put(p, ",\"offset\":"), found.layout.header.trackEntries[t]);
  p = putNumber(put(p, ",\"declared\":"), static_cast<uint32_t>(track.declared));
  if (!withRecords) {
    p = put(p, "}");
    std::fwrite(json, 1, static_cast<std::size_t>(p - json), out);
    return;
  }
  p = put(p, ",\"records\":[");
  std::fwrite(json, 1, static_cast<std::size_t>(p - json), out);
  TrackWalk walk = disk.walkRecords(track.start, found.layout.end);
  TrackRecord record;
  for (bool firstRecord = true; disk.nextRecord(&walk, &record); firstRecord = false) {
    writeRecord(out, record.header, firstRecord);
  }
  std::fputs("]}", out);
}

void writeImageFields(std::FILE* out, const ImageLayout& image) {
  char name[kNameTextSize];
  decodeDiskName(image.header.name, name);
  std::fprintf(out,
               "{\"index\":%d,\"offset\":%lld,\"diskSize\":%lu,\"bytesPresent\":%lld,\"name\":",
               static_cast<int>(image.index), static_cast<long long>(image.offset),
               static_cast<unsigned long>(image.header.diskSize),
               static_cast<long long>(image.bytesPresent));
  writeJsonString(out, name);
  std::fputs(",\"nameBytes\":\"", out);
  writeHexBytes(out, image.header.name);
  std::fprintf(out,
               "\",\"writeProtect\":%u,\"media\":%u,\"mediaKind\":\"%s\",\"headerLength\":%d,"
               "\"times\":%d,",
               image.header.writeProtect, image.header.media, mediaKind(image.header.media),
               static_cast<int>(image.headerLength), static_cast<int>(image.times));
}

void writeGameFile(std::FILE* out, const GameFileFinding& file, bool first) {
  std::fprintf(out, "%s{\"name\":\"%s\",\"length\":%d,\"found\":%d,\"stop\":", first ? "" : ",",
               file.entry->name, static_cast<int>(file.entry->length),
               static_cast<int>(file.found));
  static const char* const kReasons[] = {"", "track absent", "no such sector", "short sector"};
  const RunStop& stop = file.stop;
  if (stop.reason == RunStop::kNone) {
    std::fputs("null", out);
  } else {
    std::fprintf(out, "{\"track\":%d,\"c\":%d,\"h\":%d,\"r\":%d,\"reason\":\"%s\",\"holds\":%d}",
                 static_cast<int>(stop.track), static_cast<int>(stop.c), static_cast<int>(stop.h),
                 static_cast<int>(stop.r), kReasons[stop.reason], static_cast<int>(stop.holds));
  }
  // Only a run with sectors recorded with an error has "damage".
  const RunDamage& damage = file.damage;
  if (damage.sectors > 0) {
    std::fprintf(out,
                 ",\"damage\":{\"sectors\":%d,\"track\":%d,\"c\":%d,\"h\":%d,\"r\":%d,"
                 "\"status\":%u}",
                 static_cast<int>(damage.sectors), static_cast<int>(damage.track),
                 static_cast<int>(damage.c), static_cast<int>(damage.h), static_cast<int>(damage.r),
                 static_cast<unsigned>(damage.status));
  }
  std::fputc('}', out);
}

void writeGame(std::FILE* out, const GameFindings& game) {
  const DiskRecognition::Kind kind = game.recognition.kind;
  std::fprintf(out, "\"game\":{\"disk\":\"%s\",\"scenario\":",
               kind == DiskRecognition::kSystemDisk     ? "system"
               : kind == DiskRecognition::kScenarioDisk ? "scenario"
               : game.recognition.cutShortSystemDisk    ? "system cut short"
                                                        : "none");
  if (kind == DiskRecognition::kScenarioDisk)
    std::fprintf(out, "%d", static_cast<int>(game.recognition.scenario));
  else
    std::fputs("null", out);
  std::fputs(",\"files\":[", out);
  for (int32_t i = 0; i < game.fileCount; ++i) writeGameFile(out, game.files[i], i == 0);
  if (game.fingerprint[0] != '\0') {
    std::fprintf(out, "],\"fingerprint\":\"%s\",\"fingerprintWhole\":%s}", game.fingerprint,
                 game.fingerprintWhole ? "true" : "false");
  } else {
    std::fputs("],\"fingerprint\":null}", out);
  }
}

// What recognition saw: the boot sector, its disk id, and for disk id 0 the
// signature sector and the 16 bytes compared with the signature.
void writeRecognition(std::FILE* out, const GameFindings& game) {
  static const char* const kSeen[] = {"found", "track absent", "past the end of the file",
                                      "no such sector"};
  const DiskRecognition& seen = game.recognition;
  std::fprintf(out, ",\"recognition\":{\"bootSector\":\"%s\",\"bootBytes\":%d,\"diskId\":%u,",
               kSeen[static_cast<int>(game.bootAbsence)], static_cast<int>(seen.bootBytes),
               static_cast<unsigned>(seen.diskId));
  if (seen.signature == SectorSeen::kNotLooked) {
    std::fputs("\"signatureSector\":null,\"compared\":null,\"comparedBytes\":null}", out);
    return;
  }
  char compared[sizeof seen.compared * 4 + 1];
  escapeBytes(seen.compared, sizeof seen.compared, compared);
  std::fprintf(out, "\"signatureSector\":\"%s\",\"compared\":",
               kSeen[static_cast<int>(game.signatureAbsence)]);
  writeJsonString(out, compared);
  // The same bytes in hexadecimal, for scripts that should not parse escapes.
  std::fputs(",\"comparedBytes\":\"", out);
  writeHexBytes(out, seen.compared, sizeof seen.compared);
  std::fputs("\"}", out);
}

void writeNotes(std::FILE* out, const NoteList& list) {
  for (int32_t i = 0; i < list.count; ++i) {
    std::fputs(i > 0 ? ",{\"kind\":" : "{\"kind\":", out);
    writeJsonString(out, list.notes[i].kind);
    std::fputs(",\"text\":", out);
    writeJsonString(out, list.notes[i].text);
    std::fputc('}', out);
  }
}

}  // namespace

void writeJsonArchive(const Report& r) {
  if (r.archive == nullptr) return;
  std::fputs(",\"archive\":", r.out);
  writeJsonString(r.out, r.archive);
  std::fputs(",\"entry\":", r.out);
  if (r.entry != nullptr) {
    writeJsonString(r.out, r.entry);
  } else {
    std::fputs("null", r.out);
  }
}

void writeJsonFileStart(const Report& r, const char* path, const FileFindings& file) {
  std::fputs("{\"path\":", r.out);
  writeJsonString(r.out, path);
  writeJsonArchive(r);
  // A path that is not UTF-8 cannot be told back from the string: its bytes.
  if (!isValidUtf8(path)) {
    std::fputs(",\"pathBytes\":\"", r.out);
    writeHexBytes(r.out, path);
    std::fputc('"', r.out);
  }
  if (file.size < 0) {
    std::fputs(",\"size\":null,\"error\":null,\"notes\":[", r.out);
  } else {
    std::fprintf(r.out, ",\"size\":%lld,\"error\":null,\"notes\":[",
                 static_cast<long long>(file.size));
  }
  writeNotes(r.out, file.notes);
  std::fputs("],", r.out);
  if (file.verdict.kind != D88Verdict::kD88) {
    char why[kNotD88TextSize];
    describeNotD88(file.verdict, why, sizeof why);
    std::fputs("\"notD88\":", r.out);
    writeJsonString(r.out, why);
    std::fputc(',', r.out);
  }
  std::fputs("\"images\":[\n", r.out);
}

void writeJsonImage(D88File& disk, const Report& r, const ImageFindings& image, bool first) {
  if (!first) std::fputc(',', r.out);
  writeImageFields(r.out, image.layout);
  std::fputs("\"tracks\":[", r.out);
  bool firstTrack = true;
  for (int32_t t = 0; t < kTrackCount; ++t) {
    if (image.tracks[t].state != TrackState::kListed) continue;
    writeTrack(disk, r.out, image, t, firstTrack, r.sectors);
    firstTrack = false;
  }
  std::fputs("],", r.out);
  writeGame(r.out, image.game);
  writeRecognition(r.out, image.game);
  std::fputs(",\"notes\":[", r.out);
  writeNotes(r.out, image.notes);
  std::fputs("]}\n", r.out);
}

void writeJsonUnreadableImage(const Report& r, int32_t index, bool first) {
  std::fprintf(r.out, "%s{\"index\":%d,\"error\":\"header cannot be read\"}\n", first ? "" : ",",
               static_cast<int>(index));
}

void writeJsonFileEnd(const Report& r, int readError) {
  if (readError == 0) {
    std::fputs("]}", r.out);
    return;
  }
  std::fputs("],\"readError\":", r.out);
  writeJsonString(r.out, std::strerror(readError));
  std::fputc('}', r.out);
}
