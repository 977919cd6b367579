// SPDX-License-Identifier: MIT
// Reading a game file's run of sectors: how many of the file's bytes the
// disk holds, and where and why the run stopped.
#ifndef D88CUT_GAME_FILE_RUN_H_
#define D88CUT_GAME_FILE_RUN_H_

#include <cstddef>
#include <cstdint>

#include "disk/d88_file.h"
#include "game/file_table.h"

// Runs on the game's disks step through sector numbers 1 to 5 on each track.
inline constexpr int32_t kFirstSector = 1;
inline constexpr int32_t kLastSector = 5;

// Reads `total` bytes of the run at (track, c, h, r, n) of the selected image
// into buffer, under the game's track geometry (set here, whatever was set
// before). Returns the bytes of whole sectors found (D88File::readSectors);
// `stop`, when given, says where and why the run stopped.
// REQUIRES: buffer holds `total` bytes.
int32_t readGameRun(D88File& disk, int32_t track, int32_t c, int32_t h, int32_t r, int32_t n,
                    uint8_t* buffer, int32_t total, RunStop* stop = nullptr);

// readGameRun for a file table row: runLength(entry) bytes from the row's
// first sector (C track/2, H track&1, N 3) into buffer from its first byte.
int32_t readFileRun(D88File& disk, uint8_t* buffer, const FileEntry& entry,
                    RunStop* stop = nullptr);

// The bytes of a file at `offset` of `length` that lie in the first `found`
// bytes of its run: the file's own bytes that came from the disk.
int32_t fileBytesFound(int32_t found, int32_t offset, int32_t length);

// Room for describeRunStop's text.
inline constexpr std::size_t kRunStopTextSize = 160;

// Writes where and why the run stopped into text (kRunStopTextSize bytes),
// NUL-terminated: "the run stops at track 30 (C 15, H 0, R 1): the track is
// absent". An empty text for RunStop::kNone.
void describeRunStop(const RunStop& stop, char* text);

#endif  // D88CUT_GAME_FILE_RUN_H_
