// SPDX-License-Identifier: MIT
#include "platform/json_string.h"

#include "platform/console.h"

void writeJsonString(std::FILE* stream, const char* text) {
  std::fputc('"', stream);
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  while (*s != '\0') {
    const int length = utf8SequenceLength(s);
    if (length == 0) {
      std::fprintf(stream, "\\\\x%02X", *s++);
    } else if (*s == '"' || *s == '\\') {
      std::fputc('\\', stream);
      std::fputc(*s++, stream);
    } else if (*s < 0x20 || *s == 0x7F) {
      std::fprintf(stream, "\\u%04X", *s++);
    } else if (isUtf8C1Control(s)) {
      std::fprintf(stream, "\\u%04X", s[1]);
      s += 2;
    } else if (length == 1) {
      std::fputc(*s++, stream);
    } else {
      writeText(stream, reinterpret_cast<const char*>(s), static_cast<std::size_t>(length));
      s += length;
    }
  }
  std::fputc('"', stream);
}
