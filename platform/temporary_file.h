// SPDX-License-Identifier: MIT
// For the output-file halves only: naming, creating and writing the
// temporary file a file is written to before it replaces the old one
// (output_file.cc), with the calls each platform gives for it.
#ifndef D88CUT_PLATFORM_TEMPORARY_FILE_H_
#define D88CUT_PLATFORM_TEMPORARY_FILE_H_

#include <cstddef>
#include <cstdint>

// Creates a new temporary file "PATH.PID-N.tmp" beside `path`, its name
// placed in temp[0..tempSize), passing over names in use (at most 100 tries). Returns its
// descriptor, or -1 with errno set (ENAMETOOLONG when the name does not fit temp).
int createTemporaryFile(const char* path, char* temp, std::size_t tempSize);

// Platform-specific, for createTemporaryFile: the process id, and a new file
// opened for writing that must not exist yet (-1 with errno EEXIST if it does).
long currentProcessId();
int createNewFile(const char* path);

// One write of the system: writes at most `length` bytes of data to fd and
// returns the count written, or -1 with errno set.
using WriteCall = long (*)(int fd, const uint8_t* data, std::size_t length);

// Writes all of data[0..length) to fd through `write`, going on after a
// short write and after EINTR. Returns 0, or the errno value of the write
// that failed (EIO for a write that wrote nothing).
int writeAll(int fd, const uint8_t* data, std::size_t length, WriteCall write);

// True when a test asked placeNewFile to claim the name first.
bool claimNameFirst();

// Makes the call set with setBeforeMoveCall, if any, with `path`.
void callBeforeMove(const char* path);

#endif  // D88CUT_PLATFORM_TEMPORARY_FILE_H_
