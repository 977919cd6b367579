// On POSIX terminals that expect UTF-8, Shift_JIS texts are converted with
// iconv; anything else (pipes, files, other locales) gets the bytes as they are.
#include <iconv.h>
#include <langinfo.h>
#include <strings.h>
#include <unistd.h>

#include <clocale>
#include <cstring>

#include "platform/console.h"

namespace {

bool utf8Terminal = false;

// The one converter from Shift_JIS to UTF-8 of the process, opened on first
// use; (iconv_t)-1 when the system has none.
iconv_t shiftJisConverter() {
  static iconv_t cd = [] {
    iconv_t opened = iconv_open("UTF-8", "CP932");
    if (opened == reinterpret_cast<iconv_t>(-1)) opened = iconv_open("UTF-8", "SHIFT_JIS");
    return opened;
  }();
  return cd;
}

// Converts Shift_JIS bytes to UTF-8 in out[0..size), NUL-terminated; returns
// the UTF-8 length, or -1 when there is no converter, the bytes are not valid
// Shift_JIS or the result does not fit.
long toUtf8(const char* text, std::size_t length, char* out, std::size_t size) {
  iconv_t cd = shiftJisConverter();
  if (cd == reinterpret_cast<iconv_t>(-1) || size == 0) return -1;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state
  char* in = const_cast<char*>(text);
  std::size_t inLeft = length;
  char* to = out;
  std::size_t outLeft = size - 1;  // room for the NUL
  const bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) &&
                  iconv(cd, nullptr, nullptr, &to, &outLeft) != static_cast<std::size_t>(-1);
  if (!ok) return -1;
  *to = '\0';
  return to - out;
}

bool isAscii(const char* text) {
  for (; *text != '\0'; ++text) {
    if (static_cast<unsigned char>(*text) >= 0x80) return false;
  }
  return true;
}

}  // namespace

void initConsole() {
  if (std::setlocale(LC_CTYPE, "") == nullptr) return;
  const char* codeset = nl_langinfo(CODESET);
  utf8Terminal = codeset != nullptr &&
                 (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0);
}

bool streamShowsUtf8(std::FILE* stream) { return utf8Terminal && isatty(fileno(stream)); }

const char* textForStream(std::FILE* stream, const char* text, char* scratch,
                          std::size_t scratchSize) {
  // ASCII reads the same in both encodings.
  if (isAscii(text) || !streamShowsUtf8(stream)) return text;
  return toUtf8(text, std::strlen(text), scratch, scratchSize) >= 0 ? scratch : text;
}

std::size_t shiftJisCharToUtf8(const char* bytes, std::size_t length, char* out) {
  const long n = toUtf8(bytes, length, out, 5);
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}

void writeText(std::FILE* stream, const char* text, std::size_t length) {
  std::fwrite(text, 1, length, stream);
}
