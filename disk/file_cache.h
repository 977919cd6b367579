// SPDX-License-Identifier: MIT
// FileCache: the reader's one buffer of a file read at random. Walking a
// chain of sector headers costs no system call per header: a jump reads a
// little ahead, reading on reads more and more, and the block's last bytes
// are kept so that a search that starts again at a track's head stays here.
// Nothing here prints or allocates.
#ifndef D88CUT_DISK_FILE_CACHE_H_
#define D88CUT_DISK_FILE_CACHE_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "disk/d88_format.h"

// One read of the system: reads up to n bytes of file into dst. Returns the
// count read (fewer only at the end of the file), or -1 with errno set when
// the system failed to read.
using ReadCall = long (*)(std::FILE* file, uint8_t* dst, std::size_t n);

class FileCache {
 public:
  FileCache() = default;
  ~FileCache() {
    close();
    dropUnseekable();
  }
  FileCache(const FileCache&) = delete;
  FileCache& operator=(const FileCache&) = delete;

  // Opens `path` for reading at random, unbuffered but for this cache, and
  // reads its first block. Returns false, with nothing open and errno giving
  // the system's reason, when it cannot be opened, cannot be sought (a pipe:
  // ESPIPE) or its first read fails (a directory: EISDIR). Closes any file
  // already open first. A regular file is read as long as it was when
  // opened: what is written past that end later is not seen.
  bool open(const char* path);

  // Reads bytes[0..size) as the file, from memory: every read is a copy.
  // Closes any file already open first. Returns false, with nothing open,
  // for a size outside 0..INT32_MAX. REQUIRES: the bytes stay as they are
  // until close or the next open.
  bool openBytes(const uint8_t* bytes, int64_t size);

  // The stream left behind by an open that failed because the path cannot
  // be read at random (ESPIPE: a pipe, a FIFO), still open and unread, for
  // the caller to read on and close; null after any other open. Closing it
  // and reopening the path would lose what a FIFO's writer sent.
  std::FILE* takeUnseekable();

  // The system's reason (an errno value) for the first read or seek that
  // failed since open, or 0. Once set, nothing more is read: every read
  // returns 0, as at the end of the file, so callers ask this to tell the two
  // apart.
  int readError() const { return error; }

  // For tests: the read call used from now on (std::fread's by default), so
  // that a read can be made to fail. Kept across open and close.
  void setReadCall(ReadCall call) { readCall = call; }

  // Closes the file and drops the cached bytes.
  void close();

  bool isOpen() const { return file != nullptr || memory != nullptr; }

  // The length of what is open: the bytes given, or a regular file's when it
  // was opened; -1 for anything else (a pipe, a device) or nothing open.
  int64_t length() const { return memory != nullptr ? cacheLength : lengthAtOpen; }

  // Drops the cached bytes, so that the next read asks the system again (the
  // file may have changed since it was cached). Bytes in memory stay.
  void forget() {
    if (memory == nullptr) cacheLength = 0;
  }

  // Reads up to n bytes at pos into dst. Returns the count read: fewer at
  // the end of the file or after a failed read (readError), 0 with no file
  // open, for n <= 0 or a position outside 0..INT32_MAX.
  // REQUIRES: dst holds n bytes.
  int32_t readAt(int64_t pos, uint8_t* dst, int32_t n);

  // The n bytes at pos when the cache holds all of them, else null. Valid
  // until the next call of this object.
  // Inline: a search asks this once per header.
  const uint8_t* cachedAt(int64_t pos, int32_t n) const {
    const int64_t end = pos + n;
    if (pos < cacheStart || end > cacheStart + cacheLength || end - 1 > kMaxFilePosition) {
      return nullptr;
    }
    return data + (pos - cacheStart);
  }

 private:
  // Reads the block at pos: jumpRead bytes after a jump, more when reading on.
  bool fill(int64_t pos, int32_t jumpRead = kFirstReadAhead);
  void dropUnseekable();
  // Records the first failure, with errno's reason (EIO when errno is 0).
  void fail();

  // 64 KiB: a search through a long chain refills it 16 bytes in 65,536.
  static constexpr int32_t kCacheSize = 65536;
  // A refill after a jump reads this much; each refill that reads on doubles it.
  static constexpr int32_t kFirstReadAhead = 16384;
  // Open reads this much: an image header, and a first track's first
  // sectors, which tell a disk of the game.
  static constexpr int32_t kOpenRead = 4096;
  // Reading on keeps this much of the block before: more than a track of
  // the disks d88cut reads (5 x 1040 bytes, 16 x 272).
  static constexpr int32_t kKeptReadingOn = 8192;

  std::FILE* file = nullptr;
  std::FILE* unseekable = nullptr;
  // The bytes read from: the cache, or the whole file held in memory.
  const uint8_t* data = cache;
  const uint8_t* memory = nullptr;
  ReadCall readCall = nullptr;  // null: std::fread
  int error = 0;
  int64_t cacheStart = 0;
  int32_t cacheLength = 0;
  int32_t readAhead = kFirstReadAhead;
  int64_t streamPosition = -1;  // where the stream stands, or -1 when unknown
  int64_t lengthAtOpen = -1;    // a regular file's length when opened, else -1
  uint8_t cache[kCacheSize] = {};
};

#endif  // D88CUT_DISK_FILE_CACHE_H_
