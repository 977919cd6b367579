// SPDX-License-Identifier: MIT
#include "tool/run_files.h"

#include <cstdio>
#include <cstring>

#include "tool/messages.h"

CutStatusText cutStatusText(CutStatus status) {
  switch (status) {
    case CutStatus::kComplete:
      return {kStateComplete, kWhyIncomplete};
    case CutStatus::kIncomplete:
      return {kStateIncomplete, kWhyIncomplete};
    case CutStatus::kDamaged:
      return {kStateDamaged, kWhyDamaged};
    case CutStatus::kKeptEarlier:
      return {kStateKept, kWhyIncomplete};
    case CutStatus::kKeptExisting:
      return {kStateKept, kWhyKept};
    case CutStatus::kNotWritten:
      return {kStateNotWritten, kWhyNotWritten};
    case CutStatus::kReadFailed:
      return {kStateReadFailed, kWhyReadFailed};
  }
  return {kStateComplete, kWhyIncomplete};
}

const RunFiles::Entry* RunFiles::find(const char* name) const {
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(entries[i].name, name) == 0) return &entries[i];
  }
  return nullptr;
}

RunFiles::Entry* RunFiles::find(const char* name) {
  return const_cast<Entry*>(static_cast<const RunFiles*>(this)->find(name));
}

CopySource RunFiles::completeSource(const char* name) const {
  const Entry* entry = find(name);
  return entry != nullptr ? CopySource{entry->completePath, entry->completeImage} : CopySource{};
}

bool RunFiles::written(const char* name) const {
  const Entry* entry = find(name);
  return entry != nullptr && entry->written;
}

bool RunFiles::tried(const char* name, CutStatus* last) const {
  const Entry* entry = find(name);
  if (entry != nullptr && last != nullptr) *last = entry->last;
  return entry != nullptr;
}

void RunFiles::record(const char* name, CutStatus status, CopySource source) {
  Entry* entry = find(name);
  if (entry == nullptr) {
    if (count == kMaxFiles) return;
    entry = &entries[count++];
    entry->name = name;
    entry->completeImage = -1;
    entry->written = false;
    entry->completePath[0] = '\0';
  }
  entry->last = status;
  if (status == CutStatus::kComplete) {
    entry->completeImage = source.image;
    std::snprintf(entry->completePath, sizeof entry->completePath, "%s",
                  source.path != nullptr ? source.path : "");
  }
  if (status == CutStatus::kComplete || status == CutStatus::kIncomplete ||
      status == CutStatus::kDamaged) {
    entry->written = true;
  }
}
