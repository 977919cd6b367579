// SPDX-License-Identifier: MIT
// The step between reading copies and writing files: a run that holds more
// than one copy of the system disk or of scenario disk 4 assembles each of
// their files from all the copies (game/assembly.h). The first copy of a
// file is cut as ever, the moment it is read; later copies are read and
// added, and the file they make is written after the run's last input.
#ifndef D88CUT_TOOL_ASSEMBLE_H_
#define D88CUT_TOOL_ASSEMBLE_H_

#include "game/file_table.h"
#include "tool/cut_file.h"

// Forgets every copy: call before a run.
void startAssembly();

// Cuts `entry` from the image extraction.image: the first copy by cutFile
// (its status returned), a later one by reading it for assembly (kComplete,
// as its outcome waits for the run's end; kReadFailed when the D88 file
// could not be read).
CutStatus cutCopy(const Extraction& extraction, const FileEntry& entry);

// After the last input: writes each file that several copies made, with a
// note of how it was assembled and of copies that differ, a warning when no
// group of copies gives it whole. `extraction` gives the streams, the
// folder and the run's files; its disk and buffer are not used. Returns
// false when a file was not written.
bool finishAssembly(const Extraction& extraction);

// The files written (or, in a dry run, to be written) whole from the
// sectors of more than one copy.
int assembledFiles();

#endif  // D88CUT_TOOL_ASSEMBLE_H_
