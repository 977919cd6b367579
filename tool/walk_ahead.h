// SPDX-License-Identifier: MIT
// A folder walk spread over the cores: worker threads read the walk's files
// ahead of the run, a window of them at a time, and tell which ones hold a
// disk of the game or cannot be read; the run takes the files back in walk
// order, reads those again on its own thread to cut and name them, and only
// counts the others. So what the run prints, and in what order, is what a
// walk on one thread prints. Started only for a folder, and only with two
// cores or more.
#ifndef D88CUT_TOOL_WALK_AHEAD_H_
#define D88CUT_TOOL_WALK_AHEAD_H_

#include <cstdint>

#include "input/folder_walk.h"

// What the workers found in one file of the walk.
struct WalkedFile {
  bool readAgain = false;  // it holds a disk of the game, or something failed
  int32_t d88Files = 0;    // D88 files in it (itself, or its archives' entries)
  int32_t archives = 0;    // archives: itself, and those inside it
};

// Threads started for a walk, at most.
inline constexpr int32_t kMaxWalkWorkers = 8;

// Starts the workers for a walk of the folder `path` (the string must
// outlive the walk): one thread per usable core but one, at most
// kMaxWalkWorkers in all; the run's thread reads files too while it waits.
// Returns false, with none running, on one core or when no thread can be
// started: then walk on the run's own thread.
bool startWalkAhead(const char* path);

// The walk's next step in walk order, waiting for the workers where they
// have not finished it: path() and error() as FolderWalk gives them, and for
// kFile what was found in the file. At kEnd the workers have ended.
WalkStep nextWalkAhead(const char** path, int* error, WalkedFile* found);

#endif  // D88CUT_TOOL_WALK_AHEAD_H_
