// SPDX-License-Identifier: MIT
// Listing a folder's entries, for walking a collection: folder_posix.cc
// (opendir, also the page's in-memory file system) and folder_win32.cc
// (FindFirstFileW; names in UTF-8).
#ifndef D88CUT_PLATFORM_FOLDER_H_
#define D88CUT_PLATFORM_FOLDER_H_

#include <cstdint>

enum class FolderEntryKind {
  kFile,    // a regular file, or a symbolic link to one
  kFolder,  // a folder itself; a link to a folder is kOther, never followed
  kOther,   // a link to a folder, a FIFO, a device, a socket, a dangling link
};

// True when `path` names a folder (a link to one counts: the command line
// named it). Platform-specific.
bool isFolder(const char* path);

// The entries of one folder ("." and ".." left out), sorted by the bytes of
// their names, so that a walk comes out the same on every run. Names and
// their list are on the heap, freed by close and at destruction.
class FolderListing {
 public:
  FolderListing() = default;
  ~FolderListing() { close(); }
  FolderListing(const FolderListing&) = delete;
  FolderListing& operator=(const FolderListing&) = delete;

  // Lists `path`. Returns 0, or the errno value that opening or reading it
  // gave (ENOMEM when memory for the names could not be had). Platform-specific.
  int open(const char* path);
  int32_t size() const { return count; }
  const char* name(int32_t i) const { return entries[i].name; }
  FolderEntryKind kind(int32_t i) const { return entries[i].kind; }
  void close();

  // For the platform halves: adds an entry (its name copied). False when
  // memory cannot be had.
  bool add(const char* name, FolderEntryKind kind);
  // Sorts the entries by the bytes of their names.
  void sort();

 private:
  struct Entry {
    char* name;
    FolderEntryKind kind;
  };
  Entry* entries = nullptr;
  int32_t count = 0;
  int32_t room = 0;
};

#endif  // D88CUT_PLATFORM_FOLDER_H_
