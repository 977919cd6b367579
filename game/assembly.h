// SPDX-License-Identifier: MIT
// Assembling the game's files from several copies of one of its disks,
// sector by sector: each 1024-byte sector of a file's run from a copy in
// which it is good (found, its data whole, status 0x00 or the deleted-data
// mark 0x10).
//
// Copies are grouped per disk, never per file: a copy joins the first
// group, in the order the copies came, with all of whose copies it agrees
// on every sector the game reads from the disk (the recognition sectors and
// every file's run) that is good in both. Copies of two releases therefore
// never fill each other's gaps. Any number of copies and groups; the first
// group and the first copy's record are held in the object itself, so that
// a run of one copy allocates nothing, and each further group (84 KiB) and
// copy record (5 KiB) is taken from the heap. Nothing is printed.
#ifndef D88CUT_GAME_ASSEMBLY_H_
#define D88CUT_GAME_ASSEMBLY_H_

#include <cstddef>
#include <cstdint>

#include "disk/d88_file.h"
#include "game/file_table.h"

inline constexpr int32_t kRunSectorSize = int32_t{128} << kFileSizeCode;
// The longest run of a file of the game, in sectors (MUSIC's 56).
inline constexpr int32_t kMaxRunSectors = 64;

// The disks of the game that files are cut from.
enum class GameDiskKind : int32_t { kSystemDisk, kScenarioDisk4 };

// The sectors of a disk that the game reads: its recognition sectors (the
// boot sector; the system disk's signature sector), then each file's run in
// the file table's order.
constexpr int32_t runSectorCount(const FileEntry& entry) {
  return (runLength(entry) + kRunSectorSize - 1) / kRunSectorSize;
}
constexpr int32_t maxDiskSectors() {
  int32_t system = 2;  // the boot and signature sectors
  for (const FileEntry& entry : systemDiskFiles) system += runSectorCount(entry);
  const int32_t scenario4 = 1 + runSectorCount(scenarioDisk4File);
  return system > scenario4 ? system : scenario4;
}
inline constexpr int32_t kMaxDiskSectors = maxDiskSectors();  // 82
struct DiskSectors {
  int32_t count = 0;
  SectorAddress where[kMaxDiskSectors] = {};
  int32_t length[kMaxDiskSectors] = {};  // the bytes of it that count
  int32_t fileCount = 0;
  const FileEntry* files[kMaxFilesOfADisk] = {};
  int32_t firstOfFile[kMaxFilesOfADisk] = {};  // the index of its run's first sector
  int32_t sectorsOfFile[kMaxFilesOfADisk] = {};
};

// The sectors of `kind`; the file index of `entry` in it, or -1.
const DiskSectors& diskSectors(GameDiskKind kind);
int32_t fileOfDisk(GameDiskKind kind, const FileEntry& entry);

// One copy's sectors as read. Held in static storage, one at a time: no
// member is initialised, so that no code clears its 84 KiB at start-up.
struct DiskCopy {
  bool good[kMaxDiskSectors];
  uint8_t bytes[kMaxDiskSectors * kRunSectorSize];  // a bad sector: its recorded bytes or zeros
};
static_assert(runSectorCount(systemDiskFiles[2]) <= kMaxRunSectors, "MUSIC's run fits");

// Reads the run of `entry` from the selected image sector by sector into
// bytes (kRunSectorSize each) and good: a missing, short or damaged sector
// is marked bad and the next one is still read. Returns the bad sectors.
// REQUIRES: the run fits kMaxRunSectors.
int32_t readRunBySector(D88File& disk, const FileEntry& entry, uint8_t* bytes, bool* good);

// Into *copy: file f's run read sector by sector (readRunBySector), or
// taken from a run read whole and sound; the recognition sectors read.
// Each returns the bad sectors it found.
int32_t readFileOfCopy(D88File& disk, GameDiskKind kind, int32_t f, DiskCopy* copy);
void takeSoundFile(GameDiskKind kind, int32_t f, const uint8_t* run, DiskCopy* copy);
void readRecognitionSectors(D88File& disk, GameDiskKind kind, DiskCopy* copy);
// Every sector of the disk, sector by sector.
void readDiskCopy(D88File& disk, GameDiskKind kind, DiskCopy* copy);

// A release's fingerprint: SHA-256 of the disk's sectors in their fixed
// order (the recognition sectors, then each file's run), each sector's
// bytes that count, a sector no copy has good as zeros; never the image
// header, so re-headered duplicates and re-dumps of one release share it.
// As 64 hex digits and a NUL.
inline constexpr std::size_t kFingerprintSize = 65;
// Of one copy alone; true when every sector of it was good.
bool copyFingerprint(GameDiskKind kind, const DiskCopy& copy, char fingerprint[kFingerprintSize]);

// A copy as the notes and reports name it: its D88 file (or archive entry)
// and the image; a longer path than the room is cut.
struct CopyName {
  char path[4096 + 1 + 1024];
  int32_t image;
};

// Where the first two groups part: a sector good in both copies named, with
// other bytes.
struct Disagreement {
  int32_t sector = -1;  // index in the disk's sectors, -1 when the copies all agree
  int32_t earlierCopy = -1;
  int32_t laterCopy = -1;
};

class DiskAssembly {
 public:
  DiskAssembly() = default;
  ~DiskAssembly() { start(kind); }
  DiskAssembly(const DiskAssembly&) = delete;
  DiskAssembly& operator=(const DiskAssembly&) = delete;

  // Forgets every copy (and frees what they took): a new run of `disk`.
  void start(GameDiskKind disk);

  // Adds a copy named by its path and image. `confirmed` is false for a
  // copy that was not recognised for sure (a system disk cut short): its
  // group gives files only when a confirmed copy joins it. Unless
  // `keepEveryCopy`, a copy that joins a group and gives it no sector is
  // only counted (copiesIn), not recorded. Returns its group; -1 when memory
  // for it could not be had (it is not assembled).
  int32_t add(const DiskCopy& copy, const char* path, int32_t image, bool confirmed,
              bool keepEveryCopy);

  const DiskSectors& sectors() const { return diskSectors(kind); }
  // The copies recorded, and groups.
  int32_t copies() const { return copyCount; }
  int32_t groups() const { return groupCount; }
  // Every copy added to group g, recorded or not.
  int32_t copiesIn(int32_t g) const { return group(g).copies; }
  int32_t groupOf(int32_t c) const { return record(c).group; }
  const CopyName& nameOf(int32_t c) const { return record(c).name; }
  // True when copy c has disk sector s good.
  bool good(int32_t c, int32_t s) const { return record(c).good[s]; }
  bool confirmed(int32_t g) const { return group(g).confirmed; }
  // True when copy c was recognised for sure (not a system disk cut short).
  bool copyConfirmed(int32_t c) const { return record(c).confirmed; }
  // The first confirmed copy, or -1.
  int32_t firstConfirmed() const { return firstConfirmedCopy; }

  // True when every sector of file f is good in a copy of group g.
  bool fileWhole(int32_t g, int32_t f) const;
  // The group whose file f is written: the last confirmed one that gives it
  // whole; -1 when none does.
  int32_t chosenGroup(int32_t f) const;
  // True when one copy of group g alone gives file f whole.
  bool wholeInOneCopy(int32_t g, int32_t f) const;
  // The copy that gave disk sector s to group g, or -1 when none had it good.
  int32_t sourceOf(int32_t g, int32_t s) const { return group(g).source[s]; }
  // Writes file f's run as group g assembles it into run[0..runLength):
  // good sectors from their first copy, a bad one from the group's first
  // copy (its recorded bytes, or zeros).
  void runOf(int32_t g, int32_t f, uint8_t* run) const;
  const Disagreement& disagreement() const { return parted; }
  // Group g's fingerprint, its copies' sectors together; true when every
  // sector is good in one of them.
  bool fingerprint(int32_t g, char text[kFingerprintSize]) const;

 private:
  struct Record {
    CopyName name;
    int32_t group;
    bool confirmed;
    bool good[kMaxDiskSectors];
  };
  struct Group {
    int32_t copies;
    bool confirmed;
    int32_t source[kMaxDiskSectors];
    uint8_t bytes[kMaxDiskSectors * kRunSectorSize];
  };
  const Group& group(int32_t g) const { return g == 0 ? firstGroup : *moreGroups[g - 1]; }
  Group& group(int32_t g) { return g == 0 ? firstGroup : *moreGroups[g - 1]; }
  const Record& record(int32_t c) const { return c == 0 ? firstRecord : moreRecords[c - 1]; }
  Record& record(int32_t c) { return c == 0 ? firstRecord : moreRecords[c - 1]; }
  // The first sector good in group g and in the copy with other bytes, or -1.
  int32_t differsAt(int32_t g, const DiskCopy& copy) const;
  int32_t groupFor(const DiskCopy& copy, int32_t* firstDifference) const;
  bool newGroup(const DiskCopy& copy);
  bool newRecord();
  bool gives(int32_t g, const DiskCopy& copy) const;

  GameDiskKind kind = GameDiskKind::kSystemDisk;
  int32_t copyCount = 0;
  int32_t groupCount = 0;
  int32_t firstConfirmedCopy = -1;
  Disagreement parted;
  Record firstRecord;
  Record* moreRecords = nullptr;  // copies 1.. (realloc'd)
  int32_t recordRoom = 0;
  Group firstGroup;
  Group** moreGroups = nullptr;  // groups 1.., each its own block
  int32_t groupRoom = 0;
};

#endif  // D88CUT_GAME_ASSEMBLY_H_
