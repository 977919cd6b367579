// SPDX-License-Identifier: MIT
// d88cut -l: every copy of the game's five disks a run found, where it is,
// its release, and for the system disk and scenario disk 4 whether it gives
// each file whole and which copies the run would cut from; as text or one
// JSON document. Nothing is cut.
#ifndef D88CUT_TOOL_LIST_COPIES_H_
#define D88CUT_TOOL_LIST_COPIES_H_

#include <cstdint>
#include <cstdio>

// Forgets the copies of scenario disks 1 to 3: call before a run; they are
// recorded only while `listing`.
void startList(bool listing);

// Records a copy of scenario disk `scenario` (1 to 3: they give no file),
// when listing. False when memory for it cannot be had.
bool listScenarioCopy(int32_t scenario, const char* path, int32_t image);

// Writes the list of this run's copies (those of the system disk and
// scenario disk 4 from tool/assemble.h, recorded every one) to `out`.
void writeCopyList(std::FILE* out, bool json);

#endif  // D88CUT_TOOL_LIST_COPIES_H_
