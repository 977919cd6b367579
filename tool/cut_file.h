// SPDX-License-Identifier: MIT
// Cutting one file out of a run of sectors into the current directory.
#ifndef D88CUT_TOOL_CUT_FILE_H_
#define D88CUT_TOOL_CUT_FILE_H_

#include <cstdint>
#include <cstdio>

#include "disk/d88_file.h"
#include "game/file_table.h"

// Where a complete copy came from: a D88 file (its path) and an image of it.
struct CopySource {
  const char* path = nullptr;
  int32_t image = -1;
};

// The files one run of the tool wrote complete, and from where, so that a
// later image's incomplete copy does not replace them. Holds the names of
// the game's files; a name past kMaxFiles is not remembered.
class CompleteFiles {
 public:
  // Where this run's complete copy of `name` came from; image -1 when none.
  CopySource sourceOf(const char* name) const;
  // Remembers that `source` gave `name` complete. REQUIRES: name and
  // source.path outlive this object (the file table's names and the command
  // line's paths do).
  void record(const char* name, CopySource source);

 private:
  static constexpr int kMaxFiles = 8;
  struct Entry {
    const char* name;
    CopySource source;
  };
  Entry entries[kMaxFiles] = {};
  int count = 0;
};

// What cutting needs: the reader with image `image` selected, the extraction
// buffer (kExtractionBufferSize bytes), the two message streams and, when
// given, the files this run already wrote complete. `path` is the D88 file;
// the messages name it when `namesPath` (a run of several D88 files).
struct Extraction {
  D88File& disk;
  uint8_t* buffer;
  std::FILE* out;
  std::FILE* err;
  int32_t image = 0;
  CompleteFiles* complete = nullptr;
  const char* path = nullptr;
  bool namesPath = false;
};

enum class CutStatus {
  kComplete,      // every byte came from the disk, and the file was written
  kIncomplete,    // the run stopped early or was damaged; written, as no file was there
  kKeptEarlier,   // the same; this run's complete file from an earlier image was kept
  kKeptExisting,  // the same; the file already in the folder was kept
  kNotWritten,    // the file could not be written; any previous file is intact
  kReadFailed,    // the D88 file could not be read (D88File::readError); nothing written
};

// Reads the file's run into the buffer (readFileRun); when the D88 file
// could not be read returns kReadFailed at once, with nothing printed or
// written. Otherwise prints the progress line, then replaces the file named
// in `entry` with its length bytes from buffer[offset]. Positions the run did
// not reach keep what the buffer held (it is not cleared between files). A
// cut that is incomplete, or damaged (a sector of its run recorded with an
// error), is warned about (where and why the run stopped, which sectors are
// damaged) and never replaces a file of that name: one this run wrote
// complete (extraction.complete), or one already in the folder. A failed
// write is reported. Reports go to extraction.err after extraction.out is
// flushed.
CutStatus cutFile(const Extraction& extraction, const FileEntry& entry);

#endif  // D88CUT_TOOL_CUT_FILE_H_
