// SPDX-License-Identifier: MIT
// For the output-file halves only: naming and creating the temporary file a
// file is written to before it replaces the old one (output_file.cc), with
// the two calls each platform gives for it.
#ifndef D88CUT_PLATFORM_TEMPORARY_FILE_H_
#define D88CUT_PLATFORM_TEMPORARY_FILE_H_

#include <cstddef>

// Creates a new temporary file "PATH.PID-N.tmp" beside `path`, its name
// placed in temp[0..tempSize), passing over names in use (at most 100 tries). Returns its descriptor, or -1 with errno set
// (ENAMETOOLONG when the name does not fit temp).
int createTemporaryFile(const char* path, char* temp, std::size_t tempSize);

// Platform-specific, for createTemporaryFile: the process id, and a new file
// opened for writing that must not exist yet (-1 with errno EEXIST if it does).
long currentProcessId();
int createNewFile(const char* path);

#endif  // D88CUT_PLATFORM_TEMPORARY_FILE_H_
