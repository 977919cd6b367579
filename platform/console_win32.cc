// SPDX-License-Identifier: MIT
// On a Windows console, messages are written in UTF-16 with WriteConsoleW:
// the Shift_JIS texts converted from code page 932, the arguments from UTF-8
// (the programs' manifest makes UTF-8 their code page). The console's own
// code page is never changed. Pipes and files get the bytes as they are.
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "platform/console.h"
#include "platform/console_platform.h"

// The C runtime expands arguments holding * or ? into the names they match,
// sorted, as Windows programs do (the shells leave that to each program);
// an argument that matches nothing is passed as it is.
extern "C" {
int _dowildcard = -1;
}

namespace {

// The console behind stream, or nullptr when the stream is no console.
HANDLE consoleOf(std::FILE* stream) {
  const intptr_t os = _get_osfhandle(_fileno(stream));
  if (os == -1) return nullptr;
  HANDLE handle = reinterpret_cast<HANDLE>(os);
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// Converts bytes in code page `from` to UTF-8 in out[0..size), NUL-terminated;
// returns the UTF-8 length, or -1 when they are not valid or do not fit.
int toUtf8(UINT from, const char* text, int length, char* out, int size) {
  wchar_t wide[1024];
  const int units = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text, length, wide, 1024);
  if (units <= 0 && length > 0) return -1;
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, units, out, size - 1, nullptr, nullptr);
  if (n <= 0 && units > 0) return -1;
  out[n] = '\0';
  return n;
}

// Streams whose console could not be written: finishStream reports them.
std::FILE* failedConsoles[4] = {};
int failedCount = 0;

void noteFailedConsole(std::FILE* stream) {
  for (int i = 0; i < failedCount; ++i) {
    if (failedConsoles[i] == stream) return;
  }
  if (failedCount < 4) failedConsoles[failedCount++] = stream;
}

}  // namespace

void initConsole() { std::setvbuf(stderr, nullptr, _IONBF, 0); }

namespace {

bool everyStreamUtf8 = false;

}  // namespace

void showUtf8OnEveryStream() { everyStreamUtf8 = true; }

bool streamShowsUtf8(std::FILE* stream) { return everyStreamUtf8 || consoleOf(stream) != nullptr; }

long shiftJisToUtf8(const char* text, std::size_t length, char* out, std::size_t size) {
  if (size < 2 || length > 1024 || size > 0x10000) return -1;
  return toUtf8(932, text, static_cast<int>(length), out, static_cast<int>(size));
}

std::size_t utf8CharToShiftJis(const char* text, std::size_t length, char* out) {
  wchar_t wide[2];
  const int units =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, static_cast<int>(length), wide, 2);
  if (units <= 0) return 0;
  BOOL lost = FALSE;
  const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, units, out, 2, nullptr, &lost);
  return n > 0 && !lost ? static_cast<std::size_t>(n) : 0;
}

void writeText(std::FILE* stream, const char* text, std::size_t length) {
  HANDLE console = consoleOf(stream);
  if (console == nullptr) {
    std::fwrite(text, 1, length, stream);
    return;
  }
  std::fflush(stream);
  // In pieces that fit the wide buffer, cut between UTF-8 sequences; each
  // piece is at least one byte, so the loop always ends.
  while (length > 0) {
    const std::size_t piece = utf8PieceLength(text, length, 1024);
    wchar_t wide[1024];
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(piece), wide, 1024);
    DWORD written = 0;
    if (units > 0 && (!WriteConsoleW(console, wide, static_cast<DWORD>(units), &written, nullptr) ||
                      written < static_cast<DWORD>(units))) {
      noteFailedConsole(stream);
    }
    text += piece;
    length -= piece;
  }
}

int consoleWriteError(std::FILE* stream) {
  for (int i = 0; i < failedCount; ++i) {
    if (failedConsoles[i] == stream) return EIO;
  }
  return 0;
}

bool onOwnConsole() {
  // Explorer gives a program started from it a console of its own, closed
  // the moment the program ends; a shell, a pipe or a redirect does not.
  DWORD processes[2];
  if (GetConsoleProcessList(processes, 2) != 1) return false;
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) && consoleOf(stdout) != nullptr;
}

void waitOnOwnConsole(const char* prompt) {
  if (!onOwnConsole()) return;
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  writeMessage(stdout, prompt);
  std::fflush(stdout);
  wchar_t line[256];
  DWORD read = 0;
  // Line input: returns once Enter is pressed (or the console goes).
  ReadConsoleW(in, line, 256, &read, nullptr);
}

bool quoteForShell(const char* word, char* out, std::size_t size) {
  // Characters cmd or PowerShell read as more than a word's part.
  const bool plain = *word != '\0' && std::strpbrk(word, " \t&()[]{}^=;!'+,`~$@#%<>|") == nullptr;
  const int n = std::snprintf(out, size, plain ? "%s" : "\"%s\"", word);
  return n >= 0 && static_cast<std::size_t>(n) < size;
}

std::FILE* openNullStream() { return std::fopen("NUL", "w"); }
