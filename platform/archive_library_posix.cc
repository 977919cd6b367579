// SPDX-License-Identifier: MIT
// libarchive on POSIX: the system's shared library (Debian's libarchive13),
// loaded when the first archive is opened, so that a run without one never
// touches it.
#include <dlfcn.h>
#include <locale.h>

#include "platform/archive_library.h"

namespace {

void* lookUp(void* library, const char* name) { return dlsym(library, name); }

locale_t utf8Locale = static_cast<locale_t>(0);

}  // namespace

bool loadArchiveLibrary(const char* name, ArchiveApi* api) {
  void* library = dlopen(name != nullptr ? name : "libarchive.so.13", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return false;
  if (fillArchiveApi(library, lookUp, false, api)) return true;
  dlclose(library);
  return false;
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
