// SPDX-License-Identifier: MIT
// The game's files over every copy of their disk d88info was given: whether
// the copies together give each whole, as d88cut would assemble it
// (game/assembly.h).
#ifndef D88CUT_INFO_COPIES_H_
#define D88CUT_INFO_COPIES_H_

#include <cstdio>

#include "disk/d88_file.h"
#include "info/findings.h"

// Forgets every copy: call before a run.
void startCopies();

// Adds the runs of the game's files on the image whose findings are `game`
// (it is selected in disk): the system disk's three, scenario disk 4's one.
void addCopies(D88File& disk, const GameFindings& game);

// A line for each file of which more than one copy was seen: whether they
// give it whole together, or the first sector missing or damaged in every
// copy; and where copies that differ part.
void writeTextCopies(std::FILE* out);

// The same as JSON members of the document: ,"together":{"LOADER":{"copies":2,
// "whole":true,"differ":false},...}; nothing when no file had two copies.
void writeJsonCopies(std::FILE* out);

#endif  // D88CUT_INFO_COPIES_H_
