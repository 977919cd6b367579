// Cutting one file out of a run of sectors into the current directory.
#ifndef D88CUT_TOOL_CUT_FILE_H_
#define D88CUT_TOOL_CUT_FILE_H_

#include <cstdint>
#include <cstdio>

#include "disk/d88_file.h"
#include "tool/file_table.h"

// What cutting needs: the reader with its image selected, the extraction
// buffer (kExtractionBufferSize bytes) and the two message streams.
struct Extraction {
  D88File& disk;
  uint8_t* buffer;
  std::FILE* out;
  std::FILE* err;
};

enum class CutStatus {
  kComplete,    // every byte came from the disk, and the file was written
  kIncomplete,  // the run stopped early; written at full length all the same
  kNotWritten,  // the file could not be written; any previous file is intact
};

// Reads offset + length bytes of the run at (track, c, h, r, n) into the
// buffer, prints the progress line, then replaces file `name` with the
// length bytes from buffer[offset]. Positions the run did not reach keep what
// the buffer held (it is not cleared between files). An incomplete run is
// warned about and a failed write reported on x.err, after x.out is flushed.
CutStatus cutFile(const Extraction& x, const char* name, int32_t track, int32_t c, int32_t h,
                  int32_t r, int32_t n, int32_t offset, int32_t length);

// Reads the run of a file table row into buffer (from its first byte) and
// returns the bytes of whole sectors found, out of runLength(entry).
int32_t readFileRun(D88File& disk, uint8_t* buffer, const FileEntry& entry);

// cutFile for a file table row.
CutStatus cutFileEntry(const Extraction& x, const FileEntry& entry);

#endif  // D88CUT_TOOL_CUT_FILE_H_
