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
inline constexpr SectorRange kGameSectorRange = {1, 5};

// Reads the run of a file table row from the selected image into buffer:
// runLength(entry) bytes of 1024-byte sectors from the row's first sector
// (cylinder track/2, head track&1), stepping through sectors 1 to 5 on each
// track. The reader's own sector range is set for the read and put back
// after it. Returns the bytes of whole sectors found (D88File::readSectors);
// `stop`, when given, says where and why the run stopped, `damage` which of
// its sectors the dump recorded with an error.
// REQUIRES: buffer holds runLength(entry) bytes (every row of the table fits
// kExtractionBufferSize).
int32_t readFileRun(D88File& disk, const FileEntry& entry, uint8_t* buffer, RunStop* stop = nullptr,
                    RunDamage* damage = nullptr);

// The first sector of a file table row's run: cylinder track/2, head
// track&1, 1024-byte sectors.
SectorAddress firstRunSector(const FileEntry& entry);

// Calls visit(context, sector) for each sector of the row's run, in order:
// runLength(entry) bytes of 1024-byte sectors under kGameSectorRange.
void forEachRunSector(const FileEntry& entry, void (*visit)(void* context, const SectorAddress&),
                      void* context);

// The bytes of a file at `offset` of `length` that lie in the first `found`
// bytes of its run: the file's own bytes that came from the disk.
int32_t fileBytesFound(int32_t found, int32_t offset, int32_t length);

// Room for describeRunStop's text.
inline constexpr std::size_t kRunStopTextSize = 160;

// Writes where and why the run stopped into text (kRunStopTextSize bytes),
// NUL-terminated: "the run stops at track 30 (C 15, H 0, R 1): the track is
// absent". An empty text for RunStop::kNone.
void describeRunStop(const RunStop& stop, char* text);

// Room for describeRunDamage's text.
inline constexpr std::size_t kRunDamageTextSize = 160;

// Writes which sectors of a run the dump recorded with an error into text
// (kRunDamageTextSize bytes), NUL-terminated: "1 sector recorded with an
// error, the first at track 1 (C 0, H 1, R 1): a CRC error in its data
// (status 0xB0)". An empty text when damage.sectors is 0.
void describeRunDamage(const RunDamage& damage, char* text);

#endif  // D88CUT_GAME_FILE_RUN_H_
