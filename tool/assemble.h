// SPDX-License-Identifier: MIT
// The step between reading copies and writing files: a run that holds more
// than one copy of the system disk or of scenario disk 4 assembles their
// files from all the copies, grouped per disk (game/assembly.h). The first
// copy of a disk is cut as ever, the moment it is read; every copy's runs
// are taken as they are cut (each read once), and the files the groups make
// are written after the run's last input.
#ifndef D88CUT_TOOL_ASSEMBLE_H_
#define D88CUT_TOOL_ASSEMBLE_H_

#include "game/assembly.h"
#include "game/file_table.h"
#include "tool/cut_file.h"

// Forgets every copy: call before a run. With `recordEveryCopy` (the list)
// a copy that adds nothing is recorded too.
void startAssembly(bool recordEveryCopy = false);

// Begins a copy of disk `kind` on the image being cut.
void beginDiskCopy(GameDiskKind kind);

// Cuts `entry` of the copy begun: the first copy of its disk by cutFile
// (its status returned), a later one reported but not written (kComplete,
// as its outcome waits for the run's end). kReadFailed when the D88 file
// could not be read.
CutStatus cutCopy(const Extraction& extraction, GameDiskKind kind, const FileEntry& entry);

// Ends the copy begun once its files are cut: reads its recognition
// sectors and adds it to its disk's groups. False when the D88 file could
// not be read (the copy is not added).
bool endDiskCopy(const Extraction& extraction, GameDiskKind kind);

// A system disk cut short before its signature: read whole and added, to
// give sectors only to a group that a recognised copy joins. False when the
// D88 file could not be read.
bool addCutShortCopy(const Extraction& extraction);

// After the last input: writes each file that several copies made, with
// notes of how it was assembled and where copies differ, a warning when no
// group gives it whole. `extraction` gives the streams, the folder and the
// run's files; its disk and buffer are not used. Returns false when a file
// was not written.
bool finishAssembly(const Extraction& extraction);

// The files written (or, in a dry run, to be written) whole from the
// sectors of more than one copy.
int assembledFiles();

// The copies of `kind` the run has read so far, grouped.
const DiskAssembly& copiesOfDisk(GameDiskKind kind);

#endif  // D88CUT_TOOL_ASSEMBLE_H_
