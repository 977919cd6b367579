// SPDX-License-Identifier: MIT
// Writing the programs' messages. The texts are Shift_JIS byte strings; how
// they reach a terminal or a console is decided here: console_posix.cc
// converts for UTF-8 terminals, console_win32.cc writes to a Windows console
// in UTF-16, and pipes and files get the bytes as they are. console.cc holds
// the part both share, console_platform.h what only the halves share.
// Everything the programs print goes through these.
#ifndef D88CUT_PLATFORM_CONSOLE_H_
#define D88CUT_PLATFORM_CONSOLE_H_

#include <cstddef>
#include <cstdio>

#if defined(__GNUC__)
#define D88CUT_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define D88CUT_PRINTF_FORMAT(f, a)
#endif

// Prepares message output for this process (reads the locale where the
// platform converts; standard error unbuffered, as C has it, on every
// system, so that a warning written in pieces never waits behind later
// progress lines). Call once, before any message: until then no stream is
// taken to show UTF-8.
void initConsole();

// Writes the NUL-terminated Shift_JIS text to stream, through textForStream.
void writeMessage(std::FILE* stream, const char* text);

// printf with a Shift_JIS format: the format goes through textForStream, the
// arguments (names, paths, numbers) are written as they are, in the encoding
// they are held in (the terminal's on POSIX, UTF-8 on Windows).
void printMessage(std::FILE* stream, const char* format, ...) D88CUT_PRINTF_FORMAT(2, 3);

// Writes a report on err that follows what was written to out: out is
// flushed first and err after, so that a log holding both streams keeps
// their order whatever buffering either has.
void printReport(std::FILE* out, std::FILE* err, const char* format, ...)
    D88CUT_PRINTF_FORMAT(3, 4);
void writeReport(std::FILE* out, std::FILE* err, const char* text);

// The length of the valid UTF-8 sequence at s (1 to 4), or 0 when s does
// not start one: a stray continuation byte, an overlong form, a surrogate, a
// code point past U+10FFFF, or a sequence cut short (by the NUL, too).
// REQUIRES: s is NUL-terminated.
int utf8SequenceLength(const unsigned char* s);

// True when s starts with the UTF-8 form of a C1 control (U+0080..U+009F,
// the bytes C2 80..C2 9F), which a UTF-8 terminal obeys as ESC sequences
// (U+009B is CSI). REQUIRES: s is NUL-terminated.
inline bool isUtf8C1Control(const unsigned char* s) {
  return s[0] == 0xC2 && s[1] >= 0x80 && s[1] <= 0x9F;
}

// True when the NUL-terminated text is valid UTF-8 throughout.
bool isValidUtf8(const char* text);

// A path or command-line word as the messages show it on `stream`, in that
// stream's encoding: where the stream takes Shift_JIS (a pipe, a file, a
// terminal of another locale) a name that is valid UTF-8 is converted, a
// character Shift_JIS cannot hold shown as \u{XXXX}; a name that is not
// UTF-8 keeps its bytes. Each control character (0x00-0x1F and 0x7F) is
// shown as \xNN, and each C1 control in UTF-8 (U+0080..U+009F) as \u{00XX}
// where the name is UTF-8 or the stream shows UTF-8, so that no name can
// send the terminal a control sequence.
// A name whose shown form does not fit is cut. Use it within one full
// expression: printMessage(err, format, Shown(path, err).text()).
class Shown {
 public:
  Shown(const char* text, std::FILE* stream);
  const char* text() const { return shown; }

 private:
  void put(const char* bytes, std::size_t length);
  char shown[4 * 4096 + 1];  // a 4096-byte path, every byte escaped
  std::size_t used = 0;
  bool full = false;
};

// Writes `word` into out[0..size) as the system's usual shell takes it as one
// word: as it is when it holds nothing the shell would read, else quoted (on
// POSIX in single quotes, a quote within as '\''; on Windows in double
// quotes, as cmd and PowerShell take them). False when it does not fit.
// Platform-specific.
bool quoteForShell(const char* word, char* out, std::size_t size);

// Flushes stream. Returns 0 when everything written to it went out, else the
// reason it did not (an errno value; EIO when the system gave none).
int finishStream(std::FILE* stream);

// For a host that reads every stream as UTF-8 (the web page, which shows
// what the programs write): from now on every stream is taken to show UTF-8,
// so texts are converted and names pass as they are, escaped where needed.
// Platform-specific.
void showUtf8OnEveryStream();

// True when text written to stream is shown as UTF-8: on POSIX a terminal
// whose locale uses UTF-8, on Windows a console (written in UTF-16); every
// stream after showUtf8OnEveryStream.
bool streamShowsUtf8(std::FILE* stream);

// Returns the NUL-terminated Shift_JIS `text` as it should go to `stream`:
// `text` itself, or its UTF-8 form placed in scratch[0..scratchSize) when
// streamShowsUtf8(stream). A text that cannot be converted, or whose UTF-8
// form does not fit, is returned as it is.
const char* textForStream(std::FILE* stream, const char* text, char* scratch,
                          std::size_t scratchSize);

// Bytes of the Shift_JIS character that starts with `lead`: 2 for a lead
// byte of a double-byte character, else 1.
inline int shiftJisCharLength(unsigned char lead) {
  return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
}

// Converts the one Shift_JIS (code page 932) character in bytes[0..length)
// to UTF-8 in out, which holds at least 5 bytes; NUL-terminates it. Returns
// the UTF-8 length, or 0 when the bytes are not one valid character or no
// converter exists.
std::size_t shiftJisCharToUtf8(const char* bytes, std::size_t length, char* out);

// On Windows, when the program is the only process on its console (Explorer
// started it, for files dropped on it) and standard input and output are that
// console, writes `prompt` and waits for Enter, so that the window's messages
// can be read before it closes. Does nothing in a shared console, with a pipe
// or a redirect, and on POSIX. Platform-specific.
void waitOnOwnConsole(const char* prompt);

// True on Windows when the program is the only process on its console and
// standard input and output are that console (when waitOnOwnConsole waits);
// false elsewhere. Platform-specific.
bool onOwnConsole();

// A stream that takes what is written and keeps nothing (the null device);
// null when it cannot be opened. Platform-specific.
std::FILE* openNullStream();

// Writes text[0..length) to stream: on a Windows console, as UTF-8 text in
// UTF-16 (the stream is flushed first, so the order holds); elsewhere the
// bytes as they are. Platform-specific.
void writeText(std::FILE* stream, const char* text, std::size_t length);

#endif  // D88CUT_PLATFORM_CONSOLE_H_
