// The platform's side of writing messages: how the tools' Shift_JIS texts and
// the UTF-8 or locale-encoded arguments reach a terminal or a console.
// console_posix.cc converts for UTF-8 terminals; console_win32.cc writes to
// a Windows console in UTF-16. Pipes and files get the bytes as they are.
#ifndef D88CUT_PLATFORM_CONSOLE_H_
#define D88CUT_PLATFORM_CONSOLE_H_

#include <cstddef>
#include <cstdio>

// Prepares message output for this process (reads the locale where the
// platform converts). Call once, before any message.
void initConsole();

// True when text written to stream is shown as UTF-8: on POSIX a terminal
// whose locale uses UTF-8, on Windows a console (written in UTF-16).
bool streamShowsUtf8(std::FILE* stream);

// Returns the NUL-terminated Shift_JIS `text` as it should go to `stream`:
// `text` itself, or its UTF-8 form placed in scratch[0..scratchSize) when
// streamShowsUtf8(stream). A text that cannot be converted, or whose UTF-8
// form does not fit, is returned as it is.
const char* textForStream(std::FILE* stream, const char* text, char* scratch,
                          std::size_t scratchSize);

// Converts the one Shift_JIS (code page 932) character in bytes[0..length)
// to UTF-8 in out, which holds at least 5 bytes; NUL-terminates it. Returns
// the UTF-8 length, or 0 when the bytes are not one valid character or no
// converter exists.
std::size_t shiftJisCharToUtf8(const char* bytes, std::size_t length, char* out);

// Writes text[0..length) to stream: on a Windows console, as UTF-8 text in
// UTF-16 (the stream is flushed first, so the order holds); elsewhere the
// bytes as they are.
void writeText(std::FILE* stream, const char* text, std::size_t length);

#endif  // D88CUT_PLATFORM_CONSOLE_H_
