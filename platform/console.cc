// SPDX-License-Identifier: MIT
// The portable half of message output: formatting, choosing the text for a
// stream, flushing. The platform files convert and write.
#include "platform/console.h"

#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstring>

#include "platform/console_platform.h"

namespace {
// Room for the longest message converted (UTF-8 needs at most 1.5 times the
// Shift_JIS bytes).
constexpr std::size_t kScratchSize = 1024;
// Room for a message with its arguments; a longer one is written unformatted
// by vfprintf, its bytes as they are.
constexpr std::size_t kLineSize = 8192;

bool isAscii(const char* text) {
  for (; *text != '\0'; ++text) {
    if (static_cast<unsigned char>(*text) >= 0x80) return false;
  }
  return true;
}

}  // namespace

const char* textForStream(std::FILE* stream, const char* text, char* scratch,
                          std::size_t scratchSize) {
  // ASCII reads the same in both encodings.
  if (isAscii(text) || scratchSize < 2 || !streamShowsUtf8(stream)) return text;
  return shiftJisToUtf8(text, std::strlen(text), scratch, scratchSize) >= 0 ? scratch : text;
}

std::size_t shiftJisCharToUtf8(const char* bytes, std::size_t length, char* out) {
  const long n = shiftJisToUtf8(bytes, length, out, 5);
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}

void writeMessage(std::FILE* stream, const char* text) {
  char scratch[kScratchSize];
  const char* shown = textForStream(stream, text, scratch, sizeof scratch);
  writeText(stream, shown, std::strlen(shown));
}

namespace {

void printMessageList(std::FILE* stream, const char* format, std::va_list args) {
  char scratch[kScratchSize];
  const char* shown = textForStream(stream, format, scratch, sizeof scratch);
  char line[kLineSize];
  std::va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(line, sizeof line, shown, args);
  if (n >= 0 && static_cast<std::size_t>(n) < sizeof line) {
    writeText(stream, line, static_cast<std::size_t>(n));
  } else {
    std::vfprintf(stream, shown, again);
  }
  va_end(again);
}

}  // namespace

void printMessage(std::FILE* stream, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  printMessageList(stream, format, args);
  va_end(args);
}

void printReport(std::FILE* out, std::FILE* err, const char* format, ...) {
  std::fflush(out);
  std::va_list args;
  va_start(args, format);
  printMessageList(err, format, args);
  va_end(args);
  std::fflush(err);
}

void writeReport(std::FILE* out, std::FILE* err, const char* text) {
  std::fflush(out);
  writeMessage(err, text);
  std::fflush(err);
}

namespace {

// The code point of the UTF-8 sequence of `length` bytes at text.
unsigned long codePoint(const unsigned char* text, std::size_t length) {
  static const unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  unsigned long point = text[0] & kLeadBits[length];
  for (std::size_t i = 1; i < length; ++i) point = point << 6 | (text[i] & 0x3F);
  return point;
}

}  // namespace

int utf8SequenceLength(const unsigned char* s) {
  if (s[0] < 0x80) return 1;
  int length = 0;
  if (s[0] >= 0xC2 && s[0] <= 0xDF) {
    length = 2;
  } else if (s[0] >= 0xE0 && s[0] <= 0xEF) {
    length = 3;
  } else if (s[0] >= 0xF0 && s[0] <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  uint32_t code = s[0] & (0x7Fu >> length);  // the lead byte's value bits
  for (int i = 1; i < length; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;  // also stops at the NUL
    code = code << 6 | (s[i] & 0x3Fu);
  }
  const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

bool isValidUtf8(const char* text) {
  for (auto* at = reinterpret_cast<const unsigned char*>(text); *at != 0;) {
    const int length = utf8SequenceLength(at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

void Shown::put(const char* bytes, std::size_t length) {
  if (full || used + length >= sizeof shown) {
    full = true;
    return;
  }
  std::memcpy(shown + used, bytes, length);
  used += length;
}

Shown::Shown(const char* text, std::FILE* stream) {
  static const char kHex[] = "0123456789ABCDEF";
  const bool ascii = isAscii(text);
  const bool utf8 = !ascii && isValidUtf8(text);
  const bool toShiftJis = utf8 && !streamShowsUtf8(stream);
  // C1 controls matter where the name or the terminal reads as UTF-8.
  const bool c1 = !ascii && (utf8 || streamShowsUtf8(stream));
  for (auto* at = reinterpret_cast<const unsigned char*>(text); *at != 0;) {
    std::size_t length = toShiftJis ? static_cast<std::size_t>(utf8SequenceLength(at)) : 1;
    const char* bytes = reinterpret_cast<const char*>(at);
    char piece[16];
    if (c1 && isUtf8C1Control(at)) {
      length = 2;
      put(piece, static_cast<std::size_t>(std::snprintf(piece, sizeof piece, "\\u{%04X}", at[1])));
    } else if (*at < 0x20 || *at == 0x7F) {
      const char escape[] = {'\\', 'x', kHex[*at >> 4], kHex[*at & 0xF]};
      put(escape, sizeof escape);
    } else if (length > 1) {
      std::size_t n = utf8CharToShiftJis(bytes, length, piece);
      if (n == 0) {
        n = static_cast<std::size_t>(
            std::snprintf(piece, sizeof piece, "\\u{%04lX}", codePoint(at, length)));
      }
      put(piece, n);
    } else {
      put(bytes, 1);
    }
    at += length;
  }
  shown[used] = '\0';
}

int finishStream(std::FILE* stream) {
  errno = 0;
  if (std::fflush(stream) == 0 && !std::ferror(stream)) return consoleWriteError(stream);
  return errno != 0 ? errno : EIO;
}

std::size_t utf8PieceLength(const char* text, std::size_t length, std::size_t most) {
  if (length <= most) return length;
  std::size_t piece = most;
  auto continues = [text](std::size_t at) {
    return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
  };
  // text[most] exists: length > most. Back off while it continues a sequence.
  while (piece > most - 3 && continues(piece)) --piece;
  return continues(piece) ? most : piece;
}
