// SPDX-License-Identifier: MIT
// libarchive on POSIX: the system's shared library (Debian's libarchive13),
// loaded when the first archive is opened, so that a run without one never
// touches it.
#include <dlfcn.h>
#include <locale.h>

#include "platform/archive_library.h"

namespace {

// Looks up `name` into *function; false when the library lacks it.
template <typename Function>
bool find(void* library, const char* name, Function* function) {
  void* symbol = dlsym(library, name);
  *function = reinterpret_cast<Function>(symbol);
  return symbol != nullptr;
}

const char* libraryName = nullptr;  // null: the system's

bool load(ArchiveApi* api) {
  void* library =
      dlopen(libraryName != nullptr ? libraryName : "libarchive.so.13", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return false;
  api->entryPathnameW = nullptr;
  const bool all = find(library, "archive_read_new", &api->readNew) &&
                   find(library, "archive_read_support_filter_all", &api->supportFilterAll) &&
                   find(library, "archive_read_support_format_all", &api->supportFormatAll) &&
                   find(library, "archive_read_support_format_raw", &api->supportFormatRaw) &&
                   find(library, "archive_read_set_format_option", &api->setFormatOption) &&
                   find(library, "archive_read_open_filename", &api->openFilename) &&
                   find(library, "archive_read_open_memory", &api->openMemory) &&
                   find(library, "archive_read_next_header", &api->nextHeader) &&
                   find(library, "archive_read_data", &api->readData) &&
                   find(library, "archive_error_string", &api->errorString) &&
                   find(library, "archive_read_free", &api->readFree) &&
                   find(library, "archive_format", &api->format) &&
                   find(library, "archive_entry_pathname", &api->entryPathname) &&
                   find(library, "archive_entry_filetype", &api->entryFiletype) &&
                   find(library, "archive_entry_size_is_set", &api->entrySizeIsSet) &&
                   find(library, "archive_entry_size", &api->entrySize) &&
                   find(library, "archive_entry_is_encrypted", &api->entryIsEncrypted);
  if (!all) dlclose(library);
  return all;
}

// Loaded once; plain flags, not guarded statics: the program has one thread
// and needs no C++ runtime.
ArchiveApi api;
bool tried = false;
bool loaded = false;
locale_t utf8Locale = static_cast<locale_t>(0);

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

void* enterArchiveLocale() {
  if (utf8Locale == static_cast<locale_t>(0)) {
    utf8Locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (utf8Locale == static_cast<locale_t>(0)) return nullptr;
  }
  return uselocale(utf8Locale);
}

void leaveArchiveLocale(void* previous) {
  if (previous != nullptr) uselocale(static_cast<locale_t>(previous));
}

bool wideEntryName(const ArchiveApi&, archive_entry*, char*, std::size_t) { return false; }
