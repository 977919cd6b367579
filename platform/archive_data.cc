// SPDX-License-Identifier: MIT
// ArchiveReader: reading an entry's bytes, and archives nested in an entry,
// streamed through the library's read callback.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/archive.h"
#include "platform/archive_library.h"

namespace {

archive* asArchive(void* handle) { return static_cast<archive*>(handle); }

std::ptrdiff_t readNested(archive*, void* client, const void** buffer) {
  return static_cast<ArchiveReader*>(client)->nextNestedBytes(buffer);
}

}  // namespace

bool ArchiveReader::openNested(ArchiveReader* from, const uint8_t* head, int64_t headLength,
                               ArchiveKind expected) {
  ArchiveLocale locale;
  if (!start()) return false;
  if (!readsKind(expected)) return false;
  chunk = static_cast<uint8_t*>(std::malloc(static_cast<std::size_t>(kArchiveChunkSize)));
  if (chunk == nullptr || headLength > kArchiveChunkSize) {
    fail(ArchiveFailure::kNoMemory, true);
    return false;
  }
  std::memcpy(chunk, head, static_cast<std::size_t>(headLength));
  pending = headLength;
  outer = from;
  if (archiveLibrary()->openCallbacks(asArchive(handle), this, nullptr, readNested, nullptr) !=
      kArchiveOk) {
    fail(ArchiveFailure::kDamaged, true);
    return false;
  }
  return true;
}

std::ptrdiff_t ArchiveReader::nextNestedBytes(const void** buffer) {
  *buffer = chunk;
  if (pending > 0) {  // the head, read from the entry before this archive was opened
    const int64_t head = pending;
    pending = 0;
    return static_cast<std::ptrdiff_t>(head);
  }
  const int64_t got = outer->readSome(chunk, kArchiveChunkSize);
  return got < 0 ? -1 : static_cast<std::ptrdiff_t>(got);
}

int64_t ArchiveReader::readSome(uint8_t* buffer, int64_t size) {
  if (handle == nullptr || current == nullptr) return -1;
  ArchiveLocale locale;
  const ArchiveApi& api = *archiveLibrary();
  const std::ptrdiff_t got =
      api.readData(asArchive(handle), buffer, static_cast<std::size_t>(size));
  if (got < 0) {
    const bool encrypted = api.entryIsEncrypted(static_cast<archive_entry*>(current)) != 0;
    fail(encrypted ? ArchiveFailure::kEncrypted : ArchiveFailure::kDamaged, got == kArchiveFatal);
    return -1;
  }
  return got;
}

bool ArchiveReader::readData(const ArchiveEntry& entry, int64_t limit, HeldBytes* held) {
  held->clear();
  return readRest(entry, limit, held);
}

bool ArchiveReader::readHead(const ArchiveEntry& entry, int64_t length, HeldBytes* held) {
  held->clear();
  if (handle == nullptr || current == nullptr) return false;
  if (entry.encrypted) {
    fail(ArchiveFailure::kEncrypted, false);
    return false;
  }
  if (!held->reserve(length)) {
    fail(ArchiveFailure::kNoMemory, false);
    return false;
  }
  while (held->size() < length) {
    const int64_t got = readSome(held->end(), length - held->size());
    if (got < 0) {
      held->clear();
      return false;
    }
    if (got == 0) break;
    held->grow(got);
  }
  return true;
}

bool ArchiveReader::readRest(const ArchiveEntry& entry, int64_t limit, HeldBytes* held) {
  if (handle == nullptr || current == nullptr) return false;
  if (entry.encrypted) {
    fail(ArchiveFailure::kEncrypted, false);
    return false;
  }
  if (entry.size > limit) {
    fail(ArchiveFailure::kTooLarge, false);
    return false;
  }
  // One byte past the limit tells an entry that holds more.
  const int64_t first = entry.size >= 0 ? entry.size + 1 - held->size() : 65536;
  for (int64_t room = first > 0 ? first : 1; held->size() <= limit; room = 65536) {
    if (!held->reserve(room)) {
      fail(ArchiveFailure::kNoMemory, false);
      return false;
    }
    const int64_t want =
        held->room() < limit + 1 - held->size() ? held->room() : limit + 1 - held->size();
    const int64_t got = readSome(held->end(), want);
    if (got < 0) {
      held->clear();
      return false;
    }
    if (got == 0) return heldAsRecorded(entry, held);
    held->grow(got);
  }
  held->clear();
  fail(ArchiveFailure::kTooLarge, false);
  return false;
}

bool ArchiveReader::heldAsRecorded(const ArchiveEntry& entry, HeldBytes* held) {
  if (entry.size < 0 || held->size() == entry.size) return true;
  const long long size = held->size();
  held->clear();
  fail(ArchiveFailure::kDamaged, false);
  std::snprintf(words, sizeof words, "the entry holds %lld bytes, its header records %lld", size,
                static_cast<long long>(entry.size));
  return false;
}
