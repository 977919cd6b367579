// SPDX-License-Identifier: MIT
#include "tool/cut_file.h"

#include <cstring>

#include "game/file_run.h"
#include "platform/console.h"
#include "platform/output_file.h"
#include "tool/messages.h"

namespace {

void reportIncomplete(const Extraction& extraction, const char* name, int32_t fileFound,
                      int32_t length, const RunStop& stop, const CopySource& kept) {
  char where[kRunStopTextSize];
  describeRunStop(stop, where);
  const int image = static_cast<int>(extraction.image);
  if (extraction.namesPath) {
    printReport(extraction.out, extraction.err, kIncompleteRunOfFile, name, extraction.path, image,
                static_cast<int>(fileFound), static_cast<int>(length), where);
  } else {
    printReport(extraction.out, extraction.err, kIncompleteRun, name, image,
                static_cast<int>(fileFound), static_cast<int>(length), where);
  }
  if (kept.image >= 0 && extraction.namesPath) {
    printMessage(extraction.err, kKeptEarlierCopyOfFile, kept.path, static_cast<int>(kept.image));
  } else if (kept.image >= 0) {
    printMessage(extraction.err, kKeptEarlierCopy, static_cast<int>(kept.image));
  }
  writeMessage(extraction.err, kLineEnd);
}

}  // namespace

CopySource CompleteFiles::sourceOf(const char* name) const {
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(entries[i].name, name) == 0) return entries[i].source;
  }
  return CopySource{};
}

void CompleteFiles::record(const char* name, CopySource source) {
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(entries[i].name, name) == 0) {
      entries[i].source = source;
      return;
    }
  }
  if (count < kMaxFiles) entries[count++] = Entry{name, source};
}

CutStatus cutFile(const Extraction& extraction, const FileEntry& entry) {
  RunStop stop;
  const int32_t found = readFileRun(extraction.disk, entry, extraction.buffer, &stop);
  printMessage(extraction.out, kCutting, entry.name);

  const bool whole = found == runLength(entry);
  // Within one run a complete copy is never replaced by a damaged one.
  const CopySource kept = !whole && extraction.complete != nullptr
                              ? extraction.complete->sourceOf(entry.name)
                              : CopySource{};
  const int error = kept.image >= 0 ? 0
                                    : replaceFile(entry.name, extraction.buffer + entry.offset,
                                                  static_cast<std::size_t>(entry.length));
  if (!whole) {
    reportIncomplete(extraction, entry.name, fileBytesFound(found, entry.offset, entry.length),
                     entry.length, stop, kept);
  }
  if (error != 0) {
    printReport(extraction.out, extraction.err, kWriteFailure, entry.name, std::strerror(error));
    return CutStatus::kNotWritten;
  }
  if (kept.image >= 0) return CutStatus::kKeptEarlier;
  if (!whole) return CutStatus::kIncomplete;
  if (extraction.complete != nullptr) {
    extraction.complete->record(entry.name, CopySource{extraction.path, extraction.image});
  }
  return CutStatus::kComplete;
}
