// SPDX-License-Identifier: MIT
// Replacing an output file whole. output_file.cc names and creates the
// temporary file; output_file_posix.cc and output_file_win32.cc write it and
// move it over the old one.
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

// For the platform files: creates a new temporary file "PATH.PID-N.tmp"
// beside `path`, its name placed in temp[0..tempSize), passing over names in
// use (at most 100 tries). Returns its descriptor, or -1 with errno set
// (ENAMETOOLONG when the name does not fit temp).
int createTemporaryFile(const char* path, char* temp, std::size_t tempSize);

// Platform-specific, for createTemporaryFile: the process id, and a new file
// opened for writing that must not exist yet (-1 with errno EEXIST if it does).
long currentProcessId();
int createNewFile(const char* path);

#endif  // D88CUT_PLATFORM_OUTPUT_FILE_H_
