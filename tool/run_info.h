// The d88info program, callable in-process: shows the images of a D88 file
// and what d88cut would make of each. It only reads.
#ifndef D88CUT_TOOL_RUN_INFO_H_
#define D88CUT_TOOL_RUN_INFO_H_

#include <cstdint>
#include <cstdio>

#include "disk/d88_file.h"

// Runs d88info with the command line argv[0..argc). Returns 0 after --help
// or after showing every image; 1 after a usage error or when the file
// cannot be opened (the message on err).
int runInfo(D88File& disk, int argc, const char* const* argv, std::FILE* out, std::FILE* err);

// Writes the disk name's bytes into text (at least 4 * 16 + 1 bytes), with
// bytes below 0x20 and 0x7F as \xNN, NUL-terminated.
void escapeDiskName(const char* name, char* text);

// "2D", "2DD", "2HD", "1D", "1DD" for media bytes 0x00..0x40; else "unknown".
const char* mediaKind(int32_t media);

#endif  // D88CUT_TOOL_RUN_INFO_H_
