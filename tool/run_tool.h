// SPDX-License-Identifier: MIT
// The d88cut program, callable in-process.
#ifndef D88CUT_TOOL_RUN_TOOL_H_
#define D88CUT_TOOL_RUN_TOOL_H_

#include <cstdio>

#include "disk/d88_file.h"
#include "tool/run_files.h"

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;

// Runs d88cut with the command line argv[0..argc): opens argv[1] with disk,
// announces every recognised disk on out and cuts its files into the current
// directory; a note on err when no image was recognised. A lone "--help" or
// "-h" prints the help, "--version" the version, on out. Returns
// kExitFailure after the usage or open-failure messages on err, or after
// looking at every image when a file was incomplete or not written, or when
// out could not be written (reported on err); kExitSuccess otherwise.
// argv[2], when given, is not used.
// When `files` is given it receives what became of each of the game's files
// (a page that shows the run marks the files by it).
int runTool(D88File& disk, int argc, const char* const* argv, std::FILE* out, std::FILE* err,
            RunFiles* files = nullptr);

#endif  // D88CUT_TOOL_RUN_TOOL_H_
