// SPDX-License-Identifier: MIT
// The d88cut program, callable in-process.
#ifndef D88CUT_TOOL_RUN_TOOL_H_
#define D88CUT_TOOL_RUN_TOOL_H_

#include <cstdio>

#include "disk/d88_file.h"
#include "tool/run_files.h"

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;

// Runs d88cut with the command line argv[0..argc): options (-d DIR, -n,
// --help, --version, "--") anywhere, then one D88 file and an optional disk
// number (digits, accepted and not used), or several D88 files, each opened
// with disk in turn. Announces every recognised disk on out and cuts its
// files into the output folder (the current one without -d); a dry run (-n)
// says what it would write and writes nothing. Warnings and errors go to err
// after out is flushed; a run of several files, or with options, ends with a
// note on each of the game's files it did not leave complete. A file that is
// no D88 file, or holds no disk of the game, gets a note; a system disk cut
// short before its signature a warning. Returns kExitFailure after the usage
// or a wrong option, when the output folder cannot take files (before
// anything is read), or after every file was looked at when one could not
// be opened or read, a file was incomplete, damaged or not written (one of
// the run's D88 files is never written over), a system disk was cut short,
// or out could not be written; kExitSuccess otherwise, and after --help and
// --version.
// When `files` is given it receives what became of each of the game's files
// (a page that shows the run marks the files by it).
int runTool(D88File& disk, int argc, const char* const* argv, std::FILE* out, std::FILE* err,
            RunFiles* files = nullptr);

#endif  // D88CUT_TOOL_RUN_TOOL_H_
