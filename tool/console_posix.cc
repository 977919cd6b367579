// On POSIX terminals that expect UTF-8, Shift_JIS texts are converted with
// iconv; anything else (pipes, files, other locales) gets the bytes as they are.
#include <iconv.h>
#include <langinfo.h>
#include <strings.h>
#include <unistd.h>

#include <clocale>
#include <cstring>

#include "tool/console.h"

namespace {

bool utf8Terminal = false;

// Converts NUL-terminated Shift_JIS `text` to UTF-8 in out[0..size); false
// when no converter exists, the text is not valid Shift_JIS or does not fit.
bool toUtf8(const char* text, char* out, std::size_t size) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-8", "SHIFT_JIS");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char* in = const_cast<char*>(text);
  std::size_t inLeft = std::strlen(text);
  char* to = out;
  std::size_t outLeft = size - 1;  // room for the NUL
  const bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) &&
                  iconv(cd, nullptr, nullptr, &to, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok) return false;
  *to = '\0';
  return true;
}

}  // namespace

void initConsole() {
  if (std::setlocale(LC_CTYPE, "") == nullptr) return;
  const char* codeset = nl_langinfo(CODESET);
  utf8Terminal = codeset != nullptr &&
                 (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0);
}

const char* textForStream(std::FILE* stream, const char* text, char* scratch,
                          std::size_t scratchSize) {
  if (!utf8Terminal || scratchSize == 0 || !isatty(fileno(stream))) return text;
  return toUtf8(text, scratch, scratchSize) ? scratch : text;
}
