// Writing the tools' messages. The texts are Shift_JIS byte strings; how they
// reach a terminal is the platform's business (console_posix.cc,
// console_win32.cc). Everything else prints through these two functions.
#ifndef D88CUT_TOOL_CONSOLE_H_
#define D88CUT_TOOL_CONSOLE_H_

#include <cstddef>
#include <cstdio>

#if defined(__GNUC__)
#define D88CUT_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define D88CUT_PRINTF_FORMAT(f, a)
#endif

// Prepares message output for this process (reads the locale where the
// platform converts for terminals). Call once, before any message.
void initConsole();

// Writes text[0..length) to stream: the Shift_JIS bytes as they are, or
// converted for a terminal that expects another encoding. Never fails loudly:
// a text that cannot be converted is written as it is.
void writeMessage(std::FILE* stream, const char* text, std::size_t length);

// Formats like printf and writes the result through writeMessage.
void printMessage(std::FILE* stream, const char* format, ...) D88CUT_PRINTF_FORMAT(2, 3);

#endif  // D88CUT_TOOL_CONSOLE_H_
