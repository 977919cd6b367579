// SPDX-License-Identifier: MIT
// libarchive on Windows: libarchive.dll from the program's own folder (the
// Windows package ships it), loaded when the first archive is opened. Only
// that folder and the system's are searched, never the current folder or
// PATH, so that no other DLL of the name is taken.
#include <windows.h>

#include "platform/archive_library.h"

namespace {

void* lookUp(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace

bool loadArchiveLibrary(const char* name, ArchiveApi* api) {
  wchar_t wide[MAX_PATH];
  const char* utf8 = name != nullptr ? name : "libarchive.dll";
  if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, MAX_PATH) == 0) return false;
  HMODULE library = LoadLibraryExW(
      wide, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library == nullptr) return false;
  if (fillArchiveApi(library, lookUp, true, api)) return true;
  FreeLibrary(library);
  return false;
}

void* enterArchiveLocale() { return nullptr; }  // names come wide where not as bytes

void leaveArchiveLocale(void*) {}

bool wideEntryName(const ArchiveApi& table, archive_entry* entry, char* out, std::size_t size) {
  const wchar_t* wide = table.entryPathnameW(entry);
  if (wide == nullptr || size == 0) return false;
  return WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, static_cast<int>(size), nullptr, nullptr) >
         0;
}
