// SPDX-License-Identifier: MIT
// What d88info finds in a D88 file, as plain data: the layout of each image,
// where each track stands, the notes on what is wrong, and what d88cut would
// make of the image. Finding decides everything; the reports only write it.
#ifndef D88CUT_INFO_FINDINGS_H_
#define D88CUT_INFO_FINDINGS_H_

#include <cstddef>
#include <cstdint>

#include "disk/d88_file.h"
#include "disk/d88_verdict.h"
#include "game/assembly.h"
#include "game/file_table.h"
#include "game/recognition.h"
#include "info/layout.h"

inline constexpr std::size_t kNoteTextSize = 800;
// An image has at most 14 kinds of note; a file 2.
inline constexpr int32_t kMaxNotes = 14;

struct Note {
  const char* kind;  // "truncated", "blank-track", ...
  char text[kNoteTextSize];
};

struct NoteList {
  int32_t count = 0;
  Note notes[kMaxNotes];
};

struct TrackFinding {
  TrackState state = TrackState::kAbsent;
  int64_t start = 0;     // kListed: file position of its first record header
  int32_t declared = 0;  // kListed: the count its first header declares
};

// A game file's run on the image.
struct GameFileFinding {
  const FileEntry* entry = nullptr;
  int32_t found = 0;  // the file's own bytes the disk holds
  RunStop stop;       // where and why its run stopped
  RunDamage damage;   // its run's sectors recorded with an error
};

// Where a sector recognition looked for was not, as d88info sees the image.
enum class SectorAbsence {
  kThere,         // found (or not looked for)
  kTrackAbsent,   // its track is absent from the image
  kPastFileEnd,   // its track lies past the end of the file (a short dump)
  kNoSuchSector,  // the track holds no record with its ID
};

struct GameFindings {
  DiskRecognition recognition;
  SectorAbsence bootAbsence = SectorAbsence::kThere;
  SectorAbsence signatureAbsence = SectorAbsence::kThere;
  int32_t fileCount = 0;
  GameFileFinding files[kMaxFilesOfADisk];  // the system disk's files, or MUSIC2
  // The release fingerprint of the system disk (cut short too) or scenario
  // disk 4 (game/assembly.h), of this image alone; "" for other images.
  char fingerprint[kFingerprintSize] = {};
  bool fingerprintWhole = false;  // every sector it covers was good
};

struct ImageFindings {
  ImageLayout layout;
  TrackFinding tracks[kTrackCount];  // entries past layout.tableEntries stay kAbsent
  int32_t listed = 0;                // tracks in state kListed
  GameFindings game;
  NoteList notes;
};

struct FileFindings {
  int64_t size = 0;    // -1 when the system cannot tell
  D88Verdict verdict;  // whether it is a D88 file at all; nothing more is found when not
  FileTail tail;
  NoteList notes;
};

// Finds what follows the images of the file open in disk, of `size` bytes
// (fileLength; -1 when it cannot be told), and its notes; first whether it
// is a D88 file at all (file->verdict), and nothing more when it is not.
void findFile(D88File& disk, int64_t size, FileFindings* file);

// Finds everything about image `index` of the open file found by findFile
// (selecting it). Returns false, with *image holding only its index, when its
// header cannot be read whole (the file shrank since it was opened).
bool findImage(D88File& disk, const FileFindings& file, int32_t index, ImageFindings* image);

#endif  // D88CUT_INFO_FINDINGS_H_
