// SPDX-License-Identifier: MIT
// The files one command-line path names: the path itself when it is no
// folder; else every file below it, depth first, each folder's entries in
// the byte order of their names, so that runs repeat. Links to files are
// followed, links to folders are not (so a walk never loops); FIFOs,
// devices and dangling links are passed over. Prints nothing.
#ifndef D88CUT_INPUT_FOLDER_WALK_H_
#define D88CUT_INPUT_FOLDER_WALK_H_

#include <cstddef>
#include <cstdint>

#include "platform/folder.h"

// Folders below the one named that a walk goes into; one deeper is named
// as not walked (kTooDeep).
inline constexpr int32_t kMaxFolderDepth = 64;

// Room for a path a walk gives, its NUL included.
inline constexpr std::size_t kWalkPathSize = 4096 + 256;

enum class WalkStep {
  kFile,        // path() is a file to read
  kUnlistable,  // path() is a folder that cannot be listed (error())
  kTooDeep,     // path() is a folder deeper than kMaxFolderDepth, not walked
  kEnd,
};

class FolderWalk {
 public:
  // Starts on the command-line path (the string must outlive the walk).
  void start(const char* commandLinePath);
  // The next step; path() and error() tell of it until the next call.
  WalkStep next();
  const char* path() const { return current; }
  int error() const { return reason; }
  // True when the command-line path is a folder.
  bool walking() const { return isWalk; }

 private:
  bool enter(const char* folder);  // lists it as the next level; false with reason set
  bool append(int32_t level, const char* name);

  const char* named = nullptr;
  const char* current = nullptr;
  bool isWalk = false;
  bool started = false;
  int reason = 0;
  int32_t depth = 0;  // levels open
  FolderListing levels[kMaxFolderDepth + 1];
  int32_t at[kMaxFolderDepth + 1] = {};
  std::size_t lengthOf[kMaxFolderDepth + 1] = {};  // of buffer, for the level's folder
  char buffer[kWalkPathSize] = {};
};

#endif  // D88CUT_INPUT_FOLDER_WALK_H_
