// SPDX-License-Identifier: MIT
// Where the game's files lie: a starting sector, a byte offset into the run
// of sectors that starts there, and a length. No directory is read.
#ifndef D88CUT_GAME_FILE_TABLE_H_
#define D88CUT_GAME_FILE_TABLE_H_

#include <cstdint>

// The one block that receives the boot sector, the signature sector and
// every run; cleared once per image.
inline constexpr int32_t kExtractionBufferSize = 0x64000;  // 409,600 bytes

// Every file of the game lies in 1024-byte sectors.
inline constexpr int32_t kFileSizeCode = 3;

struct FileEntry {
  int32_t track;   // track index of the first sector: cylinder track/2, head track&1
  int32_t sector;  // sector number R of the first sector; 0 marks the end row
  int32_t offset;  // bytes of the run skipped before the file begins
  int32_t length;  // bytes of the file
  char name[16];   // output file name, NUL-terminated
};

// The system disk's files, walked in order up to the end row.
inline constexpr FileEntry systemDiskFiles[] = {
    {1, 1, 0, 0x4000, "LOADER"},
    {5, 3, 0, 0x1D80, "DRIVER"},
    {24, 4, 0x100, 0xDCDC, "MUSIC"},
    {0, 0, 0, 0, ""},
};

// The one file of scenario disk 4, cut by a call of its own.
inline constexpr FileEntry scenarioDisk4File = {72, 4, 0x181, 0x2EC2, "MUSIC2"};

// Every file of the game, in the order a disk set gives them.
inline constexpr const FileEntry* gameFiles[] = {&systemDiskFiles[0], &systemDiskFiles[1],
                                                 &systemDiskFiles[2], &scenarioDisk4File};

inline constexpr int kGameFileCount = sizeof gameFiles / sizeof gameFiles[0];

// The index of `entry` in gameFiles, or -1 for a row that is none of them.
constexpr int gameFileIndex(const FileEntry* entry) {
  for (int i = 0; i < kGameFileCount; ++i) {
    if (gameFiles[i] == entry) return i;
  }
  return -1;
}

// Bytes of the run a file needs: its offset plus its length.
constexpr int32_t runLength(const FileEntry& entry) { return entry.offset + entry.length; }

constexpr bool fitsExtractionBuffer(const FileEntry& entry) {
  return entry.offset >= 0 && entry.length >= 0 &&
         int64_t{entry.offset} + entry.length <= kExtractionBufferSize;
}

// The most files one disk of the game gives: the system disk's rows, or the
// one of scenario disk 4.
constexpr int32_t maxFilesOfADisk() {
  int32_t rows = 0;
  while (systemDiskFiles[rows].sector != 0) ++rows;
  return rows > 1 ? rows : 1;
}
inline constexpr int32_t kMaxFilesOfADisk = maxFilesOfADisk();

constexpr bool tableFitsExtractionBuffer() {
  for (const FileEntry& entry : systemDiskFiles) {
    if (!fitsExtractionBuffer(entry)) return false;
  }
  return fitsExtractionBuffer(scenarioDisk4File);
}
static_assert(tableFitsExtractionBuffer(), "every file's run fits the extraction buffer");

// The bytes of the buffer an image's reads reach: its longest run (the
// sectors recognition reads land at the buffer's start, within it). Only
// these need clearing between images; the rest is never read or written.
constexpr int32_t longestRun() {
  int32_t longest = runLength(scenarioDisk4File);
  for (const FileEntry& entry : systemDiskFiles) {
    if (runLength(entry) > longest) longest = runLength(entry);
  }
  return longest;
}
inline constexpr int32_t kExtractionBytesUsed = longestRun();

#endif  // D88CUT_GAME_FILE_TABLE_H_
