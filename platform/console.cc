// SPDX-License-Identifier: MIT
// The portable half of message output: formatting, choosing the text for a
// stream, flushing. The platform files convert and write.
#include "platform/console.h"

#include <cerrno>
#include <cstdarg>
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
}

void writeReport(std::FILE* out, std::FILE* err, const char* text) {
  std::fflush(out);
  writeMessage(err, text);
}

Shown::Shown(const char* text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::size_t at = 0;
  for (; *text != '\0'; ++text) {
    const unsigned char byte = static_cast<unsigned char>(*text);
    const bool control = byte < 0x20 || byte == 0x7F;
    if (at + (control ? 4 : 1) >= sizeof shown) break;
    if (control) {
      shown[at++] = '\\';
      shown[at++] = 'x';
      shown[at++] = kHex[byte >> 4];
      shown[at++] = kHex[byte & 0xF];
    } else {
      shown[at++] = *text;
    }
  }
  shown[at] = '\0';
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
