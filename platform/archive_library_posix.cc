// SPDX-License-Identifier: MIT
// libarchive on POSIX: the system's shared library (Debian's libarchive13),
// loaded when the first archive is opened, so that a run without one never
// touches it.
#include <dlfcn.h>

#include "platform/archive_library.h"

namespace {

void* lookUp(void* library, const char* name) { return dlsym(library, name); }

}  // namespace

bool loadArchiveLibrary(const char* name, ArchiveApi* api) {
  void* library = dlopen(name != nullptr ? name : "libarchive.so.13", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return false;
  if (fillArchiveApi(library, lookUp, false, api)) return true;
  dlclose(library);
  return false;
}

bool wideEntryName(const ArchiveApi&, archive_entry*, char*, std::size_t) { return false; }
