// SPDX-License-Identifier: MIT
// Replacing an output file whole: output_file_posix.cc and
// output_file_win32.cc write a temporary file (temporary_file.h) and move it
// over the old one.
#ifndef D88CUT_PLATFORM_OUTPUT_FILE_H_
#define D88CUT_PLATFORM_OUTPUT_FILE_H_

#include <cstddef>
#include <cstdint>

// Writes data[0..length) to a new temporary file beside `path` and, once it
// is written and closed whole, moves it over `path` (a symbolic link there
// is replaced, not written through). Returns 0 on success; otherwise an
// errno value giving the reason, with `path` as it was before and the
// temporary file removed.
int replaceFile(const char* path, const uint8_t* data, std::size_t length);

// True when something of that name exists (a file, a folder, a link, even a
// dangling one). Platform-specific.
bool fileExists(const char* path);

#endif  // D88CUT_PLATFORM_OUTPUT_FILE_H_
