// SPDX-License-Identifier: MIT
#include "info/json_text.h"

#include <cstring>

#include "platform/console.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

char* putEscapedByte(char* text, unsigned char byte) {
  *text++ = '\\';
  *text++ = 'x';
  *text++ = kHex[byte >> 4];
  *text++ = kHex[byte & 0xF];
  return text;
}

bool isControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

}  // namespace

void writeHexBytes(std::FILE* stream, const uint8_t* bytes, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i)
    std::fprintf(stream, "%02X", static_cast<unsigned>(bytes[i]));
}

void writeHexBytes(std::FILE* stream, const char* text) {
  writeHexBytes(stream, reinterpret_cast<const uint8_t*>(text), std::strlen(text));
}

void escapeDiskName(const char* name, char* text) {
  for (; *name != '\0'; ++name) {
    const auto byte = static_cast<unsigned char>(*name);
    if (isControl(byte)) {
      text = putEscapedByte(text, byte);
    } else {
      *text++ = static_cast<char>(byte);
    }
  }
  *text = '\0';
}

void escapeBytes(const uint8_t* bytes, std::size_t length, char* text) {
  for (std::size_t i = 0; i < length; ++i) {
    if (bytes[i] >= 0x20 && bytes[i] < 0x7F) {
      *text++ = static_cast<char>(bytes[i]);
    } else {
      text = putEscapedByte(text, bytes[i]);
    }
  }
  *text = '\0';
}

void decodeDiskName(const char* name, char* text) {
  const std::size_t length = std::strlen(name);
  for (std::size_t i = 0; i < length;) {
    const auto byte = static_cast<unsigned char>(name[i]);
    const std::size_t size = static_cast<std::size_t>(shiftJisCharLength(byte));
    char utf8[5];
    if (!isControl(byte) && i + size <= length && shiftJisCharToUtf8(name + i, size, utf8) > 0 &&
        !isUtf8C1Control(reinterpret_cast<const unsigned char*>(utf8))) {
      // One Shift_JIS byte gives at most 3 UTF-8 bytes, two at most 3 too.
      const std::size_t n = std::strlen(utf8);
      std::memcpy(text, utf8, n);
      text += n;
      i += size;
    } else {
      text = putEscapedByte(text, byte);
      i += 1;
    }
  }
  *text = '\0';
}

void formatTrackList(const bool (&tracks)[kTrackCount], char* text, std::size_t size) {
  int32_t listed = 0;
  for (bool t : tracks) listed += t ? 1 : 0;
  std::size_t used =
      static_cast<std::size_t>(std::snprintf(text, size, listed == 1 ? "track" : "tracks"));
  const char* separator = " ";
  for (int32_t t = 0; t < kTrackCount && used < size; ++t) {
    if (!tracks[t]) continue;
    int32_t last = t;
    while (last + 1 < kTrackCount && tracks[last + 1]) ++last;
    const int n = last == t
                      ? std::snprintf(text + used, size - used, "%s%d", separator, t)
                      : std::snprintf(text + used, size - used, "%s%d-%d", separator, t, last);
    used += n > 0 ? static_cast<std::size_t>(n) : 0;
    separator = ", ";
    t = last;
  }
}

const char* mediaKind(int32_t media) {
  switch (media) {
    case 0x00:
      return "2D";
    case 0x10:
      return "2DD";
    case 0x20:
      return "2HD";
    case 0x30:
      return "1D";
    case 0x40:
      return "1DD";
    default:
      return "unknown";
  }
}
