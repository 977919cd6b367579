// SPDX-License-Identifier: MIT
#include "input/folder_walk.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

void FolderWalk::start(const char* commandLinePath) {
  for (int32_t level = 0; level < depth; ++level) levels[level].close();
  named = commandLinePath;
  current = commandLinePath;
  isWalk = isFolder(commandLinePath);
  started = false;
  reason = 0;
  depth = 0;
}

bool FolderWalk::append(int32_t level, const char* name) {
  const std::size_t base = level == 0 ? std::strlen(named) : lengthOf[level - 1];
  if (level == 0) std::memcpy(buffer, named, base);
  const bool separated = base > 0 && (buffer[base - 1] == '/' || buffer[base - 1] == '\\');
  const int n =
      std::snprintf(buffer + base, sizeof buffer - base, "%s%s", separated ? "" : "/", name);
  if (n < 0 || static_cast<std::size_t>(n) >= sizeof buffer - base) return false;
  lengthOf[level] = base + static_cast<std::size_t>(n);
  return true;
}

bool FolderWalk::enter(const char* folder) {
  reason = levels[depth].open(folder);
  if (reason != 0) {
    levels[depth].close();
    return false;
  }
  at[depth] = 0;
  ++depth;
  return true;
}

WalkStep FolderWalk::next() {
  reason = 0;
  if (!started) {
    started = true;
    current = named;
    if (!isWalk) return WalkStep::kFile;
    std::snprintf(buffer, sizeof buffer, "%s", named);
    lengthOf[0] = 0;
    if (!enter(named)) return WalkStep::kUnlistable;
  }
  while (depth > 0) {
    const int32_t level = depth - 1;
    FolderListing& listing = levels[level];
    if (at[level] == listing.size()) {
      listing.close();
      --depth;
      continue;
    }
    const int32_t i = at[level]++;
    if (listing.kind(i) == FolderEntryKind::kOther) continue;
    // The level's own folder is buffer[0..lengthOf[level - 1]) (the named
    // path for level 0); the entry's path follows it.
    if (!append(level, listing.name(i))) {
      reason = ENAMETOOLONG;
      current = listing.name(i);
      return WalkStep::kUnlistable;
    }
    current = buffer;
    if (listing.kind(i) == FolderEntryKind::kFile) return WalkStep::kFile;
    if (depth > kMaxFolderDepth) return WalkStep::kTooDeep;
    if (!enter(buffer)) return WalkStep::kUnlistable;
  }
  return WalkStep::kEnd;
}
