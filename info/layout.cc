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
  uint32_t length = kImageHeaderSize;
  for (uint32_t entry : header.trackEntries) {
    if (entry >= kTrackTableOffset && entry % kTrackEntrySize == 0 && entry < length) {
      length = entry;
    }
  }
  return static_cast<int32_t>(length);
}

bool readImageLayout(D88File& disk, int64_t fileSize, int32_t index, ImageLayout* image) {
  *image = ImageLayout{};
  image->index = index;
  image->offset = disk.imageOffset(index);
  if (image->offset < 0 || !readHeader(disk, image->offset, &image->header)) return false;
  while (disk.imageOffset(index + image->times) == image->offset) ++image->times;
  image->headerLength = headerLengthOf(image->header);
  image->tableEntries = (image->headerLength - kTrackTableOffset) / kTrackEntrySize;
  const int64_t inFile = fileSize - image->offset;
  image->bytesPresent = inFile < int64_t{image->header.diskSize} ? inFile : image->header.diskSize;
  image->end = image->offset + image->bytesPresent;
  return true;
}

TrackState classifyTrack(D88File& disk, const ImageLayout& image, int32_t t, int64_t* start,
                         int32_t* declared) {
  const uint32_t entry = image.header.trackEntries[t];
  if (entry == 0) return TrackState::kAbsent;
  if (entry < static_cast<uint32_t>(image.headerLength)) return TrackState::kInHeader;
  if (entry > image.header.diskSize) return TrackState::kPastSize;
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
