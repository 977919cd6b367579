// SPDX-License-Identifier: MIT
// d88info's view of a D88 file as laid out, for people: where each image's
// header and bytes end, which tracks hold records, and what does not fit.
// What d88cut reads is the reader's business and stays as it is.
#ifndef D88CUT_INFO_LAYOUT_H_
#define D88CUT_INFO_LAYOUT_H_

#include <cstdint>

#include "disk/d88_file.h"

// What follows the images of a file.
struct FileTail {
  int32_t moreImages = 0;     // whole headers chained after the 64 that d88cut looks at
  int64_t leftoverStart = 0;  // bytes that no image header could be read from
  int64_t leftoverLength = 0;
  bool leftoverZero = false;  // ... all of them zero bytes (padding)
};

// Walks the chain of image headers on from where the reader's walk stopped,
// past the 64 as long as each disk size moves on, and says what follows the
// last whole header of the file of `fileSize` bytes (-1: not known, when
// nothing is said of what follows).
FileTail examineFileTail(D88File& disk, int64_t fileSize);

// One image as laid out.
struct ImageLayout {
  int32_t index = 0;  // the first index d88cut gives it
  int32_t times = 1;  // how many indexes in a row start at its offset
  int64_t offset = 0;
  ImageHeader header = {};
  int32_t headerLength = kImageHeaderSize;
  int32_t tableEntries = kTrackCount;
  int32_t diskSize = 0;      // the disk size as the reader reads it: signed
  int64_t bytesPresent = 0;  // min(disk size, bytes the file holds from offset); 0 for a
                             // negative size
  int64_t end = 0;           // offset + bytesPresent
};

// Reads image `index` of the open file of `fileSize` bytes (-1 when its size
// is not known: each image is then taken to be whole) and counts those after
// it at the same offset. Returns false when its header cannot be read whole
// (the file shrank).
bool readImageLayout(D88File& disk, int64_t fileSize, int32_t index, ImageLayout* image);

// The header length: the first non-zero track-table entry, in table order,
// when it is at least 0x20, a multiple of 4 and below 688 (older, shorter
// headers end there, where the first track begins); else 688.
int32_t headerLengthOf(const ImageHeader& header);

enum class TrackState {
  kAbsent,    // entry 0
  kNegative,  // entry negative as the reader reads it (signed)
  kInHeader,  // entry below the header length
  kPastSize,  // entry above the disk size (signed, as the reader compares)
  kPastFile,  // first record header not whole inside the image's bytes
  kBlank,     // first record header with count 0
  kListed,
};

// Where track t of the image stands; for kListed, *start is the file position
// of its first record header and *declared that header's count.
TrackState classifyTrack(D88File& disk, const ImageLayout& image, int32_t t, int64_t* start,
                         int32_t* declared);

// True when the record's data size is not the nominal 128 << N.
bool dataSizeDiffers(const SectorHeader& header);

#endif  // D88CUT_INFO_LAYOUT_H_
