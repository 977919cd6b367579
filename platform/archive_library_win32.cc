// SPDX-License-Identifier: MIT
// libarchive on Windows: libarchive.dll from the program's own folder (the
// Windows package ships it), loaded when the first archive is opened. Only
// that folder and the system's are searched, never the current folder or
// PATH, so that no other DLL of the name is taken.
#include <windows.h>

#include "platform/archive_library.h"

namespace {

const char* libraryName = nullptr;  // null: libarchive.dll
ArchiveApi api;
bool tried = false;
bool loaded = false;

template <typename Function>
bool find(HMODULE library, const char* name, Function* function) {
  FARPROC symbol = GetProcAddress(library, name);
  *function = reinterpret_cast<Function>(reinterpret_cast<void*>(symbol));
  return symbol != nullptr;
}

HMODULE loadLibrary() {
  wchar_t name[MAX_PATH];
  const char* utf8 = libraryName != nullptr ? libraryName : "libarchive.dll";
  if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, name, MAX_PATH) == 0) return nullptr;
  return LoadLibraryExW(name, nullptr,
                        LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

bool load(ArchiveApi* table) {
  HMODULE library = loadLibrary();
  if (library == nullptr) return false;
  const bool all = find(library, "archive_read_new", &table->readNew) &&
                   find(library, "archive_read_support_filter_all", &table->supportFilterAll) &&
                   find(library, "archive_read_support_format_all", &table->supportFormatAll) &&
                   find(library, "archive_read_support_format_raw", &table->supportFormatRaw) &&
                   find(library, "archive_read_set_format_option", &table->setFormatOption) &&
                   find(library, "archive_read_open_filename", &table->openFilename) &&
                   find(library, "archive_read_open_memory", &table->openMemory) &&
                   find(library, "archive_read_next_header", &table->nextHeader) &&
                   find(library, "archive_read_data", &table->readData) &&
                   find(library, "archive_error_string", &table->errorString) &&
                   find(library, "archive_read_free", &table->readFree) &&
                   find(library, "archive_format", &table->format) &&
                   find(library, "archive_entry_pathname", &table->entryPathname) &&
                   find(library, "archive_entry_pathname_w", &table->entryPathnameW) &&
                   find(library, "archive_entry_filetype", &table->entryFiletype) &&
                   find(library, "archive_entry_size_is_set", &table->entrySizeIsSet) &&
                   find(library, "archive_entry_size", &table->entrySize) &&
                   find(library, "archive_entry_is_encrypted", &table->entryIsEncrypted);
  if (!all) FreeLibrary(library);
  return all;
}

}  // namespace

void setArchiveLibraryName(const char* name) {
  libraryName = name;
  tried = false;
}

const ArchiveApi* archiveLibrary() {
  if (!tried) {
    tried = true;
    loaded = load(&api);
  }
  return loaded ? &api : nullptr;
}

void* enterArchiveLocale() { return nullptr; }  // names come wide

void leaveArchiveLocale(void*) {}

bool wideEntryName(const ArchiveApi& table, archive_entry* entry, char* out, std::size_t size) {
  const wchar_t* wide = table.entryPathnameW(entry);
  if (wide == nullptr || size == 0) return false;
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, static_cast<int>(size), nullptr, nullptr);
  return n > 0;
}
