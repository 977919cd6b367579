// On Windows the console's code page shows the Shift_JIS bytes as they are;
// nothing is converted.
#include <windows.h>

#include "tool/console.h"

void initConsole() {}

bool streamShowsUtf8(std::FILE*) { return false; }

const char* textForStream(std::FILE*, const char* text, char*, std::size_t) { return text; }

std::size_t shiftJisCharToUtf8(const char* bytes, std::size_t length, char* out) {
  wchar_t wide[2];
  const int units = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length),
                                        wide, 2);
  if (units <= 0) return 0;
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, units, out, 4, nullptr, nullptr);
  if (n <= 0) return 0;
  out[n] = '\0';
  return static_cast<std::size_t>(n);
}
