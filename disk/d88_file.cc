// SPDX-License-Identifier: MIT
#include "disk/d88_file.h"

#include <cerrno>
#include <cstring>

D88File::~D88File() { close(); }

bool D88File::open(const char* path) {
  close();
  if (path == nullptr) return true;
  clearSelection();
  file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  // The cache is the only buffer: each of its fills is one read of the
  // system, and a jump costs no more than the bytes it needs.
  std::setvbuf(file, nullptr, _IONBF, 0);
  // Images are read at random: a pipe cannot be. A directory opens on some
  // systems but cannot be read: it, and any other path whose first read
  // fails, is a file that cannot be opened.
  if (std::fseek(file, 0, SEEK_SET) != 0) return failOpen();
  streamPosition = 0;
  if (!fillCache(0) && std::ferror(file)) return failOpen();
  int64_t position = 0;
  while (count < kMaxImages) {
    imageOffsets[count] = static_cast<int32_t>(position);
    uint8_t raw[kImageHeaderSize];
    if (readAt(position, raw, kImageHeaderSize) < kImageHeaderSize) break;
    ++count;
    // A header that can be read whole is indexed even when its disk size
    // points past the end of the file; a sum outside the format's signed
    // 32-bit range ends the walk.
    position += loadLeSigned32(raw + kDiskSizeOffset);
    if (position < 0 || position > kMaxFilePosition) {
      position = -1;
      break;
    }
  }
  chainEndPosition = position;
  return true;
}

bool D88File::failOpen() {
  const int reason = errno;
  close();
  errno = reason;
  return false;
}

void D88File::close() {
  if (file != nullptr) std::fclose(file);
  file = nullptr;
  count = 0;
  selected = -1;
  media = -1;
  chainEndPosition = 0;
  cacheLength = 0;
  streamPosition = -1;
}

void D88File::clearSelection() {
  imageStart = -1;
  selected = -1;
  media = -1;
  diskSize = 0;
  std::memset(name, 0, sizeof name);
}

bool D88File::selectImage(int32_t index) {
  if (file == nullptr) return false;
  clearSelection();
  if (index < 0 || index >= count) return false;
  cacheLength = 0;  // the file may have changed since it was indexed
  uint8_t raw[kImageHeaderSize];
  if (readAt(imageOffsets[index], raw, kImageHeaderSize) < kImageHeaderSize) return false;
  imageStart = imageOffsets[index];
  loadImageHeader(raw);
  selected = index;
  return true;
}

void D88File::loadImageHeader(const uint8_t (&raw)[kImageHeaderSize]) {
  const ImageHeader header = parseImageHeader(raw);
  for (int32_t t = 0; t < kTrackCount; ++t) trackOffsets[t] = toSigned32(header.trackEntries[t]);
  media = header.media;
  diskSize = toSigned32(header.diskSize);
  std::memcpy(name, header.name, sizeof name);
}

int64_t D88File::trackPosition(int32_t track) const {
  if (file == nullptr || track < 0 || track >= kTrackCount) return -1;
  const int32_t entry = trackOffsets[track];
  if (entry == 0 || entry > diskSize) return -1;
  const int64_t position = int64_t{imageStart} + entry;
  if (position < 0 || position > kMaxFilePosition) return -1;
  return position;
}

int32_t D88File::readSector(int32_t track, int32_t c, int32_t h, int32_t r, int32_t n,
                            uint8_t* buffer, int32_t length) {
  return readMatchingSector(track, c, h, r, n, buffer, length, nullptr);
}

int32_t D88File::readMatchingSector(int32_t track, int32_t c, int32_t h, int32_t r, int32_t n,
                                    uint8_t* buffer, int32_t length, bool* matched) {
  if (matched != nullptr) *matched = false;
  if (length <= 0) return 0;
  int64_t position = trackPosition(track);
  if (position < 0) return 0;
  // Each step moves at least one header forward, so the walk ends at the end
  // of the file (or of the 32-bit range) whatever the counts say.
  for (int32_t i = 0;; ++i) {
    SectorHeader header;
    if (!readHeaderAt(position, &header)) return 0;
    if (header.count == 0) return 0;  // tested before the ID, on purpose
    position += kSectorHeaderSize;
    if (header.c == c && header.h == h && header.r == r && header.n == n) {
      if (matched != nullptr) *matched = true;
      const int32_t amount = header.dataSize < length ? header.dataSize : length;
      return readAt(position, buffer, amount);
    }
    position += header.dataSize;
    if (i == header.count - 1) return 0;
  }
}

int32_t D88File::readSectors(int32_t track, int32_t c, int32_t h, int32_t r, int32_t n,
                             uint8_t* buffer, int32_t total, RunStop* stop) {
  if (stop != nullptr) *stop = RunStop{};
  if (n < 0 || n > kMaxSizeCode || total <= 0) return 0;
  int32_t step = int32_t{128} << n;
  int32_t done = 0;
  while (done < total) {
    if (total - done < step) step = total - done;
    bool matched = false;
    const int32_t got = readMatchingSector(track, c, h, r, n, buffer + done, step, &matched);
    if (got < step) {
      if (stop != nullptr) {
        const RunStop::Reason reason = !isTrackUsable(track) ? RunStop::kTrackAbsent
                                       : matched             ? RunStop::kShortSector
                                                             : RunStop::kNoSuchSector;
        *stop = RunStop{reason, track, c, h, r, got};
      }
      return done;
    }
    done += step;
    // A sector was found, so track, c, h and r are small: no overflow here.
    if (r == lastSector) {
      track += 1;
      if (h == 0) {
        h = 1;
      } else {
        h = 0;
        c += 1;
      }
      r = firstSector;
    } else {
      r += 1;
    }
  }
  return done;
}

int32_t D88File::listSectorIds(int32_t track, uint8_t* buffer, int32_t length) {
  int64_t position = trackPosition(track);
  if (position < 0) return 0;
  int32_t written = 0;
  for (int32_t i = 0; length - written >= 4; ++i) {
    SectorHeader header;
    if (!readHeaderAt(position, &header)) break;
    buffer[written + 0] = header.c;
    buffer[written + 1] = header.h;
    buffer[written + 2] = header.r;
    buffer[written + 3] = header.n;
    written += 4;
    position += kSectorHeaderSize + header.dataSize;
    if (i == header.count - 1) break;  // a count of 0 never stops the listing
  }
  return written;
}

bool D88File::nextRecord(TrackWalk* walk, TrackRecord* record) {
  if (walk->ended || walk->position < 0) return false;
  SectorHeader header;
  if (walk->position + kSectorHeaderSize > walk->end || !readHeaderAt(walk->position, &header) ||
      header.count == 0) {
    walk->ended = true;
    return false;
  }
  record->header = header;
  record->position = walk->position;
  record->index = walk->index;
  const int64_t dataEnd = walk->position + kSectorHeaderSize + header.dataSize;
  record->dataPastEnd = dataEnd > walk->end;
  walk->ended = record->dataPastEnd || walk->index == header.count - 1;
  walk->position = dataEnd;
  walk->index += 1;
  return true;
}

bool D88File::readHeaderAt(int64_t position, SectorHeader* header) {
  // A search reads header after header: parse straight from the cache when
  // the header lies inside it.
  const int64_t end = position + kSectorHeaderSize;
  if (position >= cacheStart && end <= cacheStart + cacheLength && end - 1 <= kMaxFilePosition) {
    *header = parseSectorHeader(cache + (position - cacheStart));
    return true;
  }
  uint8_t raw[kSectorHeaderSize];
  if (readAt(position, raw, kSectorHeaderSize) < kSectorHeaderSize) return false;
  *header = parseSectorHeader(raw);
  return true;
}

bool D88File::fillCache(int64_t position) {
  // Read ahead little after a jump, more and more while reading on (forward,
  // within a block of the end): a jump to one sector costs no 64 KiB, a long
  // chain of headers few refills.
  const int64_t end = cacheStart + cacheLength;
  const bool readingOn = cacheLength > 0 && position >= end && position - end < kCacheSize;
  readAhead = !readingOn ? kFirstReadAhead : readAhead < kCacheSize / 2 ? readAhead * 2 : kCacheSize;
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
  const int32_t want = readAhead < kCacheSize - kept ? readAhead : kCacheSize - kept;
  // Reading on needs no seek: the stream is unbuffered, so it stands where
  // the last whole read ended. position <= INT32_MAX fits a long everywhere.
  if (position != streamPosition && std::fseek(file, static_cast<long>(position), SEEK_SET) != 0) {
    streamPosition = -1;
    return false;
  }
  const int32_t got = static_cast<int32_t>(std::fread(cache + kept, 1, static_cast<size_t>(want), file));
  cacheLength = kept + got;
  // After a short read (the end of the file, an error) the next fill seeks,
  // which also clears the stream's end-of-file state.
  streamPosition = got == want ? position + got : -1;
  return got > 0;
}

int32_t D88File::readAt(int64_t position, uint8_t* dst, int32_t n) {
  if (file == nullptr || position < 0) return 0;
  int32_t done = 0;
  while (done < n) {
    const int64_t at = position + done;
    if (at > kMaxFilePosition) break;
    if (at < cacheStart || at >= cacheStart + cacheLength) {
      if (!fillCache(at)) break;
    }
    const int64_t available = cacheStart + cacheLength - at;
    const int32_t take = available < n - done ? static_cast<int32_t>(available) : n - done;
    std::memcpy(dst + done, cache + (at - cacheStart), static_cast<size_t>(take));
    done += take;
  }
  return done;
}
