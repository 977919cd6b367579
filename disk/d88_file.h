// SPDX-License-Identifier: MIT
// D88File: reads the disk images of one D88 file.
//
// Calling order: open; imageCount; for each image selectImage, then any
// number of setSectorRange, readSector, readSectors and listSectorIds;
// finally close or destruction. One object keeps a file position between
// calls, so calls must not overlap. Nothing here prints or allocates.
#ifndef D88CUT_DISK_D88_FILE_H_
#define D88CUT_DISK_D88_FILE_H_

#include <cstdint>
#include <cstdio>

#include "disk/d88_format.h"
#include "disk/file_cache.h"

// Where and why a run of sectors stopped before its total: the first sector
// of the run that was not read whole.
struct RunStop {
  enum Reason {
    kNone,          // the run was read whole, or nothing was asked
    kTrackAbsent,   // the sector's track is absent from the image
    kNoSuchSector,  // the track's search found no record with the sector's ID
    kShortSector,   // the record holds fewer data bytes than the piece needed
  };
  Reason reason = kNone;
  int32_t track = 0;
  int32_t c = 0;
  int32_t h = 0;
  int32_t r = 0;
  int32_t holds = 0;  // data bytes the stopping sector gave (0 when missing)
};

// The sectors of a run whose records carry an error status (isErrorStatus):
// how many, and the first of them.
struct RunDamage {
  int32_t sectors = 0;
  int32_t track = 0;
  int32_t c = 0;
  int32_t h = 0;
  int32_t r = 0;
  uint8_t status = 0;  // the first one's status byte
};

// The sector numbers at which runs start and end on every track.
struct SectorRange {
  int32_t first = 1;
  int32_t last = 16;
};

// Steps *at to the next sector of a run under `range`: after the range's
// last sector a run continues at its first sector on the next track; the
// head toggles, and the cylinder grows when the head goes from 1 back to 0.
// REQUIRES: the fields are small enough not to overflow (those of a sector
// that was found are).
void stepRunSector(const SectorRange& range, SectorAddress* at);

// A walk over a track's records in the order readSector's search visits
// them: each header's record count is taken afresh, and the walk ends after
// the header at position count-1, before a header whose count is 0, at the
// end of the file, or before a header that is not whole before its end
// position. Started by D88File::walkTrack (or walkRecords); a walk made
// here is already ended.
class TrackWalk {
 public:
  TrackWalk() = default;

 private:
  friend class D88File;
  int64_t position = -1;  // file position of the next header
  int64_t end = 0;        // no header or data at or past this position is read
  int32_t index = 0;      // position of the next record in the walk
  bool ended = true;
  bool countZeroEnds = true;  // false for the listing, which a count of 0 does not stop
};

// One record met on a walk.
struct TrackRecord {
  SectorHeader header;
  int64_t position;  // file position of its header
  int32_t index;     // its position in the walk
  bool dataPastEnd;  // its data reaches past the walk's end
};

class D88File {
 public:
  D88File() = default;
  ~D88File();
  D88File(const D88File&) = delete;
  D88File& operator=(const D88File&) = delete;

  // Opens `path` for reading and indexes its images (at most 64): image 0 at
  // offset 0, each next one at the previous offset plus its disk size, until
  // fewer than 688 header bytes remain or that sum leaves 0..INT32_MAX.
  // Closes any file already open and clears the selection first.
  // Returns false, with no file open and errno giving the system's reason,
  // when the path cannot be opened or cannot be read at random (a directory:
  // EISDIR; a pipe: ESPIPE); true otherwise, also with no image. A null path
  // closes and returns true.
  bool open(const char* path);

  // The same for a D88 file held in memory, bytes[0..size): nothing is read
  // from the system. Returns false, with nothing open, for a size outside
  // 0..INT32_MAX. REQUIRES: the bytes stay as they are until close or the
  // next open.
  bool openBytes(const uint8_t* bytes, int64_t size);

  // After an open that failed with ESPIPE: the path's stream, open and
  // unread, for the caller to read and close (FileCache::takeUnseekable);
  // else null.
  std::FILE* takeUnseekable() { return file.takeUnseekable(); }

  // The length of the file open: the bytes given to openBytes, or a regular
  // file's length when it was opened; -1 for anything else or nothing open.
  int64_t openedLength() const { return file.length(); }

  // The file's first bytes as open read them (up to 688, an image header;
  // fewer in a shorter file), into *bytes; their count. Reads nothing anew.
  int32_t fileHead(const uint8_t** bytes) const {
    *bytes = head;
    return headLength;
  }

  // Closes the file; imageCount becomes 0, selectedImage and mediaType -1.
  // diskName keeps the last selection's name. Same as open(nullptr).
  void close();

  // Number of indexed images, 0..64.
  int32_t imageCount() const { return count; }

  // Makes image `index` the selected one by loading its header. Returns true
  // on success. With no file open returns false and changes nothing. Any
  // other failure (index out of 0..imageCount-1, or a header that can no
  // longer be read whole) returns false with nothing selected. The header is
  // read again from the file, but for the first selection after open, which
  // reads what open has just read.
  bool selectImage(int32_t index);

  // The selected image's index, or -1.
  int32_t selectedImage() const { return selected; }

  // The disk name of the last successful selection: at most 16 bytes, NUL
  // terminated; empty after construction and after a failed selection.
  // Valid until the next selectImage or open.
  const char* diskName() const { return name; }

  // The selected image's media type byte 0..255, or -1.
  int32_t mediaType() const { return media; }

  // True when `track` of the selected image can be read: 0..163, a non-zero
  // table entry not above the disk size, at a position inside 0..INT32_MAX.
  bool isTrackUsable(int32_t track) const { return trackPosition(track) >= 0; }

  // True when `track` of the selected image is usable (isTrackUsable) but
  // the file ends before its first record header is whole: a dump cut short
  // before the track. False for an absent track and with no image selected.
  bool endsBeforeTrack(int32_t track);

  // Sets the sector numbers at which runs start and end on every track
  // (readSectors). Checks nothing; open, close and selectImage keep them.
  void setSectorRange(int32_t first, int32_t last) { range = SectorRange{first, last}; }

  // The sector range set last.
  SectorRange sectorRange() const { return range; }

  // Reads the sector with ID (c, h, r, n) from `track` of the selected image.
  // The search starts at the track's first record and reads headers one after
  // another, taking each header's record count afresh; it ends without a
  // match at a header whose count is 0 (even when its ID matches), after the
  // header at position count-1, or at the end of the file. It may run past
  // the track into the bytes that follow. The first matching record wins.
  // Returns the bytes placed in buffer: the record's data size cut to
  // `length`, fewer if the file ends inside the data; 0 if no file is open,
  // the track is absent (outside 0..163, entry 0, entry above the disk size,
  // or a position outside 0..INT32_MAX), no record matches, the matching
  // record holds no data, or length <= 0. Never writes outside
  // buffer[0..length-1]. REQUIRES: buffer holds `length` bytes.
  int32_t readSector(int32_t track, int32_t c, int32_t h, int32_t r, int32_t n, uint8_t* buffer,
                     int32_t length);

  // Reads `total` bytes of consecutive sectors of size code n, starting at
  // (track, c, h, r), into buffer. After the sector range's last sector a run
  // continues at its first sector on the next track; the head toggles and the cylinder grows
  // when the head goes from 1 back to 0. The last piece may be a part sector.
  // Returns the bytes of the whole pieces found before the first missing or
  // short sector (total when all were found); 0 when total <= 0 or n is
  // outside 0..23. Bytes of a short sector are placed but not counted.
  // When `stop` is given it receives the first sector not read whole and why
  // (kNone when the run was whole, total <= 0 or n is outside 0..23). When
  // `damage` is given it receives the sectors the run found whose records
  // carry an error status. REQUIRES: buffer holds `total` bytes.
  int32_t readSectors(int32_t track, int32_t c, int32_t h, int32_t r, int32_t n, uint8_t* buffer,
                      int32_t total, RunStop* stop = nullptr, RunDamage* damage = nullptr);

  // The system's reason (an errno value) when a read of the open file failed,
  // or 0. Every read after it finds nothing, as if the file ended there, so
  // a caller asks this before it takes a missing sector, an absent track or
  // a missing image for what the file holds. Cleared by open and close.
  int readError() const { return file.readError(); }

  // For tests: the call that reads the file from now on (see FileCache).
  void setReadCall(ReadCall call) { file.setReadCall(call); }

  // Writes the C, H, R, N bytes of the records of `track`, in track order, as
  // 4-byte groups into buffer while a whole group fits in `length`. Stops
  // after the header at position count-1 (a count of 0 does not stop it), at
  // the end of the file or at a header cut short by it. Returns the bytes
  // written (a multiple of 4); 0 for an absent track or length < 4.
  // REQUIRES: buffer holds `length` bytes.
  int32_t listSectorIds(int32_t track, uint8_t* buffer, int32_t length);

  // Starts the walk readSector's search makes over `track` of the selected
  // image, from its first record header; an ended walk when the track is
  // absent. It is bounded only by the end of the file and of 0..INT32_MAX.
  TrackWalk walkTrack(int32_t track) const;

  // Reads the next record of `walk` into *record and steps past it. Returns
  // false, ending the walk, when the walk has ended (see TrackWalk) or its
  // next header cannot be read whole; a record whose data reaches past the
  // walk's end (record->dataPastEnd) is the walk's last. Reads only; changes
  // no selection.
  bool nextRecord(TrackWalk* walk, TrackRecord* record);

  // For d88info, which shows the file as laid out, past what d88cut reads:

  // The file offset of indexed image `index`, or -1 outside 0..imageCount-1.
  int64_t imageOffset(int32_t index) const {
    return index >= 0 && index < count ? imageOffsets[index] : -1;
  }

  // Where open's walk of image headers stopped: the offset after the last
  // indexed image (the last one's offset plus its disk size), where no whole
  // header could be read or, with 64 images, where the chain goes on; -1 when
  // that sum left 0..INT32_MAX; 0 with no file open.
  int64_t chainEnd() const { return chainEndPosition; }

  // Reads up to n bytes at file position pos into dst. Returns the count
  // read: fewer at the end of the file, 0 with no file open, for n <= 0 or
  // for a position outside 0..INT32_MAX. REQUIRES: dst holds n bytes.
  int32_t readBytesAt(int64_t pos, uint8_t* dst, int32_t n) { return file.readAt(pos, dst, n); }

  // The walk readSector's search would make from the record header at file
  // position `start`, reading nothing at or past `end`.
  TrackWalk walkRecords(int64_t start, int64_t end) const;

 private:
  // readSector; *found (when given) receives the matching record's header,
  // or stays null when no record matches, so that a matching record without
  // data differs from none.
  int32_t readMatchingSector(int32_t track, int32_t c, int32_t h, int32_t r, int32_t n,
                             uint8_t* buffer, int32_t length, SectorHeader* found);
  // File position of `track`'s first record, or -1 when the track is absent.
  int64_t trackPosition(int32_t track) const;
  // nextRecord, inline where the reader walks.
  bool step(TrackWalk* walk, TrackRecord* record);
  // Reads the sector header at pos; false when the file ends before it is whole.
  bool readHeaderAt(int64_t pos, SectorHeader* header);
  void clearSelection();
  // Indexes the images of the file just opened (open).
  void indexImages();
  void loadImageHeader(const uint8_t (&raw)[kImageHeaderSize]);

  FileCache file;
  int32_t selected = -1;
  int32_t count = 0;
  SectorRange range;
  int32_t imageOffsets[kMaxImages] = {};
  int32_t diskSize = 0;
  int32_t imageStart = 0;
  int32_t trackOffsets[kTrackCount] = {};
  int32_t media = -1;
  char name[kDiskNameLength + 1] = {};
  int64_t chainEndPosition = 0;
  bool justIndexed = false;  // nothing selected since open read the headers
  static constexpr int32_t kHeadSize = kImageHeaderSize;  // a tar header block fits too
  uint8_t head[kHeadSize] = {};
  int32_t headLength = 0;
};

#endif  // D88CUT_DISK_D88_FILE_H_
