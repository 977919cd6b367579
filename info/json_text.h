// SPDX-License-Identifier: MIT
// Texts for d88info: JSON strings, disk names, track lists.
#ifndef D88CUT_INFO_JSON_TEXT_H_
#define D88CUT_INFO_JSON_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "disk/d88_format.h"
#include "platform/json_string.h"  // writeJsonString

// Room for a disk name written by escapeDiskName or decodeDiskName: each of
// its 16 bytes takes at most 4 bytes ("\xNN", or 3 of UTF-8 for 1 of SJIS).
inline constexpr std::size_t kNameTextSize = 4 * kDiskNameLength + 1;

// Writes bytes[0..length) as upper-case hexadecimal, two digits a byte,
// with no quotes; the NUL-terminated form stops at the NUL.
void writeHexBytes(std::FILE* stream, const uint8_t* bytes, std::size_t length);
void writeHexBytes(std::FILE* stream, const char* text);

// Writes the disk name's bytes into text (kNameTextSize bytes), with bytes
// below 0x20 and 0x7F as \xNN, NUL-terminated; other bytes stay as they are.
void escapeDiskName(const char* name, char* text);

// Writes bytes[0..length) into text (4 * length + 1 bytes): printable ASCII
// as it is ('"' and '\' too), every other byte (NUL included) as \xNN;
// NUL-terminated. For bytes compared with the signature.
void escapeBytes(const uint8_t* bytes, std::size_t length, char* text);

// Writes the Shift_JIS disk name into text (kNameTextSize bytes) as UTF-8:
// each valid character decoded, control bytes (and a byte that decodes to a
// C1 control) and every byte that is not part of a valid character as \xNN.
// NUL-terminated.
void decodeDiskName(const char* name, char* text);

// Writes "track 3" or "tracks 1-4, 7" for the tracks t whose tracks[t] is
// true into text[0..size), NUL-terminated (cut short if it does not fit).
void formatTrackList(const bool (&tracks)[kTrackCount], char* text, std::size_t size);

// "2D", "2DD", "2HD", "1D", "1DD" for media bytes 0x00..0x40; else "unknown".
const char* mediaKind(int32_t media);

#endif  // D88CUT_INFO_JSON_TEXT_H_
