// SPDX-License-Identifier: MIT
// Cutting one file out of a run of sectors into the output folder.
#ifndef D88CUT_TOOL_CUT_FILE_H_
#define D88CUT_TOOL_CUT_FILE_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "disk/d88_file.h"
#include "game/assembly.h"
#include "game/file_table.h"
#include "tool/run_files.h"

// The run's D88 files: the first `count` paths the command line argv[0..argc)
// names (tool/command_line.h).
struct RunInputs {
  int argc = 0;
  const char* const* argv = nullptr;
  int count = 0;
};

// What cutting needs: the reader with image `image` selected, the extraction
// buffer (kExtractionBufferSize bytes), the two message streams and, when
// given, what this run cut so far. `path` is the D88 file; the messages name
// it when `namesPath` (a run of several D88 files). Files are written into
// `outputDir` (null: the current directory); a dry run writes nothing and
// says what it would write. No file is written over one of `inputs`.
struct Extraction {
  D88File& disk;
  uint8_t* buffer;
  std::FILE* out;
  std::FILE* err;
  int32_t image = 0;
  RunFiles* files = nullptr;
  const char* path = nullptr;
  bool namesPath = false;
  const char* outputDir = nullptr;
  bool dryRun = false;
  RunInputs inputs = {};
  // A later copy of a disk whose file is assembled at the run's end: read
  // and reported, its flaws as notes, but not written nor recorded.
  bool laterCopy = false;
  // Where the cut's run goes for assembly, when given: file copyFile of
  // disk copyKind in *copy (the run read once: taken from the buffer when
  // sound, else read sector by sector).
  DiskCopy* copy = nullptr;
  GameDiskKind copyKind = GameDiskKind::kSystemDisk;
  int32_t copyFile = -1;
};

// Reads the file's run into the buffer (readFileRun); when the D88 file
// could not be read returns kReadFailed at once, with nothing printed or
// written. Otherwise prints the progress line (in a dry run, what it would
// write), then replaces the file named in `entry` in the output folder with
// its length bytes from buffer[offset]. Positions the run did not reach keep
// what the buffer held (it is not cleared between files). A cut that is
// incomplete, or damaged (a sector of its run recorded with an error), is
// warned about (where and why the run stopped, how many of its sectors are
// missing or damaged, which are recorded with errors) and never replaces a file of that name: one
// this run wrote complete, or one already in the folder; it takes the name only where none is there
// at the moment it is put in place. A file that is one of the run's D88 files (the same file, by
// identity, whatever its name) is never written over: an error says so and the cut is kNotWritten.
// A failed write is reported. Reports go to extraction.err after extraction.out is flushed. The cut
// is recorded in extraction.files.
CutStatus cutFile(const Extraction& extraction, const FileEntry& entry);

// Writes a file assembled from several copies, its run in
// extraction.buffer: over any file of its name (a whole file, or a flawed
// one a sound copy of which this run wrote before), never over one of the
// run's D88 files. A dry run says "would write PATH (state)" and writes
// nothing. A whole file is recorded complete; returns kComplete, kIncomplete
// for a flawed one written (its first copy's record stands), or kNotWritten
// after an error, which is reported.
CutStatus writeAssembledFile(const Extraction& extraction, const FileEntry& entry, bool whole,
                             const char* state);

// Joins the output folder (null: none) and a file name into out[0..size).
// False when it does not fit.
bool outputPath(const char* dir, const char* name, char* out, std::size_t size);

#endif  // D88CUT_TOOL_CUT_FILE_H_
