#include "tool/console.h"

#include <cstdarg>

void printMessage(std::FILE* stream, const char* format, ...) {
  char text[1024];
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (length >= 0 && static_cast<std::size_t>(length) < sizeof text) {
    writeMessage(stream, text, static_cast<std::size_t>(length));
  } else if (length >= 0) {
    // Longer than any message of ours but a huge program name: write it
    // unconverted rather than cut it.
    std::vfprintf(stream, format, again);
  }
  va_end(again);
}
