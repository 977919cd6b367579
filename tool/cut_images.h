// SPDX-License-Identifier: MIT
// Cutting the images of one D88 file of a run: each image recognised,
// announced and its files cut (tool/assemble.h for copies), and the notes a
// file gives when nothing of the game is in it.
#ifndef D88CUT_TOOL_CUT_IMAGES_H_
#define D88CUT_TOOL_CUT_IMAGES_H_

#include <cstdint>
#include <cstdio>

#include "disk/d88_file.h"
#include "input/d88_inputs.h"
#include "tool/cut_file.h"
#include "tool/run_files.h"

// One D88 file of the run, and how its messages name it.
struct D88Source {
  const char* path;               // the path, or "ARCHIVE:ENTRY"
  bool namesPath;                 // the run has several D88 files, or this one is an entry
  int64_t size;                   // its bytes, or -1 for a file on disk
  const char* archive = nullptr;  // the archive (or "-") it was read from, or null
};

// What folder walks found.
struct WalkCount {
  bool any = false;  // a folder was walked
  int files = 0;     // files found by walks
  int d88Files = 0;  // D88 files among them and in their archives
  int archives = 0;  // archives among them, and inside those
  int withGame = 0;  // D88 files that hold a disk of the game
};

// What every D88 file of the run shares: the streams, the output folder,
// whether it is a dry run, and what was cut so far.
struct RunContext {
  std::FILE* out;
  std::FILE* err;
  const char* outputDir;
  bool dryRun;
  RunFiles* files;
  RunInputs inputs = {};
  int headings = 0;  // files headed so far
  int d88Files = 0;  // D88 files read so far, loose or in archives
  bool systemDiskSeen = false;
  bool scenarioDisk4Seen = false;
  bool cutShortSystemDiskSeen = false;  // named so, and only assembled beside a recognised one
  bool quiet = false;                   // the file being read was found by a folder walk
  WalkCount walked = {};
  char unreadInput[4096 + 1 + 1024] = {};  // the first input that could not be read, or ""
};

// Heads a D88 file's messages with its name (or an archive's that could
// not be read), a blank line parting it from the block before.
void printHeading(const char* name, RunContext* run);

// Cuts the D88 file open in disk (counted in run->d88Files, headed when
// source.namesPath); false if it could not be read, or a file was not
// written.
bool cutOpenD88File(D88File& disk, const D88Source& source, RunContext* run);

// What one D88 file of a folder walk is: a loose file of another kind, a D88
// file, or one that holds a disk of the game (or probably the system disk cut
// short) or that could not be read, which the walk names.
enum class WalkedKind { kOther, kD88, kGame };

// Says what the D88 file open in disk, given by `input`, is to a folder
// walk; reads its images' recognition sectors into sectors. Uses nothing
// else, so several threads may call it, each with its own disk and sectors.
// REQUIRES: sectors holds kSignatureSectorLength bytes.
WalkedKind walkedKindOf(D88File& disk, const D88Input& input, uint8_t* sectors);

// A walk's pass-over judge (D88PassOver): true when the D88 entry of `size`
// bytes, whose first bytes are open in disk, holds one image only and those
// bytes show that it is no disk of the game (its boot sector there, with a
// disk id other than 0 that names no disk of the game). Anything they cannot
// show (a boot sector not among them, id 0, a second image) is false: the
// entry is read whole.
bool holdsNoGameDisk(D88File& disk, int64_t size);

// True when one of the game's files was cut but the run left it flawed: no
// complete copy of it was written (or kept, in a dry run).
bool fileLeftFlawed(const RunFiles& files);

#endif  // D88CUT_TOOL_CUT_IMAGES_H_
