// SPDX-License-Identifier: MIT
// d88cut's command line, as tools of its kind read one: options before or
// after the D88 files, "--" ending the options, a lone "-" a path.
#ifndef D88CUT_TOOL_COMMAND_LINE_H_
#define D88CUT_TOOL_COMMAND_LINE_H_

struct ToolOptions {
  bool help = false;                // -h, --help
  bool version = false;             // --version
  bool dryRun = false;              // -n, --dry-run
  bool list = false;                // -l, --list
  bool json = false;                // --json (with -l)
  const char* outputDir = nullptr;  // -d DIR, -dDIR, --output-dir DIR, --output-dir=DIR
  const char* badOption = nullptr;  // the first word that is no option of d88cut
  bool valueMissing = false;        // ... because it is -d or --output-dir without its folder
  int paths = 0;                    // the D88 files named
};

// Reads the words argv[1..argc) into *options; the last -d wins.
void parseToolOptions(int argc, const char* const* argv, ToolOptions* options);

// Where a walk over the D88 files named stands.
struct PathWalk {
  int at = 1;          // the next word of argv
  bool ended = false;  // a "--" was passed
};

// Returns the next D88 file named in argv[1..argc), in order, or null after
// the last. Start with a fresh PathWalk.
const char* nextToolPath(int argc, const char* const* argv, PathWalk* walk);

#endif  // D88CUT_TOOL_COMMAND_LINE_H_
