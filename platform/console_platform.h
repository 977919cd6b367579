// SPDX-License-Identifier: MIT
// For the message-writing halves only (console.cc and its POSIX and Windows
// halves): converting and cutting text, and a console's own write errors.
// The programs use console.h.
#ifndef D88CUT_PLATFORM_CONSOLE_PLATFORM_H_
#define D88CUT_PLATFORM_CONSOLE_PLATFORM_H_

#include <cstddef>
#include <cstdio>

// Converts Shift_JIS text[0..length) to UTF-8 in out[0..size), NUL-terminated.
// Returns the UTF-8 length, or -1 when no converter exists, the bytes are not
// valid Shift_JIS or the result does not fit. Platform-specific.
long shiftJisToUtf8(const char* text, std::size_t length, char* out, std::size_t size);

// The length of the first piece of text[0..length), at most `most` bytes,
// that ends between UTF-8 sequences: it backs off over at most three
// continuation bytes (the most a sequence has), so that it is never 0 for a
// non-empty text, whatever the bytes. REQUIRES: most >= 4.
std::size_t utf8PieceLength(const char* text, std::size_t length, std::size_t most);

// The reason a write to stream's console failed (an errno value), or 0. On
// POSIX always 0: a terminal's errors are the stream's own. Platform-specific.
int consoleWriteError(std::FILE* stream);

// Converts the one UTF-8 character in text[0..length) to Shift_JIS (code
// page 932) in out, which holds at least 2 bytes. Returns the bytes written
// (1 or 2), or 0 when Shift_JIS has no such character or no converter
// exists. Platform-specific.
std::size_t utf8CharToShiftJis(const char* text, std::size_t length, char* out);

#endif  // D88CUT_PLATFORM_CONSOLE_PLATFORM_H_
