// SPDX-License-Identifier: MIT
// Folders on POSIX (and in the page's in-memory file system).
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/folder.h"

namespace {

// What the entry `name` of `folder` is: lstat first, so that a link to a
// folder is never followed, then stat for what a link points at.
FolderEntryKind kindOf(const char* folder, const char* name) {
  char path[4096 + 256];
  const int n = std::snprintf(path, sizeof path, "%s/%s", folder, name);
  if (n < 0 || static_cast<std::size_t>(n) >= sizeof path) return FolderEntryKind::kOther;
  struct stat status;
  if (::lstat(path, &status) != 0) return FolderEntryKind::kOther;
  if (S_ISDIR(status.st_mode)) return FolderEntryKind::kFolder;
  if (S_ISLNK(status.st_mode) && ::stat(path, &status) != 0) return FolderEntryKind::kOther;
  return S_ISREG(status.st_mode) ? FolderEntryKind::kFile : FolderEntryKind::kOther;
}

// The kind the listing gives where it gives one (no link), saving a call
// of the system per entry; else as kindOf finds it.
FolderEntryKind kindOfListed(const char* folder, const dirent& entry) {
#ifdef DT_REG
  if (entry.d_type == DT_REG) return FolderEntryKind::kFile;
  if (entry.d_type == DT_DIR) return FolderEntryKind::kFolder;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return FolderEntryKind::kOther;
#endif
  return kindOf(folder, entry.d_name);
}

}  // namespace

bool isFolder(const char* path) {
  struct stat status;
  return ::stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

int FolderListing::open(const char* path) {
  close();
  DIR* folder = ::opendir(path);
  if (folder == nullptr) return errno;
  int error = 0;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(folder);
    if (entry == nullptr) {
      error = errno;
      break;
    }
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    if (!add(entry->d_name, kindOfListed(path, *entry))) {
      error = ENOMEM;
      break;
    }
  }
  ::closedir(folder);
  sort();
  return error;
}
