// SPDX-License-Identifier: MIT
#include "platform/folder.h"

#include <cstdlib>
#include <cstring>

namespace {

int byName(const void* a, const void* b) {
  // The first member of each entry is its name.
  return std::strcmp(*static_cast<char* const*>(a), *static_cast<char* const*>(b));
}

}  // namespace

bool FolderListing::add(const char* name, FolderEntryKind kind) {
  if (count == room) {
    const int32_t grown = room < 16 ? 16 : room * 2;
    void* moved = std::realloc(entries, sizeof(Entry) * static_cast<std::size_t>(grown));
    if (moved == nullptr) return false;
    entries = static_cast<Entry*>(moved);
    room = grown;
  }
  const std::size_t length = std::strlen(name);
  char* copy = static_cast<char*>(std::malloc(length + 1));
  if (copy == nullptr) return false;
  std::memcpy(copy, name, length + 1);
  entries[count++] = Entry{copy, kind};
  return true;
}

void FolderListing::sort() {
  if (count > 1) std::qsort(entries, static_cast<std::size_t>(count), sizeof(Entry), byName);
}

void FolderListing::close() {
  for (int32_t i = 0; i < count; ++i) std::free(entries[i].name);
  std::free(entries);
  entries = nullptr;
  count = 0;
  room = 0;
}
