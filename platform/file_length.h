// SPDX-License-Identifier: MIT
// The length of a file, told by the system: file_length_posix.cc,
// file_length_win32.cc. The reader needs none; d88info shows it.
#ifndef D88CUT_PLATFORM_FILE_LENGTH_H_
#define D88CUT_PLATFORM_FILE_LENGTH_H_

#include <cstdint>

// The length in bytes of the file at `path`, in 64 bits on every platform
// (Windows' long has 32), so files of 2 GiB and more have their true size;
// -1 when it cannot be told.
int64_t fileLength(const char* path);

#endif  // D88CUT_PLATFORM_FILE_LENGTH_H_
