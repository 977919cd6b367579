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
// (it is selected in disk): the system disk's three, scenario disk 4's one;
// the copy is named by its file's path and the image.
// Gives *game the image's release fingerprint.
void addCopies(D88File& disk, GameFindings* game, const char* path, int32_t image);

// A line for each file of which more than one copy was seen: whether they
// give it whole together, or the first sector missing or damaged in every
// copy; and where copies that differ part.
void writeTextCopies(std::FILE* out);

// The same as JSON members of the document: ,"together":{"LOADER":{"copies":2,
// "whole":true,"differ":false,"from":[{"path":P,"image":I},...],"sectors":[
// {"from":0,"lacking":[1]},...]},...}: the copies, and for each sector of
// the run the copy (an index into "from") the assembled file takes it from
// (-1: none) and the copies that lack it. Nothing when no file had two copies.
void writeJsonCopies(std::FILE* out);

#endif  // D88CUT_INFO_COPIES_H_
