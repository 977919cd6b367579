// SPDX-License-Identifier: MIT
// ArchiveReader: libarchive's reading loop, through the table of
// archive_library.h.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/archive.h"
#include "platform/archive_library.h"
#include "platform/console.h"
#include "platform/threads.h"

namespace {

archive* asArchive(void* handle) { return static_cast<archive*>(handle); }

void copyText(const char* text, char* out, std::size_t size) {
  std::strncpy(out, text, size - 1);
  out[size - 1] = '\0';
}

// The entry's name as UTF-8 (archive.h): its bytes where the library gives
// them as they stand in the archive, else the wide name (Windows, for a name
// the library converted: one marked UTF-8, or an LZH name).
void readEntryName(const ArchiveApi& api, archive_entry* entry, char* out, std::size_t size) {
  const char* name = api.entryPathname(entry);
  if ((name == nullptr || *name == '\0') && wideEntryName(api, entry, out, size)) return;
  if (name == nullptr) name = "";
  if (isValidUtf8(name)) {
    copyText(name, out, size);
  } else {
    shiftJisNameToUtf8(name, std::strlen(name), out, size);
  }
}

// Looks up `name` into *function; false when the library lacks it.
template <typename Function>
bool find(void* library, ArchiveSymbolLookup lookup, const char* name, Function* function) {
  void* symbol = lookup(library, name);
  *function = reinterpret_cast<Function>(symbol);
  return symbol != nullptr;
}

const char* libraryName = nullptr;  // null: the platform's usual one
ArchiveApi api;
bool tried = false;
bool loaded = false;
// Which registrations the library answered without a warning (a warning:
// it would run an outside program for it), asked once on a handle of its own.
bool supported[kArchiveSupportCount];

void probeSupport(const ArchiveApi& table) {
  archive* probe = table.readNew();
  for (int i = 0; i < kArchiveSupportCount; ++i) {
    supported[i] = probe != nullptr && table.support[i](probe) == kArchiveOk;
  }
  if (probe != nullptr) table.readFree(probe);
}

// The registration that reads `kind` (kArchiveSupportNames), or -1.
int supportIndexOf(ArchiveKind kind) {
  switch (kind) {
    case ArchiveKind::kGzip:
      return 0;
    case ArchiveKind::kBzip2:
      return 1;
    case ArchiveKind::kXz:
      return 2;
    case ArchiveKind::kZip:
      return 4;
    case ArchiveKind::kSevenZip:
      return 5;
    case ArchiveKind::kLzh:
      return 6;
    case ArchiveKind::kRar:
      return 7;
    case ArchiveKind::kTar:
      return 9;
    case ArchiveKind::kNone:
      break;
  }
  return -1;
}

// The library's words that tell a failure other than damage.
ArchiveFailure failureOfWords(const char* words) {
  // "Unsupported ZIP compression method (9: deflation-64-bit)" and the like.
  if (std::strstr(words, "nsupported") != nullptr) return ArchiveFailure::kUnsupported;
  // "Input requires too many filters for decoding": packed inside itself.
  if (std::strstr(words, "too many filters") != nullptr) return ArchiveFailure::kTooManyLayers;
  // Words of a filter that would have run a program (none is registered).
  if (std::strstr(words, "program") != nullptr) return ArchiveFailure::kNeedsProgram;
  return ArchiveFailure::kDamaged;
}

}  // namespace

bool fillArchiveApi(void* library, ArchiveSymbolLookup lookup, bool withWideNames,
                    ArchiveApi* table) {
  void* l = library;
  table->entryPathnameW = nullptr;
  for (int i = 0; i < kArchiveSupportCount; ++i) {
    if (!find(l, lookup, kArchiveSupportNames[i], &table->support[i])) return false;
  }
  return find(l, lookup, "archive_read_new", &table->readNew) &&
         find(l, lookup, "archive_read_open", &table->openCallbacks) &&
         find(l, lookup, "archive_read_set_format_option", &table->setFormatOption) &&
         find(l, lookup, "archive_read_open_filename", &table->openFilename) &&
         find(l, lookup, "archive_read_open_memory", &table->openMemory) &&
         find(l, lookup, "archive_read_next_header", &table->nextHeader) &&
         find(l, lookup, "archive_read_data", &table->readData) &&
         find(l, lookup, "archive_error_string", &table->errorString) &&
         find(l, lookup, "archive_read_free", &table->readFree) &&
         find(l, lookup, "archive_format", &table->format) &&
         find(l, lookup, "archive_entry_pathname", &table->entryPathname) &&
         (!withWideNames || find(l, lookup, "archive_entry_pathname_w", &table->entryPathnameW)) &&
         find(l, lookup, "archive_entry_filetype", &table->entryFiletype) &&
         find(l, lookup, "archive_entry_size_is_set", &table->entrySizeIsSet) &&
         find(l, lookup, "archive_entry_size", &table->entrySize) &&
         find(l, lookup, "archive_entry_is_encrypted", &table->entryIsEncrypted);
}

// Loaded and asked once, under the lock a walk's threads share (plain
// flags, not guarded statics: no C++ runtime).
const ArchiveApi* archiveLibrary() {
  lockShared();
  if (!tried) {
    tried = true;
    loaded = loadArchiveLibrary(libraryName, &api);
    if (loaded) probeSupport(api);
  }
  unlockShared();
  return loaded ? &api : nullptr;
}

void setArchiveLibraryName(const char* name) {
  libraryName = name;
  tried = false;
}

void ArchiveReader::fail(ArchiveFailure why, bool fatal) {
  kind = why;
  finished = finished || fatal;
  const ArchiveApi* api = archiveLibrary();
  const char* text = why == ArchiveFailure::kDamaged && api != nullptr && handle != nullptr
                         ? api->errorString(asArchive(handle))
                         : nullptr;
  copyText(text != nullptr ? text : "", words, sizeof words);
  if (why == ArchiveFailure::kDamaged) kind = failureOfWords(words);
}

bool ArchiveReader::start() {
  close();
  const ArchiveApi* api = archiveLibrary();
  if (api == nullptr) {
    fail(ArchiveFailure::kNoLibrary, true);
    return false;
  }
  handle = api->readNew();
  if (handle == nullptr) {
    fail(ArchiveFailure::kNoMemory, true);
    return false;
  }
  archive* a = asArchive(handle);
  // Only what the library reads itself; raw gives one compressed file's
  // bytes as its one entry.
  for (int i = 0; i < kArchiveSupportCount; ++i) {
    if (supported[i]) api->support[i](a);
  }
  // LZH names are Shift_JIS, and unconverted the library refuses them.
  api->setFormatOption(a, "lha", "hdrcharset", "CP932");
  return true;
}

bool ArchiveReader::open(const char* path, ArchiveKind expected) {
  ArchiveLocale locale;
  if (!start()) return false;
  if (!readsKind(expected)) return false;
  if (archiveLibrary()->openFilename(asArchive(handle), path, 65536) != kArchiveOk) {
    fail(ArchiveFailure::kDamaged, true);
    return false;
  }
  return true;
}

bool ArchiveReader::openBytes(const uint8_t* bytes, int64_t size, ArchiveKind expected) {
  ArchiveLocale locale;
  if (!start()) return false;
  if (!readsKind(expected)) return false;
  if (archiveLibrary()->openMemory(asArchive(handle), bytes, static_cast<std::size_t>(size)) !=
      kArchiveOk) {
    fail(ArchiveFailure::kDamaged, true);
    return false;
  }
  return true;
}

bool ArchiveReader::next(ArchiveEntry* entry) {
  kind = ArchiveFailure::kNone;
  words[0] = '\0';
  if (handle == nullptr || finished) return false;
  ArchiveLocale locale;
  const ArchiveApi& api = *archiveLibrary();
  archive_entry* header = nullptr;
  const int status = api.nextHeader(asArchive(handle), &header);
  if (status == kArchiveEof) {
    finished = true;
    return false;
  }
  if (status < kArchiveWarn || header == nullptr) {
    fail(ArchiveFailure::kDamaged, true);  // nothing after a header it cannot read
    return false;
  }
  current = header;
  rawFormat = api.format(asArchive(handle)) == kArchiveFormatRaw;
  *entry = ArchiveEntry{};
  readEntryName(api, header, entry->name, sizeof entry->name);
  entry->regularFile = (api.entryFiletype(header) & kArchiveFileTypeMask) == kArchiveRegularFile;
  entry->encrypted = api.entryIsEncrypted(header) != 0;
  entry->size = api.entrySizeIsSet(header) != 0 ? api.entrySize(header) : -1;
  return true;
}

bool ArchiveReader::readsKind(ArchiveKind expected) {
  const int index = supportIndexOf(expected);
  if (index < 0 || supported[index]) return true;
  fail(ArchiveFailure::kUnsupported, true);
  std::snprintf(words, sizeof words, "this libarchive reads no %s without an outside program",
                archiveKindName(expected));
  return false;
}

void ArchiveReader::close() {
  if (handle != nullptr) archiveLibrary()->readFree(asArchive(handle));
  std::free(chunk);
  chunk = nullptr;
  outer = nullptr;
  pending = 0;
  handle = nullptr;
  current = nullptr;
  finished = false;
  kind = ArchiveFailure::kNone;
  words[0] = '\0';
}
