// SPDX-License-Identifier: MIT
#include "disk/d88_verdict.h"

#include <cstdio>

#include "disk/little_endian.h"

namespace {

// Tab, line ends, form feed, printable ASCII and the bytes of other scripts:
// what a text file is made of. A disk image header holds NUL bytes at the
// latest in its disk size (no image is 16 MiB).
bool isTextByte(uint8_t byte) {
  return byte == '\t' || byte == '\n' || byte == '\f' || byte == '\r' ||
         (byte >= 0x20 && byte != 0x7F);
}

bool isMediaByte(uint8_t media) {
  return media == 0x00 || media == 0x10 || media == 0x20 || media == 0x30 || media == 0x40;
}

// True when at least one non-zero entry of the table points inside the
// image: past the fields before the table, below the disk size.
bool tableFitsImage(const uint8_t* head, uint32_t diskSize) {
  bool anyEntry = false;
  for (int32_t t = 0; t < kTrackCount; ++t) {
    const uint32_t entry = loadLe32(head + kTrackTableOffset + kTrackEntrySize * t);
    if (entry == 0) continue;
    anyEntry = true;
    if (entry >= static_cast<uint32_t>(kTrackTableOffset) && entry < diskSize) return true;
  }
  return !anyEntry;  // a table without tracks is an unformatted disk's
}

}  // namespace

D88Verdict judgeD88File(const uint8_t* head, int32_t available, int64_t fileSize) {
  D88Verdict verdict;
  verdict.fileSize = fileSize;
  if (fileSize == 0 || available <= 0) {
    verdict.kind = fileSize == 0 ? D88Verdict::kEmpty : D88Verdict::kD88;
    return verdict;
  }
  bool text = true;
  for (int32_t i = 0; i < available && text; ++i) text = isTextByte(head[i]);
  if (text) {
    verdict.kind = D88Verdict::kText;
  } else if (available < kImageHeaderSize) {
    verdict.kind = D88Verdict::kTooShort;
  } else if (!isMediaByte(head[kMediaTypeOffset])) {
    verdict.kind = D88Verdict::kNoMedia;
    verdict.value = head[kMediaTypeOffset];
  } else {
    const uint32_t diskSize = loadLe32(head + kDiskSizeOffset);
    verdict.value = diskSize;
    if (diskSize > kMaxImageSize && (fileSize < 0 || diskSize > fileSize)) {
      verdict.kind = D88Verdict::kSizeImpossible;
    } else if (diskSize >= kImageHeaderSize && !tableFitsImage(head, diskSize)) {
      verdict.kind = D88Verdict::kTableNonsense;
    }
  }
  return verdict;
}

D88Verdict judgeD88File(D88File& disk, int64_t fileSize) {
  uint8_t head[kImageHeaderSize];
  const int32_t got = disk.readBytesAt(0, head, kImageHeaderSize);
  return disk.readError() != 0 ? D88Verdict{} : judgeD88File(head, got, fileSize);
}

void describeNotD88(const D88Verdict& verdict, char* text, std::size_t size) {
  const auto bytes = static_cast<long long>(verdict.fileSize);
  const unsigned long value = verdict.value;
  switch (verdict.kind) {
    case D88Verdict::kD88:
      if (size > 0) text[0] = '\0';
      break;
    case D88Verdict::kEmpty:
      std::snprintf(text, size, "the file is empty");
      break;
    case D88Verdict::kText:
      std::snprintf(text, size, "it is text, not a disk image");
      break;
    case D88Verdict::kTooShort:
      std::snprintf(text, size, "its %lld bytes are fewer than a disk image header's %d", bytes,
                    static_cast<int>(kImageHeaderSize));
      break;
    case D88Verdict::kNoMedia:
      std::snprintf(text, size, "its media byte 0x%02lX names no kind of disk", value);
      break;
    case D88Verdict::kSizeImpossible:
      std::snprintf(text, size, "its disk size %lu is larger than any disk image and the file",
                    value);
      break;
    case D88Verdict::kTableNonsense:
      std::snprintf(text, size, "no entry of its track table points into the image");
      break;
  }
}
