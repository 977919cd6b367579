// SPDX-License-Identifier: MIT
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

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Whether the locale says a terminal expects UTF-8; read when a terminal is
// first written to, so that a run without one never reads it.
bool utf8Terminal = false;
bool localeRead = false;

// The one converter from Shift_JIS to UTF-8 of the process, opened on first
// use (a plain global: the programs run one thread).
iconv_t converter = kNoConverter;
bool converterTried = false;

iconv_t shiftJisConverter() {
  if (!converterTried) {
    converterTried = true;
    converter = iconv_open("UTF-8", "CP932");
    if (converter == kNoConverter) converter = iconv_open("UTF-8", "SHIFT_JIS");
  }
  return converter;
}

// Whether standard input, output and error are terminals, asked once each:
// 0 no, 1 yes, -1 not asked yet. Other descriptors are asked every time.
signed char standardIsTerminal[3] = {-1, -1, -1};

bool isTerminal(int fd) {
  if (fd < 0 || fd > 2) return isatty(fd) != 0;
  if (standardIsTerminal[fd] < 0) standardIsTerminal[fd] = isatty(fd) != 0 ? 1 : 0;
  return standardIsTerminal[fd] == 1;
}

void readLocale() {
  localeRead = true;
  utf8Terminal = false;
  if (std::setlocale(LC_CTYPE, "") == nullptr) return;
  const char* codeset = nl_langinfo(CODESET);
  utf8Terminal = codeset != nullptr &&
                 (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0);
}

}  // namespace

void initConsole() { localeRead = false; }

bool streamShowsUtf8(std::FILE* stream) {
  if (!isTerminal(fileno(stream))) return false;
  if (!localeRead) readLocale();
  return utf8Terminal;
}

long shiftJisToUtf8(const char* text, std::size_t length, char* out, std::size_t size) {
  iconv_t cd = shiftJisConverter();
  if (cd == kNoConverter || size == 0) return -1;
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

void writeText(std::FILE* stream, const char* text, std::size_t length) {
  std::fwrite(text, 1, length, stream);
}

int consoleWriteError(std::FILE*) { return 0; }  // a terminal's errors are the stream's

void waitOnOwnConsole(const char*) {}  // a terminal outlives the program
