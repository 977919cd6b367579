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

// The same, but the finished file takes the name only where nothing of that
// name exists, in one step of the system that fails when something does
// (no window between a look and the move). Returns EEXIST then, with what is
// there untouched and the temporary file removed.
int placeNewFile(const char* path, const uint8_t* data, std::size_t length);

// Whether a file could be made beside `path`, as replaceFile and
// placeNewFile would make their temporary file: one is made and removed at
// once. Returns 0, or the errno value that making it gave.
int probeNewFile(const char* path);

// For tests: a call made with the destination path just before a finished
// temporary file is moved into place (null: none), to make a file appear at
// the worst moment.
using BeforeMoveCall = void (*)(const char* path);
void setBeforeMoveCall(BeforeMoveCall call);

// For tests: placeNewFile takes the way it takes on a file system that has
// neither a rename that refuses to replace nor links (claiming the name with
// a file of its own, then moving over that). POSIX only.
void setClaimNameFirst(bool always);

// What tells one file from another on its volume: the device and the inode
// on POSIX, the volume serial number and the file index on Windows.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FileIdentity& other) const {
    return volume == other.volume && index == other.index;
  }
};

// The identity of the file at `path` into *identity: with `followLink`, of
// what a symbolic link there points at, else of the name itself. False when
// nothing is there or it cannot be told. Platform-specific.
bool fileIdentityOf(const char* path, bool followLink, FileIdentity* identity);

// The identity of the file standard input reads, when it is one (a file
// redirected into the program); false for a pipe, a terminal or nothing.
// Platform-specific.
bool standardInputIdentity(FileIdentity* identity);

// True when something of that name exists (a file, a folder, a link, even a
// dangling one). Platform-specific.
bool fileExists(const char* path);

// Makes the folder `dir` ready to take output files: when `create`, makes it
// and its missing parents. Returns 0 when dir is a folder that can be
// written to (or, without `create`, does not exist yet); else an errno value:
// ENOTDIR for something other than a folder in the way, EACCES for a folder
// that cannot be written to. Platform-specific.
int prepareOutputFolder(const char* dir, bool create);

// The full path of `path` into out[0..size), NUL-terminated. False when it
// cannot be told or does not fit. Platform-specific.
bool fullPathOf(const char* path, char* out, std::size_t size);

#endif  // D88CUT_PLATFORM_OUTPUT_FILE_H_
