#include "tool/console.h"

#include <cerrno>
#include <cstdarg>

namespace {
// Room for the longest message converted (UTF-8 needs at most 1.5 times the
// Shift_JIS bytes).
constexpr std::size_t kScratchSize = 1024;
}  // namespace

void writeMessage(std::FILE* stream, const char* text) {
  char scratch[kScratchSize];
  std::fputs(textForStream(stream, text, scratch, sizeof scratch), stream);
}

void printMessage(std::FILE* stream, const char* format, ...) {
  char scratch[kScratchSize];
  std::va_list args;
  va_start(args, format);
  std::vfprintf(stream, textForStream(stream, format, scratch, sizeof scratch), args);
  va_end(args);
}

int finishStream(std::FILE* stream) {
  errno = 0;
  if (std::fflush(stream) == 0 && !std::ferror(stream)) return 0;
  return errno != 0 ? errno : EIO;
}
