// SPDX-License-Identifier: MIT
#include "disk/file_cache.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

// The length of the regular file open as `file`, or -1 for anything else
// (a pipe, a device, a file the system cannot describe).
// Every build gives fstat a 64-bit size (MinGW-w64's with _FILE_OFFSET_BITS
// set by its toolchain file).
int64_t regularFileLength(std::FILE* file) {
  struct stat status;
  if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) return -1;
  return status.st_size < 0 ? -1 : static_cast<int64_t>(status.st_size);
}

long systemRead(std::FILE* file, uint8_t* dst, std::size_t n) {
  const std::size_t got = std::fread(dst, 1, n, file);
  if (got < n && std::ferror(file)) return -1;
  return static_cast<long>(got);
}

}  // namespace

void FileCache::dropUnseekable() {
  if (unseekable != nullptr) std::fclose(unseekable);
  unseekable = nullptr;
}

bool FileCache::open(const char* path) {
  close();
  dropUnseekable();
  file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  // The cache is the only buffer: each of its fills is one read of the
  // system, and a jump costs no more than the bytes it needs.
  std::setvbuf(file, nullptr, _IONBF, 0);
  // A regular file can be read at random, and its length, asked once, saves
  // asking the system for what lies past it. Anything else is tried: a pipe
  // cannot be sought. A directory opens on some systems but cannot be read:
  // it, and any other path whose first read fails, is a file that cannot be
  // opened.
  lengthAtOpen = regularFileLength(file);
  if (lengthAtOpen >= 0 || std::fseek(file, 0, SEEK_SET) == 0) {
    streamPosition = 0;  // just opened, or sought: at the start
    // The head alone first: a walk judges most files by it alone, and
    // reading on from it reads more and more.
    if (fill(0, kOpenRead) || error == 0) return true;
  }
  const int reason = error != 0 ? error : errno;
  if (reason == ESPIPE) {
    unseekable = file;  // handed over, unread (takeUnseekable)
    file = nullptr;
  }
  close();
  errno = reason;
  return false;
}

bool FileCache::openBytes(const uint8_t* bytes, int64_t size) {
  close();
  dropUnseekable();
  if (bytes == nullptr || size < 0 || size > kMaxFilePosition) return false;
  memory = bytes;
  data = bytes;
  cacheStart = 0;
  cacheLength = static_cast<int32_t>(size);
  return true;
}

std::FILE* FileCache::takeUnseekable() {
  std::FILE* taken = unseekable;
  unseekable = nullptr;
  return taken;
}

void FileCache::close() {
  if (file != nullptr) std::fclose(file);
  file = nullptr;
  memory = nullptr;
  data = cache;
  error = 0;
  cacheLength = 0;
  streamPosition = -1;
  lengthAtOpen = -1;
}

void FileCache::fail() {
  if (error == 0) error = errno != 0 ? errno : EIO;
  cacheLength = 0;
  streamPosition = -1;
}

bool FileCache::fill(int64_t position, int32_t jumpRead) {
  if (memory != nullptr) return false;  // all of it is held: nothing lies past it
  // A regular file is read as long as it was when opened: past that, nothing.
  if (lengthAtOpen >= 0 && position >= lengthAtOpen) return false;
  // Read ahead little after a jump, more and more while reading on (forward,
  // within a block of the end): a jump to one sector costs no 64 KiB, a long
  // chain of headers few refills.
  const int64_t end = cacheStart + cacheLength;
  const bool readingOn = cacheLength > 0 && position >= end && position - end < kCacheSize;
  readAhead = !readingOn ? jumpRead : readAhead < kCacheSize / 2 ? readAhead * 2 : kCacheSize;
  // Reading straight on after a whole read keeps the block's last bytes: a
  // search that starts again at the head of a track met at the block's end
  // still finds it here. At the end of the file the block is dropped.
  int32_t kept = 0;
  if (cacheLength > 0 && position == end && position == streamPosition) {
    kept = cacheLength < kKeptReadingOn ? cacheLength : kKeptReadingOn;
    std::memmove(cache, cache + (cacheLength - kept), static_cast<size_t>(kept));
  }
  cacheStart = position - kept;
  cacheLength = kept;
  int32_t want = readAhead < kCacheSize - kept ? readAhead : kCacheSize - kept;
  // Up to the end exactly: a read that would come back short costs a second.
  if (lengthAtOpen >= 0 && want > lengthAtOpen - position) {
    want = static_cast<int32_t>(lengthAtOpen - position);
  }
  // Reading on needs no seek: the stream is unbuffered, so it stands where
  // the last whole read ended. position <= INT32_MAX fits a long everywhere.
  errno = 0;
  if (position != streamPosition && std::fseek(file, static_cast<long>(position), SEEK_SET) != 0) {
    fail();
    return false;
  }
  const long read = readCall != nullptr
                        ? readCall(file, cache + kept, static_cast<std::size_t>(want))
                        : systemRead(file, cache + kept, static_cast<std::size_t>(want));
  if (read < 0) {
    fail();
    return false;
  }
  const int32_t got = static_cast<int32_t>(read);
  cacheLength = kept + got;
  // After a short read (the end of the file, an error) the next fill seeks,
  // which also clears the stream's end-of-file state.
  streamPosition = got == want ? position + got : -1;
  return got > 0;
}

int32_t FileCache::readAt(int64_t position, uint8_t* dst, int32_t n) {
  if (!isOpen() || error != 0 || position < 0) return 0;
  int32_t done = 0;
  while (done < n) {
    const int64_t at = position + done;
    if (at > kMaxFilePosition) break;
    if (at < cacheStart || at >= cacheStart + cacheLength) {
      if (!fill(at)) break;
    }
    const int64_t available = cacheStart + cacheLength - at;
    const int32_t take = available < n - done ? static_cast<int32_t>(available) : n - done;
    std::memcpy(dst + done, data + (at - cacheStart), static_cast<size_t>(take));
    done += take;
  }
  return done;
}
