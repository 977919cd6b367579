// SPDX-License-Identifier: MIT
// On POSIX terminals that expect UTF-8, Shift_JIS texts are converted with
// iconv; anything else (pipes, files, other locales) gets the bytes as they are.
#include <iconv.h>
#include <langinfo.h>
#include <pthread.h>
#include <strings.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

#include "platform/console.h"
#include "platform/console_platform.h"

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Whether the locale says a terminal expects UTF-8; read when a terminal is
// first written to, so that a run without one never reads it.
bool utf8Terminal = false;
bool localeRead = false;
// Set by initConsole: before it, every stream gets the bytes as they are.
bool consoleReady = false;

// The one converter from Shift_JIS to UTF-8 of the process, opened on first
// use (a plain global: the programs run one thread).
iconv_t converter = kNoConverter;
bool converterTried = false;
pthread_mutex_t converterLock = PTHREAD_MUTEX_INITIALIZER;
// The converter back, for names shown on a Shift_JIS stream.
iconv_t toShiftJis = kNoConverter;
bool toShiftJisTried = false;

// Opens a converter between Shift_JIS and `other`, in the direction given:
// code page 932 where the C library has it, plain Shift_JIS where not.
iconv_t openShiftJis(const char* other, bool toShiftJis) {
  iconv_t opened = toShiftJis ? iconv_open("CP932", other) : iconv_open(other, "CP932");
  if (opened != kNoConverter) return opened;
  return toShiftJis ? iconv_open("SHIFT_JIS", other) : iconv_open(other, "SHIFT_JIS");
}

iconv_t shiftJisConverter() {
  if (!converterTried) {
    converterTried = true;
    converter = openShiftJis("UTF-8", false);
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

// Whether `name` contains "UTF-8" or "UTF8", in any case.
bool namesUtf8(const char* name) {
  for (; *name != '\0'; ++name) {
    if (strncasecmp(name, "UTF-8", 5) == 0 || strncasecmp(name, "UTF8", 4) == 0) return true;
  }
  return false;
}

// The locale's name as the C library chooses it: the first of LC_ALL,
// LC_CTYPE and LANG that is set and not empty; null when none is.
const char* localeName() {
  static const char* const kVariables[] = {"LC_ALL", "LC_CTYPE", "LANG"};
  for (const char* variable : kVariables) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

void readLocale() {
  localeRead = true;
  utf8Terminal = false;
  if (std::setlocale(LC_CTYPE, "") == nullptr) {
    // A locale that is named but not installed on this machine: the C
    // library falls back to ASCII, but the terminal still shows what the
    // name says.
    const char* name = localeName();
    utf8Terminal = name != nullptr && namesUtf8(name);
    return;
  }
  const char* codeset = nl_langinfo(CODESET);
  utf8Terminal =
      codeset != nullptr && (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0);
}

}  // namespace

void initConsole() {
  localeRead = false;
  consoleReady = true;
  std::setvbuf(stderr, nullptr, _IONBF, 0);
}

namespace {

bool everyStreamUtf8 = false;

}  // namespace

void showUtf8OnEveryStream() { everyStreamUtf8 = true; }

bool streamShowsUtf8(std::FILE* stream) {
  if (everyStreamUtf8) return true;
  if (!consoleReady || !isTerminal(fileno(stream))) return false;
  if (!localeRead) readLocale();
  return utf8Terminal;
}

long shiftJisToUtf8(const char* text, std::size_t length, char* out, std::size_t size) {
  if (size == 0) return -1;
  // Archive names are converted on a walk's threads too: one at a time.
  pthread_mutex_lock(&converterLock);
  iconv_t cd = shiftJisConverter();
  char* in = const_cast<char*>(text);
  std::size_t inLeft = length;
  char* to = out;
  std::size_t outLeft = size - 1;                                         // room for the NUL
  if (cd != kNoConverter) iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state
  const bool ok = cd != kNoConverter &&
                  iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) &&
                  iconv(cd, nullptr, nullptr, &to, &outLeft) != static_cast<std::size_t>(-1);
  pthread_mutex_unlock(&converterLock);
  if (!ok) return -1;
  *to = '\0';
  return to - out;
}

std::size_t utf8CharToShiftJis(const char* text, std::size_t length, char* out) {
  if (!toShiftJisTried) {
    toShiftJisTried = true;
    toShiftJis = openShiftJis("UTF-8", true);
  }
  if (toShiftJis == kNoConverter) return 0;
  iconv(toShiftJis, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state
  char* in = const_cast<char*>(text);
  std::size_t inLeft = length;
  char* to = out;
  std::size_t outLeft = 2;
  if (iconv(toShiftJis, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) return 0;
  return static_cast<std::size_t>(to - out);
}

void writeText(std::FILE* stream, const char* text, std::size_t length) {
  std::fwrite(text, 1, length, stream);
}

int consoleWriteError(std::FILE*) { return 0; }  // a terminal's errors are the stream's

void waitOnOwnConsole(const char*) {}  // a terminal outlives the program

bool onOwnConsole() { return false; }

std::FILE* openNullStream() { return std::fopen("/dev/null", "w"); }

namespace {

// Characters no POSIX shell reads as anything but part of a word; bytes of
// other scripts (0x80 on) too.
bool isShellPlain(unsigned char c) {
  return c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         std::strchr("_./:@%+=,-", c) != nullptr;
}

}  // namespace

bool quoteForShell(const char* word, char* out, std::size_t size) {
  bool plain = *word != '\0';
  for (const char* c = word; *c != '\0'; ++c)
    plain = plain && isShellPlain(static_cast<unsigned char>(*c));
  std::size_t used = 0;
  const auto put = [&](const char* text) {
    const std::size_t n = std::strlen(text);
    if (used + n >= size) return false;
    std::memcpy(out + used, text, n + 1);
    used += n;
    return true;
  };
  if (plain) return put(word);
  if (!put("'")) return false;
  for (const char* c = word; *c != '\0'; ++c) {
    const char one[] = {*c, '\0'};
    if (!put(*c == '\'' ? "'\\''" : one)) return false;
  }
  return put("'");
}
