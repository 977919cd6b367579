// Cutting one file out of a run of sectors into the current directory.
#ifndef D88CUT_TOOL_CUT_FILE_H_
#define D88CUT_TOOL_CUT_FILE_H_

#include <cstdint>
#include <cstdio>

#include "disk/d88_file.h"
#include "tool/file_table.h"

// The files one run of the tool wrote complete, and from which image, so that
// a later image's incomplete copy does not replace them. Holds the names of
// the game's files; a name past kMaxFiles is not remembered.
class CompleteFiles {
 public:
  // The image whose complete copy of `name` this run wrote, or -1.
  int32_t imageOf(const char* name) const;
  // Remembers that `image` wrote `name` complete. REQUIRES: name outlives
  // this object (the file table's names do).
  void record(const char* name, int32_t image);

 private:
  static constexpr int kMaxFiles = 8;
  struct Entry {
    const char* name;
    int32_t image;
  };
  Entry entries[kMaxFiles] = {};
  int count = 0;
};

// What cutting needs: the reader with image `image` selected, the extraction
// buffer (kExtractionBufferSize bytes), the two message streams and, when
// given, the files this run already wrote complete.
struct Extraction {
  D88File& disk;
  uint8_t* buffer;
  std::FILE* out;
  std::FILE* err;
  int32_t image = 0;
  CompleteFiles* complete = nullptr;
};

enum class CutStatus {
  kComplete,      // every byte came from the disk, and the file was written
  kIncomplete,    // the run stopped early; written at full length all the same
  kKeptEarlier,   // the run stopped early; an earlier image's complete file was kept
  kNotWritten,    // the file could not be written; any previous file is intact
};

// Reads offset + length bytes of the run at (track, c, h, r, n) into the
// buffer, prints the progress line, then replaces file `name` with the
// length bytes from buffer[offset]. Positions the run did not reach keep what
// the buffer held (it is not cleared between files). An incomplete run is
// warned about (with where and why it stopped) and, when x.complete says an
// earlier image wrote the file complete, leaves that file in place. A failed
// write is reported. Reports go to x.err after x.out is flushed.
CutStatus cutFile(const Extraction& x, const char* name, int32_t track, int32_t c, int32_t h,
                  int32_t r, int32_t n, int32_t offset, int32_t length);

// Reads the run of a file table row into buffer (from its first byte) and
// returns the bytes of whole sectors found, out of runLength(entry); `stop`,
// when given, says where and why the run stopped.
int32_t readFileRun(D88File& disk, uint8_t* buffer, const FileEntry& entry,
                    RunStop* stop = nullptr);

// The bytes of a file at `offset` of `length` that lie in the first `found`
// bytes of its run: the file's own bytes that came from the disk.
int32_t fileBytesFound(int32_t found, int32_t offset, int32_t length);

// Writes why a run stopped ("no such sector on the track", ...), without a
// line end; nothing for RunStop::kNone.
void printStopReason(std::FILE* stream, const RunStop& stop);

// cutFile for a file table row.
CutStatus cutFileEntry(const Extraction& x, const FileEntry& entry);

#endif  // D88CUT_TOOL_CUT_FILE_H_
