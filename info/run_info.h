// SPDX-License-Identifier: MIT
// The d88info program, callable in-process: shows D88 files as they are laid
// out, what is wrong with a damaged one, and what d88cut would make of each
// image. It only reads.
#ifndef D88CUT_INFO_RUN_INFO_H_
#define D88CUT_INFO_RUN_INFO_H_

#include <cstdio>

#include "disk/d88_file.h"

// Runs d88info with the command line argv[0..argc): reports each file named,
// as text or (--json) as one JSON document on out. Returns 0 after --help or
// --version, or when every file could be opened and out written; 1 after a
// usage error, when a file could not be opened (reported on err; the other
// files are still shown) or when out could not be written (reported on err).
int runInfo(D88File& disk, int argc, const char* const* argv, std::FILE* out, std::FILE* err);

#endif  // D88CUT_INFO_RUN_INFO_H_
