// SPDX-License-Identifier: MIT
// The part of libarchive's interface the archive reader calls, as a table
// filled by whichever build has the library: loaded at run time
// (archive_library_posix.cc, archive_library_win32.cc) or linked in
// (archive_library_static.cc). Only archive.cc and those files include it.
#ifndef D88CUT_PLATFORM_ARCHIVE_LIBRARY_H_
#define D88CUT_PLATFORM_ARCHIVE_LIBRARY_H_

#include <cstddef>
#include <cstdint>

struct archive;
struct archive_entry;

// The library's status codes and the few numbers the reader needs.
inline constexpr int kArchiveOk = 0;
inline constexpr int kArchiveEof = 1;
inline constexpr int kArchiveWarn = -20;
inline constexpr int kArchiveFatal = -30;
inline constexpr int kArchiveFormatRaw = 0x90000;
inline constexpr unsigned kArchiveRegularFile = 0100000;   // AE_IFREG
inline constexpr unsigned kArchiveFileTypeMask = 0170000;  // AE_IFMT

// The filters and formats read, each by the library's own code, in the
// order ArchiveApi::support holds their registrations. None that would run
// an outside program (grzip, lrzip, lzop, ...) is among them; a library built
// without the code for one of these answers its registration with a
// warning, and it is then left out (archive_reader.cc).
inline constexpr const char* kArchiveSupportNames[] = {
    "archive_read_support_filter_gzip", "archive_read_support_filter_bzip2",
    "archive_read_support_filter_xz",   "archive_read_support_filter_lzma",
    "archive_read_support_format_zip",  "archive_read_support_format_7zip",
    "archive_read_support_format_lha",  "archive_read_support_format_rar",
    "archive_read_support_format_rar5", "archive_read_support_format_tar",
    "archive_read_support_format_raw",
};
inline constexpr int kArchiveSupportCount =
    sizeof kArchiveSupportNames / sizeof kArchiveSupportNames[0];

// Reads more of an archive read through callbacks (archive_read_open):
// the bytes' place into *buffer, their count; 0 at the end, -1 on failure.
using ArchiveReadCallback = std::ptrdiff_t (*)(archive*, void* client, const void** buffer);

struct ArchiveApi {
  archive* (*readNew)();
  int (*openCallbacks)(archive*, void* client, int (*open)(archive*, void*),
                       ArchiveReadCallback read, int (*close)(archive*, void*));
  int (*support[kArchiveSupportCount])(archive*);
  int (*setFormatOption)(archive*, const char*, const char*, const char*);
  int (*openFilename)(archive*, const char*, std::size_t);
  int (*openMemory)(archive*, const void*, std::size_t);
  int (*nextHeader)(archive*, archive_entry**);
  std::ptrdiff_t (*readData)(archive*, void*, std::size_t);
  const char* (*errorString)(archive*);
  int (*readFree)(archive*);
  int (*format)(archive*);
  const char* (*entryPathname)(archive_entry*);
  const wchar_t* (*entryPathnameW)(archive_entry*);  // Windows' wide names; null elsewhere
  unsigned (*entryFiletype)(archive_entry*);
  int (*entrySizeIsSet)(archive_entry*);
  int64_t (*entrySize)(archive_entry*);
  int (*entryIsEncrypted)(archive_entry*);
};

// The library's table, loaded on the first call (loadArchiveLibrary); null
// when the library is not there or lacks a function.
const ArchiveApi* archiveLibrary();

// Loads the library file `name` (null: the platform's usual one) and fills
// *api. False when it cannot be loaded or lacks a function. Platform-specific.
bool loadArchiveLibrary(const char* name, ArchiveApi* api);

// Fills *api from a loaded library, each function looked up by its name with
// `lookup`; the wide names' function only `withWideNames`. False when one is
// missing.
using ArchiveSymbolLookup = void* (*)(void* library, const char* name);
bool fillArchiveApi(void* library, ArchiveSymbolLookup lookup, bool withWideNames, ArchiveApi* api);

// Runs the library's calls made between enter and leave in a locale whose
// characters are UTF-8, so that names the archive marks as UTF-8 come out
// as they are whatever the user's locale. Platform-specific; enter returns
// what leave needs.
void* enterArchiveLocale();
void leaveArchiveLocale(void* previous);

// The library's calls made while this lives read names in UTF-8.
class ArchiveLocale {
 public:
  ArchiveLocale() : previous(enterArchiveLocale()) {}
  ~ArchiveLocale() { leaveArchiveLocale(previous); }
  ArchiveLocale(const ArchiveLocale&) = delete;
  ArchiveLocale& operator=(const ArchiveLocale&) = delete;

 private:
  void* previous;
};

// The entry's name as UTF-8 into out[0..size) on systems whose library
// gives wide names (Windows: for a name it could not give as bytes in the C
// locale); false elsewhere.
bool wideEntryName(const ArchiveApi& api, archive_entry* entry, char* out, std::size_t size);

#endif  // D88CUT_PLATFORM_ARCHIVE_LIBRARY_H_
