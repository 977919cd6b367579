// SPDX-License-Identifier: MIT
// libarchive linked in (the web page): the table points at its functions,
// each through a wrapper of the table's own type, so that no call is made
// through a pointer of another type.
#include <archive.h>
#include <archive_entry.h>

#include "platform/archive_library.h"

namespace {

archive* readNew() { return archive_read_new(); }
// The one read callback the reader gives, called through a function of the
// library's own type (its ssize_t is not ptrdiff_t's type here).
ArchiveReadCallback readCallback = nullptr;
la_ssize_t readThrough(archive* a, void* client, const void** buffer) {
  return static_cast<la_ssize_t>(readCallback(a, client, buffer));
}
int openCallbacks(archive* a, void* client, int (*)(archive*, void*), ArchiveReadCallback read,
                  int (*)(archive*, void*)) {
  readCallback = read;
  return archive_read_open(a, client, nullptr, readThrough, nullptr);
}
int setFormatOption(archive* a, const char* module, const char* option, const char* value) {
  return archive_read_set_format_option(a, module, option, value);
}
int openFilename(archive* a, const char* path, std::size_t block) {
  return archive_read_open_filename(a, path, block);
}
int openMemory(archive* a, const void* bytes, std::size_t size) {
  return archive_read_open_memory(a, bytes, size);
}
int nextHeader(archive* a, archive_entry** entry) { return archive_read_next_header(a, entry); }
std::ptrdiff_t readData(archive* a, void* buffer, std::size_t size) {
  return static_cast<std::ptrdiff_t>(archive_read_data(a, buffer, size));
}
const char* errorString(archive* a) { return archive_error_string(a); }
int readFree(archive* a) { return archive_read_free(a); }
int format(archive* a) { return archive_format(a); }
const char* entryPathname(archive_entry* entry) { return archive_entry_pathname(entry); }
unsigned entryFiletype(archive_entry* entry) {
  return static_cast<unsigned>(archive_entry_filetype(entry));
}
int entrySizeIsSet(archive_entry* entry) { return archive_entry_size_is_set(entry); }
int64_t entrySize(archive_entry* entry) { return archive_entry_size(entry); }
int entryIsEncrypted(archive_entry* entry) { return archive_entry_is_encrypted(entry); }

// In the order of kArchiveSupportNames.
const ArchiveApi api = {readNew,
                        openCallbacks,
                        {archive_read_support_filter_gzip, archive_read_support_filter_bzip2,
                         archive_read_support_filter_xz, archive_read_support_filter_lzma,
                         archive_read_support_format_zip, archive_read_support_format_7zip,
                         archive_read_support_format_lha, archive_read_support_format_rar,
                         archive_read_support_format_rar5, archive_read_support_format_tar,
                         archive_read_support_format_raw},
                        setFormatOption,
                        openFilename,
                        openMemory,
                        nextHeader,
                        readData,
                        errorString,
                        readFree,
                        format,
                        entryPathname,
                        nullptr,
                        entryFiletype,
                        entrySizeIsSet,
                        entrySize,
                        entryIsEncrypted};

}  // namespace

bool loadArchiveLibrary(const char*, ArchiveApi* table) {  // linked in: nothing to load
  *table = api;
  return true;
}

bool wideEntryName(const ArchiveApi&, archive_entry*, char*, std::size_t) { return false; }
