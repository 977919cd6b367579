// SPDX-License-Identifier: MIT
#include "info/layout.h"

namespace {

// Stops counting chained headers somewhere: a hostile chain could be long.
constexpr int32_t kMaxChained = 1 << 20;

bool readHeader(D88File& disk, int64_t position, ImageHeader* header) {
  uint8_t raw[kImageHeaderSize];
  if (disk.readBytesAt(position, raw, kImageHeaderSize) < kImageHeaderSize) return false;
  *header = parseImageHeader(raw);
  return true;
}

bool allZero(D88File& disk, int64_t start, int64_t length) {
  uint8_t bytes[kImageHeaderSize];
  // Fewer than a header's bytes, unless the file grew since it was opened.
  const int32_t n = disk.readBytesAt(
      start, bytes, length < kImageHeaderSize ? static_cast<int32_t>(length) : kImageHeaderSize);
  for (int32_t i = 0; i < n; ++i) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

// Says what follows the tail at `position`: bytes that no header could be
// read from.
void noteLeftover(D88File& disk, int64_t fileSize, int64_t position, FileTail* tail) {
  if (fileSize < 0) return;  // not known: nothing to say
  tail->leftoverStart = position;
  tail->leftoverLength = fileSize > position ? fileSize - position : 0;
  tail->leftoverZero = allZero(disk, position, tail->leftoverLength);
}

}  // namespace

FileTail examineFileTail(D88File& disk, int64_t fileSize) {
  FileTail tail;
  int64_t position = disk.chainEnd();
  if (position < 0) return tail;  // the chain left the format's range
  if (disk.imageCount() < kMaxImages) {
    noteLeftover(disk, fileSize, position, &tail);  // no whole header there
    return tail;
  }
  for (int32_t chained = kMaxImages; chained < kMaxChained; ++chained) {
    ImageHeader header;
    if (!readHeader(disk, position, &header)) {
      noteLeftover(disk, fileSize, position, &tail);
      break;
    }
    const int32_t size = toSigned32(header.diskSize);
    if (size <= 0) break;  // it would be found again and again
    ++tail.moreImages;
    position += size;
    if (position > kMaxFilePosition) break;
  }
  return tail;
}

int32_t headerLengthOf(const ImageHeader& header) {
  // Only the first track in table order tells: a stray small entry further
  // on is a damaged entry, not the end of a shorter header.
  for (uint32_t entry : header.trackEntries) {
    if (entry == 0) continue;
    const bool endsHeader = entry >= kTrackTableOffset && entry % kTrackEntrySize == 0 &&
                            entry < static_cast<uint32_t>(kImageHeaderSize);
    return endsHeader ? static_cast<int32_t>(entry) : kImageHeaderSize;
  }
  return kImageHeaderSize;
}

bool readImageLayout(D88File& disk, int64_t fileSize, int32_t index, ImageLayout* image) {
  *image = ImageLayout{};
  image->index = index;
  image->offset = disk.imageOffset(index);
  if (image->offset < 0 || !readHeader(disk, image->offset, &image->header)) return false;
  while (disk.imageOffset(index + image->times) == image->offset) ++image->times;
  image->headerLength = headerLengthOf(image->header);
  image->tableEntries = (image->headerLength - kTrackTableOffset) / kTrackEntrySize;
  image->diskSize = toSigned32(image->header.diskSize);
  const int64_t size = image->diskSize > 0 ? image->diskSize : 0;
  const int64_t inFile = fileSize < 0 ? size : fileSize - image->offset;
  image->bytesPresent = inFile < size ? inFile : size;
  image->end = image->offset + image->bytesPresent;
  return true;
}

TrackState classifyTrack(D88File& disk, const ImageLayout& image, int32_t t, int64_t* start,
                         int32_t* declared) {
  // Signed, as the reader reads the entry and compares it with the size.
  const int32_t entry = toSigned32(image.header.trackEntries[t]);
  if (entry == 0) return TrackState::kAbsent;
  if (entry < 0) return TrackState::kNegative;
  if (entry < image.headerLength) return TrackState::kInHeader;
  if (entry > image.diskSize) return TrackState::kPastSize;
  const int64_t position = image.offset + entry;
  if (position + kSectorHeaderSize > image.end) return TrackState::kPastFile;
  TrackWalk walk = disk.walkRecords(position, image.end);
  TrackRecord first;
  if (!disk.nextRecord(&walk, &first)) return TrackState::kBlank;  // whole, so count 0
  *start = image.offset + entry;
  *declared = first.header.count;
  return TrackState::kListed;
}

bool dataSizeDiffers(const SectorHeader& header) {
  return header.n > kMaxSizeCode || header.dataSize != (int32_t{128} << header.n);
}
