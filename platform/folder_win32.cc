// SPDX-License-Identifier: MIT
// Folders on Windows: FindFirstFileW, names turned into UTF-8 (the programs'
// code page, by their manifest). A reparse point (a symbolic link or a
// junction) to a folder is never followed.
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cwchar>

#include "platform/folder.h"

namespace {

FolderEntryKind kindOf(const WIN32_FIND_DATAW& found) {
  const DWORD attributes = found.dwFileAttributes;
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return link ? FolderEntryKind::kOther : FolderEntryKind::kFolder;
  }
  return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? FolderEntryKind::kOther
                                                   : FolderEntryKind::kFile;
}

bool widen(const char* utf8, wchar_t* wide, int size) {
  return MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, size) != 0;
}

}  // namespace

bool isFolder(const char* path) {
  wchar_t wide[MAX_PATH + 64];
  if (!widen(path, wide, MAX_PATH + 64)) return false;
  const DWORD attributes = GetFileAttributesW(wide);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int FolderListing::open(const char* path) {
  close();
  char pattern[4096 + 4];
  if (std::snprintf(pattern, sizeof pattern, "%s\\*", path) >= static_cast<int>(sizeof pattern)) {
    return ENAMETOOLONG;
  }
  wchar_t wide[4096 + 4];
  if (!widen(pattern, wide, 4096 + 4)) return ENOENT;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(wide, &found);
  if (search == INVALID_HANDLE_VALUE) {
    return GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
  }
  int error = 0;
  do {
    if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0) {
      continue;
    }
    char name[4 * MAX_PATH];
    if (WideCharToMultiByte(CP_UTF8, 0, found.cFileName, -1, name, sizeof name, nullptr, nullptr) ==
        0) {
      continue;
    }
    if (!add(name, kindOf(found))) {
      error = ENOMEM;
      break;
    }
  } while (FindNextFileW(search, &found) != 0);
  FindClose(search);
  sort();
  return error;
}
