// SPDX-License-Identifier: MIT
// Archives (zip, 7z, LZH, RAR) and compressed files (gzip, xz, bzip2), read
// through libarchive. The library is loaded only when an archive is opened:
// archive_library_posix.cc loads the system's, archive_library_win32.cc the
// DLL beside the program, archive_library_static.cc has it linked in.
// archive.cc holds what every build shares.
#ifndef D88CUT_PLATFORM_ARCHIVE_H_
#define D88CUT_PLATFORM_ARCHIVE_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>

enum class ArchiveKind { kNone, kZip, kSevenZip, kLzh, kRar, kTar, kGzip, kXz, kBzip2 };

// The kind whose signature head[0..available) starts with (a tar archive's
// stands at byte 257 of its first block); kNone for any other bytes. Never reads outside
// head[0..available).
ArchiveKind archiveKindOf(const uint8_t* head, int32_t available);

// The kind in words, as the messages name it: "zip archive", "gzip file".
const char* archiveKindName(ArchiveKind kind);

// Bytes held in memory for the reader (an entry, or what a pipe sent). Grows
// as bytes arrive; freed by release, by the next reserve's growth and at
// destruction.
class HeldBytes {
 public:
  HeldBytes() = default;
  ~HeldBytes() { release(); }
  HeldBytes(const HeldBytes&) = delete;
  HeldBytes& operator=(const HeldBytes&) = delete;

  // Makes room for at least `room` more bytes after size(). False, with the
  // bytes as they were, when memory cannot be had.
  bool reserve(int64_t room);
  // The room after size(), for the caller to fill; grow adds what it filled.
  uint8_t* end() { return bytes + length; }
  int64_t room() const { return capacity - length; }
  void grow(int64_t filled) { length += filled; }

  const uint8_t* data() const { return bytes; }
  int64_t size() const { return length; }
  // Forgets the bytes but keeps the memory for the next ones.
  void clear() { length = 0; }
  void release();

 private:
  uint8_t* bytes = nullptr;
  int64_t length = 0;
  int64_t capacity = 0;
};

// Reads the rest of `stream` into *held (after what it holds), at most
// `limit` bytes in all. Returns 0; EFBIG when the stream holds more (what
// was read stays, and no more than limit + 1 bytes are held); ENOMEM; or
// the system's errno value of a failed read.
int readWholeStream(std::FILE* stream, int64_t limit, HeldBytes* held);

// Writes the UTF-8 form of the Shift_JIS bytes name[0..length) into
// out[0..size), NUL-terminated; a byte that starts no character stays as it
// is, and a name that does not fit is cut. REQUIRES: size > 0.
void shiftJisNameToUtf8(const char* name, std::size_t length, char* out, std::size_t size);

// readWholeStream of standard input, read as bytes on every system.
int readStandardInput(int64_t limit, HeldBytes* held);

// True when standard input is a terminal (nobody piped a file into it).
bool standardInputIsTerminal();

// The bytes a nested archive takes from its outer entry at a time.
inline constexpr int64_t kArchiveChunkSize = 65536;

// Room for an entry's name in UTF-8, NUL included; a longer one is cut.
inline constexpr std::size_t kEntryNameSize = 1024;

struct ArchiveEntry {
  // As UTF-8: a name that is not valid UTF-8 is read as Shift_JIS (code
  // page 932), the Japanese systems' own; a byte of neither stays as it is.
  char name[kEntryNameSize] = {};
  bool regularFile = false;  // not a folder, a link or a device
  bool encrypted = false;
  int64_t size = -1;  // its bytes as the archive records them, or -1
};

// For tests: the library file that archives load from now on (null: the
// usual one); the next archive opened loads it afresh.
void setArchiveLibraryName(const char* name);

// Why a call failed.
enum class ArchiveFailure {
  kNone,
  kNoLibrary,      // libarchive is not on this system (or not beside the program)
  kDamaged,        // the library's words say what (failure())
  kUnsupported,    // a way of packing the library cannot read (failure())
  kTooManyLayers,  // compressed inside itself more times than the library unpacks
  kNeedsProgram,   // the library would run an outside program; none is run
  kEncrypted,      // the entry needs a password
  kTooLarge,       // the entry holds more bytes than the limit
  kNoMemory,
};

class ArchiveReader {
 public:
  ArchiveReader() = default;
  ~ArchiveReader() { close(); }
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // Opens the archive at `path`, or held in bytes[0..size) (which must stay
  // until close), whose head named it of kind `expected`. False, with
  // failureKind() and failure(), when the library cannot be loaded, cannot
  // read that kind by its own code (kUnsupported), or the archive cannot be
  // opened. No outside program is ever run: only the filters and formats
  // the library reads itself are registered.
  bool open(const char* path, ArchiveKind expected);
  bool openBytes(const uint8_t* bytes, int64_t size, ArchiveKind expected);
  // Opens the archive that `outer`'s current entry holds, streamed as the
  // library reads it: head[0..headLength) (at most kArchiveChunkSize bytes
  // already read from the entry), then the rest of the entry. `outer`
  // stays on that entry until this is closed. The library must read the
  // kind without seeking (zip, LZH, RAR, tar and the compressed files do;
  // a 7z archive does not: hold it with openBytes).
  bool openNested(ArchiveReader* outer, const uint8_t* head, int64_t headLength,
                  ArchiveKind expected);

  // Steps to the next entry and reads its header into *entry. Returns true;
  // false at the end (failureKind() kNone) or when the archive cannot be
  // read on (kDamaged: no entry follows).
  bool next(ArchiveEntry* entry);

  // Reads the data of the entry `next` gave into *held (cleared first), at
  // most `limit` bytes: an entry whose recorded size passes the limit is not
  // read at all. True when read whole; false with failureKind() otherwise:
  // an entry that holds other than the bytes its header records is
  // kDamaged, whether the archive comes from a file or a pipe.
  bool readData(const ArchiveEntry& entry, int64_t limit, HeldBytes* held);
  // The same in two steps: the entry's first `length` bytes (fewer in a
  // shorter one) into *held, cleared first; then the rest after them, as
  // readData (the limit counts the whole entry). An entry left half read is
  // skipped by the next call of `next`.
  bool readHead(const ArchiveEntry& entry, int64_t length, HeldBytes* held);
  bool readRest(const ArchiveEntry& entry, int64_t limit, HeldBytes* held);
  // Reads up to `size` more bytes of the current entry into buffer: their
  // count, 0 at its end, -1 on failure (failureKind()).
  int64_t readSome(uint8_t* buffer, int64_t size);

  // True when the entry `next` gave is a compressed file's bytes, not an
  // archive's named entry (a .gz holding one file, not a .tar.gz).
  bool wholeFile() const { return rawFormat; }

  // True after a failure past which no entry can be read.
  bool ended() const { return finished; }

  ArchiveFailure failureKind() const { return kind; }
  // The library's own words for kDamaged (English); "" otherwise.
  const char* failure() const { return words; }

  void close();

  // For the library's read callback: the next bytes of a nested archive.
  std::ptrdiff_t nextNestedBytes(const void** buffer);

 private:
  bool start();
  bool readsKind(ArchiveKind expected);
  bool heldAsRecorded(const ArchiveEntry& entry, HeldBytes* held);
  void fail(ArchiveFailure why, bool fatal);
  void* handle = nullptr;   // the library's struct archive
  void* current = nullptr;  // its entry that next gave last
  ArchiveFailure kind = ArchiveFailure::kNone;
  bool finished = false;
  bool rawFormat = false;
  char words[256] = {};
  ArchiveReader* outer = nullptr;  // the reader whose entry a nested archive is
  uint8_t* chunk = nullptr;        // kArchiveChunkSize bytes read from it, when nested
  int64_t pending = 0;             // of the head, not yet handed to the library
};

#endif  // D88CUT_PLATFORM_ARCHIVE_H_
