// Writing the tools' messages. The texts are Shift_JIS byte strings; how they
// reach a terminal is the platform's business (console_posix.cc,
// console_win32.cc). Everything the tools print goes through this header.
#ifndef D88CUT_TOOL_CONSOLE_H_
#define D88CUT_TOOL_CONSOLE_H_

#include <cstddef>
#include <cstdio>

#if defined(__GNUC__)
#define D88CUT_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define D88CUT_PRINTF_FORMAT(f, a)
#endif

// Prepares message output for this process: reads the locale where the
// platform converts for terminals. Call once, before any message.
void initConsole();

// Returns the NUL-terminated Shift_JIS `text` as it should go to `stream`:
// `text` itself, or its conversion placed in scratch[0..scratchSize) when
// the stream is a terminal that expects another encoding. Any text that
// cannot be converted (or does not fit) is returned as it is.
const char* textForStream(std::FILE* stream, const char* text, char* scratch,
                          std::size_t scratchSize);

// True when text written to stream is shown as UTF-8: a terminal whose
// locale uses UTF-8 (POSIX). Never on Windows, whose console shows the bytes.
bool streamShowsUtf8(std::FILE* stream);

// Converts the one Shift_JIS (code page 932) character in bytes[0..length)
// to UTF-8 in out, which holds at least 5 bytes; NUL-terminates it. Returns
// the UTF-8 length, or 0 when the bytes are not one valid character or no
// converter exists.
std::size_t shiftJisCharToUtf8(const char* bytes, std::size_t length, char* out);

// Writes the NUL-terminated Shift_JIS text to stream, through textForStream.
void writeMessage(std::FILE* stream, const char* text);

// printf with a Shift_JIS format: the format goes through textForStream, the
// arguments (names, paths, numbers) are written as they are.
void printMessage(std::FILE* stream, const char* format, ...) D88CUT_PRINTF_FORMAT(2, 3);

// Flushes stream. Returns 0 when everything written to it went out, else the
// reason it did not (an errno value; EIO when the system gave none).
int finishStream(std::FILE* stream);

#endif  // D88CUT_TOOL_CONSOLE_H_
