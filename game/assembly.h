// SPDX-License-Identifier: MIT
// Assembling one of the game's files from several copies of its disk, sector
// by sector: each 1024-byte sector of the file's run from a copy in which it
// is good (found, its data whole, status 0x00 or the deleted-data mark 0x10).
// Copies that disagree (a sector good in both holds other bytes: another
// release of the disk) are never mixed: a copy joins the first group, in
// the order the copies came, with all of whose copies it agrees, and each
// group assembles the file on its own. Fixed tables; nothing is printed or
// allocated.
#ifndef D88CUT_GAME_ASSEMBLY_H_
#define D88CUT_GAME_ASSEMBLY_H_

#include <cstdint>

#include "disk/d88_file.h"
#include "game/file_table.h"

inline constexpr int32_t kRunSectorSize = int32_t{128} << kFileSizeCode;
// The longest run of a file of the game, in sectors (MUSIC's 56).
inline constexpr int32_t kMaxRunSectors = 64;
// Groups of copies that disagree, and copies, remembered per file; a copy
// past them is not assembled (a note says so).
inline constexpr int32_t kMaxCopyGroups = 4;
inline constexpr int32_t kMaxCopies = 16;

// One copy's run, read sector by sector past any missing one. Held in
// static storage: no member is initialised, so that no code clears its
// 64 KiB at start-up (readRunCopy and soundRunCopy fill what they use).
struct RunCopy {
  int32_t sectors;  // of the run
  int32_t length;   // the run's bytes: the last sector may hold part of it
  bool good[kMaxRunSectors];
  SectorAddress where[kMaxRunSectors];
  uint8_t bytes[kMaxRunSectors * kRunSectorSize];  // a bad sector: its recorded bytes or zeros
};

// Reads the run of `entry` from the selected image into *copy, sector by
// sector: a missing, short or damaged sector is marked bad and the next one
// is still read. REQUIRES: the entry's run fits kMaxRunSectors.
void readRunCopy(D88File& disk, const FileEntry& entry, RunCopy* copy);

// The same from a run read whole and sound (every sector good).
void soundRunCopy(const FileEntry& entry, const uint8_t* run, RunCopy* copy);

// A copy as the notes and reports name it: its D88 file (or archive entry)
// and the image; a longer path than the room is cut.
struct CopyName {
  char path[1024];
  int32_t image;
};

// Where the first two groups part: a sector good in both copies named, with
// other bytes.
struct Disagreement {
  int32_t sector = -1;  // index in the run, -1 when the copies all agree
  int32_t earlierCopy = -1;
  int32_t laterCopy = -1;
};

// Held in static storage; its tables are filled as copies are added (and
// are not initialised, so that start-up clears none of their 256 KiB).
class FileAssembly {
 public:
  // Forgets every copy: a new run.
  void clear();

  // Adds the first copy, read whole and sound: its run, runLength(entry)
  // bytes, straight into the first group. False when a copy is there.
  bool addSoundFirstCopy(const FileEntry& entry, const uint8_t* run, const char* path,
                         int32_t image);

  // Adds a copy, the `copies()`-th, named by its path and image; returns its
  // group, or -1 when it agrees with no group and every group is taken.
  int32_t add(const RunCopy& copy, const char* path, int32_t image);

  // The name of copy c.
  const CopyName& nameOf(int32_t c) const { return copyNames[c]; }

  int32_t copies() const { return copyCount; }
  int32_t groups() const { return groupCount; }
  int32_t groupOf(int32_t copy) const { return copyGroup[copy]; }

  // True when every sector of group g is good in one of its copies.
  bool whole(int32_t g) const;
  // The group whose file is written: the last that is whole, else the first.
  int32_t chosenGroup() const;
  // The copy that gave sector s of group g, or -1 when none had it good.
  int32_t sourceOf(int32_t g, int32_t s) const { return groupSource[g][s]; }
  // The run assembled by group g (sectors() sectors, its bytes those of the
  // run): good sectors from their first copy, a bad one from the group's
  // first copy (its recorded bytes, or zeros).
  const uint8_t* runOf(int32_t g) const { return groupBytes[g]; }
  int32_t sectors() const { return runSectors; }
  // True when copy c has sector s good.
  bool good(int32_t c, int32_t s) const { return copyGood[c][s]; }
  // True when one copy of group g alone gives every sector.
  bool wholeInOneCopy(int32_t g) const;
  const Disagreement& disagreement() const { return parted; }
  const SectorAddress& where(int32_t s) const { return sectorWhere[s]; }

 private:
  // The first sector good in both with other bytes, or -1.
  int32_t differsAt(int32_t g, const RunCopy& copy) const;
  void name(int32_t c, const char* path, int32_t image);

  int32_t copyCount = 0;
  int32_t groupCount = 0;
  int32_t runSectors = 0;
  int32_t runBytes = 0;
  int32_t copyGroup[kMaxCopies];
  CopyName copyNames[kMaxCopies];
  bool copyGood[kMaxCopies][kMaxRunSectors];
  int32_t groupSource[kMaxCopyGroups][kMaxRunSectors];
  SectorAddress sectorWhere[kMaxRunSectors];
  Disagreement parted;
  uint8_t groupBytes[kMaxCopyGroups][kMaxRunSectors * kRunSectorSize];
};

#endif  // D88CUT_GAME_ASSEMBLY_H_
