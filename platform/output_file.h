// Replacing an output file whole. Platform-specific: output_file_posix.cc,
// output_file_win32.cc.
#ifndef D88CUT_TOOL_OUTPUT_FILE_H_
#define D88CUT_TOOL_OUTPUT_FILE_H_

#include <cstddef>
#include <cstdint>

// Writes data[0..length) to a new temporary file beside `path` and, once it
// is written and closed whole, moves it over `path` (a symbolic link there
// is replaced, not written through). Returns 0 on success; otherwise an
// errno value giving the reason, with `path` as it was before and the
// temporary file removed.
int replaceFile(const char* path, const uint8_t* data, std::size_t length);

#endif  // D88CUT_TOOL_OUTPUT_FILE_H_
