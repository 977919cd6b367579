// Writing the tools' messages. The texts are Shift_JIS byte strings; how they
// reach a terminal is the platform's business (platform/console.h).
// Everything the tools print goes through these functions.
#ifndef D88CUT_TOOL_CONSOLE_H_
#define D88CUT_TOOL_CONSOLE_H_

#include <cstdio>

#include "platform/console.h"

#if defined(__GNUC__)
#define D88CUT_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define D88CUT_PRINTF_FORMAT(f, a)
#endif

// Writes the NUL-terminated Shift_JIS text to stream, through textForStream.
void writeMessage(std::FILE* stream, const char* text);

// printf with a Shift_JIS format: the format goes through textForStream, the
// arguments (names, paths, numbers) are written as they are, in the encoding
// they are held in (the terminal's on POSIX, UTF-8 on Windows).
void printMessage(std::FILE* stream, const char* format, ...) D88CUT_PRINTF_FORMAT(2, 3);

// Flushes stream. Returns 0 when everything written to it went out, else the
// reason it did not (an errno value; EIO when the system gave none).
int finishStream(std::FILE* stream);

#endif  // D88CUT_TOOL_CONSOLE_H_
