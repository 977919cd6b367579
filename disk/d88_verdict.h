// SPDX-License-Identifier: MIT
// Telling a D88 file from anything else by its first bytes: an empty file, a
// text, or a first image header that no disk image can have.
#ifndef D88CUT_DISK_D88_VERDICT_H_
#define D88CUT_DISK_D88_VERDICT_H_

#include <cstddef>
#include <cstdint>

#include "disk/d88_file.h"
#include "disk/d88_format.h"

// The largest disk size an image can have: its header and 164 tracks of
// 16 KiB, more than any floppy track holds with its record headers.
inline constexpr int64_t kMaxImageSize = kImageHeaderSize + int64_t{kTrackCount} * 16384;

struct D88Verdict {
  enum Kind {
    kD88,             // may be a D88 file (cut short, damaged or whole)
    kEmpty,           // no byte at all
    kText,            // its first bytes are all text
    kTooShort,        // fewer bytes than one image header
    kNoMedia,         // the media byte names no kind of disk
    kSizeImpossible,  // a disk size past the file and past any image's
    kTableNonsense,   // a disk size past its header, but no track-table entry points into it
  };
  Kind kind = kD88;
  int64_t fileSize = 0;
  uint32_t value = 0;  // the media byte or the disk size, where the kind names it
};

// Judges the file of fileSize bytes whose first min(fileSize, 688) bytes are
// head[0..available). A file of which less was read than it holds is judged
// by what was read. Never reads outside head[0..available).
D88Verdict judgeD88File(const uint8_t* head, int32_t available, int64_t fileSize);

// The same for the file open in disk, of fileSize bytes (-1 when not known):
// reads its first header's bytes. A read that fails (disk.readError) judges
// nothing: kD88.
D88Verdict judgeD88File(D88File& disk, int64_t fileSize);

// Writes why the file is no D88 file, in English, into text[0..size),
// NUL-terminated ("it is text, not a disk image"); "" for kD88.
void describeNotD88(const D88Verdict& verdict, char* text, std::size_t size);

// Room for describeNotD88's text.
inline constexpr std::size_t kNotD88TextSize = 120;

#endif  // D88CUT_DISK_D88_VERDICT_H_
