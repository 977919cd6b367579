// SPDX-License-Identifier: MIT
// The D88 files a command-line path gives d88cut: the file, an archive's D88
// files (input/d88_inputs.h), or, for a folder, those of every file below
// it (input/folder_walk.h). In a folder walk only the files that hold a
// disk of the game are named; the others are counted, and a file or folder
// that cannot be read is named and the walk goes on.
#ifndef D88CUT_TOOL_CUT_PATHS_H_
#define D88CUT_TOOL_CUT_PATHS_H_

#include "disk/d88_file.h"
#include "tool/cut_images.h"

// Cuts every D88 file the command-line path gives; `several`: the run names
// more than one path. False if one could not be opened or read, or a file
// was not written.
bool cutCommandLinePath(D88File& disk, const char* path, bool several, RunContext* run);

// After a run that walked a folder: one line of what was looked at.
void sayWhatWasLookedAt(const RunContext& run);

#endif  // D88CUT_TOOL_CUT_PATHS_H_
