// SPDX-License-Identifier: MIT
#include "disk/d88_file.h"

#include <cstring>

D88File::~D88File() { close(); }

bool D88File::open(const char* path) {
  close();
  if (path == nullptr) return true;
  clearSelection();
  if (!file.open(path)) return false;
  indexImages();
  return true;
}

bool D88File::openBytes(const uint8_t* bytes, int64_t size) {
  close();
  clearSelection();
  if (!file.openBytes(bytes, size)) return false;
  indexImages();
  return true;
}

void D88File::indexImages() {
  headLength = file.readAt(0, head, kHeadSize);
  int64_t position = 0;
  while (count < kMaxImages) {
    imageOffsets[count] = static_cast<int32_t>(position);
    uint8_t raw[kImageHeaderSize];
    if (file.readAt(position, raw, kImageHeaderSize) < kImageHeaderSize) break;
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
  justIndexed = true;
}

void D88File::close() {
  file.close();
  headLength = 0;
  count = 0;
  selected = -1;
  media = -1;
  chainEndPosition = 0;
  justIndexed = false;
}

void D88File::clearSelection() {
  imageStart = -1;
  selected = -1;
  media = -1;
  diskSize = 0;
  std::memset(name, 0, sizeof name);
}

bool D88File::selectImage(int32_t index) {
  if (!file.isOpen()) return false;
  clearSelection();
  if (index < 0 || index >= count) return false;
  // The file may have changed since it was indexed, unless that was just now.
  if (!justIndexed) file.forget();
  justIndexed = false;
  uint8_t raw[kImageHeaderSize];
  if (file.readAt(imageOffsets[index], raw, kImageHeaderSize) < kImageHeaderSize) return false;
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
  if (!file.isOpen() || track < 0 || track >= kTrackCount) return -1;
  const int32_t entry = trackOffsets[track];
  if (entry == 0 || entry > diskSize) return -1;
  const int64_t position = int64_t{imageStart} + entry;
  if (position < 0 || position > kMaxFilePosition) return -1;
  return position;
}

bool D88File::endsBeforeTrack(int32_t track) {
  const int64_t position = trackPosition(track);
  uint8_t header[kSectorHeaderSize];
  return position >= 0 && file.readAt(position, header, kSectorHeaderSize) < kSectorHeaderSize;
}

TrackWalk D88File::walkRecords(int64_t start, int64_t end) const {
  TrackWalk walk;
  walk.position = start;
  walk.end = end;
  walk.ended = start < 0;
  return walk;
}

TrackWalk D88File::walkTrack(int32_t track) const {
  // Past INT32_MAX no byte is read anyway: the walk ends at the file's end.
  return walkRecords(trackPosition(track), kMaxFilePosition + 1);
}

inline bool D88File::readHeaderAt(int64_t position, SectorHeader* header) {
  // A search reads header after header: parse straight from the cache when
  // the header lies inside it.
  if (const uint8_t* cached = file.cachedAt(position, kSectorHeaderSize)) {
    *header = parseSectorHeader(cached);
    return true;
  }
  uint8_t raw[kSectorHeaderSize];
  if (file.readAt(position, raw, kSectorHeaderSize) < kSectorHeaderSize) return false;
  *header = parseSectorHeader(raw);
  return true;
}

bool D88File::nextRecord(TrackWalk* walk, TrackRecord* record) { return step(walk, record); }

// Inline in the search, which steps header by header through chains that
// may be long.
inline bool D88File::step(TrackWalk* walk, TrackRecord* record) {
  if (walk->ended) return false;
  // Each step moves at least one header forward, so a walk ends at its end
  // position whatever the counts say.
  SectorHeader header;
  if (walk->position + kSectorHeaderSize > walk->end || !readHeaderAt(walk->position, &header) ||
      (header.count == 0 && walk->countZeroEnds)) {
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

int32_t D88File::readSector(int32_t track, int32_t c, int32_t h, int32_t r, int32_t n,
                            uint8_t* buffer, int32_t length) {
  return readMatchingSector(track, c, h, r, n, buffer, length, nullptr);
}

int32_t D88File::readMatchingSector(int32_t track, int32_t c, int32_t h, int32_t r, int32_t n,
                                    uint8_t* buffer, int32_t length, SectorHeader* found) {
  if (length <= 0) return 0;
  // A header with count 0 ends the walk before its ID is compared, on purpose.
  TrackWalk walk = walkTrack(track);
  TrackRecord record;
  while (step(&walk, &record)) {
    const SectorHeader& header = record.header;
    if (header.c == c && header.h == h && header.r == r && header.n == n) {
      if (found != nullptr) *found = header;
      const int32_t amount = header.dataSize < length ? header.dataSize : length;
      return file.readAt(record.position + kSectorHeaderSize, buffer, amount);
    }
  }
  return 0;
}

int32_t D88File::readSectors(int32_t track, int32_t c, int32_t h, int32_t r, int32_t n,
                             uint8_t* buffer, int32_t total, RunStop* stop, RunDamage* damage) {
  if (stop != nullptr) *stop = RunStop{};
  if (damage != nullptr) *damage = RunDamage{};
  if (n < 0 || n > kMaxSizeCode || total <= 0) return 0;
  int32_t piece = int32_t{128} << n;
  int32_t done = 0;
  while (done < total) {
    if (total - done < piece) piece = total - done;
    SectorHeader found{};
    found.count = -1;  // no record matched
    const int32_t got = readMatchingSector(track, c, h, r, n, buffer + done, piece, &found);
    const bool matched = found.count >= 0;
    if (matched && damage != nullptr && isErrorStatus(found.status)) {
      if (damage->sectors == 0) *damage = RunDamage{0, track, c, h, r, found.status};
      damage->sectors += 1;
    }
    if (got < piece) {
      if (stop != nullptr) {
        const RunStop::Reason reason = !isTrackUsable(track) ? RunStop::kTrackAbsent
                                       : matched             ? RunStop::kShortSector
                                                             : RunStop::kNoSuchSector;
        *stop = RunStop{reason, track, c, h, r, got};
      }
      return done;
    }
    done += piece;
    // A sector was found, so track, c, h and r are small: no overflow here.
    SectorAddress at = {track, c, h, r, n};
    stepRunSector(range, &at);
    track = at.track;
    c = at.c;
    h = at.h;
    r = at.r;
  }
  return done;
}

void stepRunSector(const SectorRange& range, SectorAddress* at) {
  if (at->r != range.last) {
    at->r += 1;
    return;
  }
  at->track += 1;
  at->c += at->h;  // a new cylinder after head 1
  at->h ^= 1;
  at->r = range.first;
}

int32_t D88File::listSectorIds(int32_t track, uint8_t* buffer, int32_t length) {
  TrackWalk walk = walkTrack(track);
  walk.countZeroEnds = false;  // the listing goes on past a count of 0
  int32_t written = 0;
  TrackRecord record;
  while (length - written >= 4 && step(&walk, &record)) {
    buffer[written + 0] = record.header.c;
    buffer[written + 1] = record.header.h;
    buffer[written + 2] = record.header.r;
    buffer[written + 3] = record.header.n;
    written += 4;
  }
  return written;
}
