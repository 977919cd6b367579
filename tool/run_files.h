// SPDX-License-Identifier: MIT
// What became of each of the game's files in one run of d88cut: where a
// complete copy came from, whether the run wrote it, and how it stands at
// the end, for the closing word on what is missing.
#ifndef D88CUT_TOOL_RUN_FILES_H_
#define D88CUT_TOOL_RUN_FILES_H_

#include <cstdint>

enum class CutStatus {
  kComplete,      // every byte came from the disk, and the file was written
  kIncomplete,    // the run stopped early; written, as no file of the name was there
  kDamaged,       // complete, but sectors recorded with an error; written likewise
  kKeptEarlier,   // incomplete or damaged; this run's complete file from an earlier image was kept
  kKeptExisting,  // incomplete or damaged; the file already in the folder was kept
  kNotWritten,    // the file could not be written; any previous file is intact
  kReadFailed,    // the D88 file could not be read (D88File::readError); nothing written
};

// A cut's status in words: `key` names it for the page and scripts
// ("complete", "kept", ...), `why` says why a file is not complete in the
// closing note.
struct CutStatusText {
  const char* key;
  const char* why;
};
CutStatusText cutStatusText(CutStatus status);

// Where a complete copy came from: a D88 file (its path) and an image of it.
struct CopySource {
  const char* path = nullptr;
  int32_t image = -1;
};

// Holds the game's file names; a name past kMaxFiles is not remembered.
class RunFiles {
 public:
  // Where this run's complete copy of `name` came from; image -1 when none.
  CopySource completeSource(const char* name) const;
  // True when this run wrote `name` (or, in a dry run, would have).
  bool written(const char* name) const;
  // True when a cut of `name` was tried; *last (when given) receives the
  // last one's status.
  bool tried(const char* name, CutStatus* last = nullptr) const;
  // Remembers a cut of `name`: its status, and where it came from (the
  // path is copied: an archive entry's name lives only while it is read; a
  // longer one than kSourcePathSize holds is cut). REQUIRES: name outlives
  // this object (the file table's names do).
  void record(const char* name, CutStatus status, CopySource source);

 private:
  // Room for a source's path: a path, a colon and an entry's name.
  static constexpr int kSourcePathSize = 4096 + 1 + 1024;
  struct Entry {
    const char* name;
    CutStatus last;
    int32_t completeImage;
    bool written;
    char completePath[kSourcePathSize];
  };
  Entry* find(const char* name);
  const Entry* find(const char* name) const;
  static constexpr int kMaxFiles = 8;
  Entry entries[kMaxFiles] = {};
  int count = 0;
};

#endif  // D88CUT_TOOL_RUN_FILES_H_
