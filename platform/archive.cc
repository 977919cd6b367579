// SPDX-License-Identifier: MIT
#include "platform/archive.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "platform/archive_library.h"
#include "platform/console.h"

namespace {

bool startsWith(const uint8_t* head, int32_t available, const char* signature, int32_t length) {
  return available >= length && std::memcmp(head, signature, static_cast<size_t>(length)) == 0;
}

// An LZH header names its method at byte 2: "-lh5-", "-lz4-" and the like.
bool isLzhHead(const uint8_t* head, int32_t available) {
  return available >= 7 && head[2] == '-' && head[3] == 'l' && (head[4] == 'h' || head[4] == 'z') &&
         head[6] == '-';
}

}  // namespace

void shiftJisNameToUtf8(const char* name, std::size_t length, char* out, std::size_t size) {
  std::size_t used = 0;
  for (std::size_t i = 0; i < length;) {
    const auto lead = static_cast<unsigned char>(name[i]);
    const std::size_t width = shiftJisCharLength(lead) == 2 && i + 1 < length ? 2 : 1;
    char utf8[8];
    std::size_t n = lead >= 0x80 ? shiftJisCharToUtf8(name + i, width, utf8) : 0;
    if (n == 0) {
      utf8[0] = name[i];
      n = 1;
    }
    const std::size_t step = n == 1 && utf8[0] == name[i] ? 1 : width;
    if (used + n >= size) break;
    std::memcpy(out + used, utf8, n);
    used += n;
    i += step;
  }
  out[used] = '\0';
}

ArchiveKind archiveKindOf(const uint8_t* head, int32_t available) {
  if (startsWith(head, available, "PK\x03\x04", 4) ||
      startsWith(head, available, "PK\x05\x06", 4) ||
      startsWith(head, available, "PK\x07\x08", 4)) {
    return ArchiveKind::kZip;
  }
  if (startsWith(head, available, "7z\xBC\xAF\x27\x1C", 6)) return ArchiveKind::kSevenZip;
  if (startsWith(head, available, "Rar!\x1A\x07", 6)) return ArchiveKind::kRar;
  if (startsWith(head, available, "\x1F\x8B", 2)) return ArchiveKind::kGzip;
  if (startsWith(head, available,
                 "\xFD"
                 "7zXZ\x00",
                 6))
    return ArchiveKind::kXz;
  if (startsWith(head, available, "BZh", 3) && available >= 4 && head[3] >= '1' && head[3] <= '9') {
    return ArchiveKind::kBzip2;
  }
  if (isLzhHead(head, available)) return ArchiveKind::kLzh;
  // POSIX and GNU tar both mark their first header block so.
  if (available >= 262 && std::memcmp(head + 257, "ustar", 5) == 0) return ArchiveKind::kTar;
  return ArchiveKind::kNone;
}

const char* archiveKindName(ArchiveKind kind) {
  switch (kind) {
    case ArchiveKind::kZip:
      return "zip archive";
    case ArchiveKind::kSevenZip:
      return "7z archive";
    case ArchiveKind::kLzh:
      return "LZH archive";
    case ArchiveKind::kRar:
      return "RAR archive";
    case ArchiveKind::kTar:
      return "tar archive";
    case ArchiveKind::kGzip:
      return "gzip file";
    case ArchiveKind::kXz:
      return "xz file";
    case ArchiveKind::kBzip2:
      return "bzip2 file";
    case ArchiveKind::kNone:
      break;
  }
  return "file";
}

bool HeldBytes::reserve(int64_t wanted) {
  if (wanted <= capacity - length) return true;
  int64_t grown = capacity < 65536 ? 65536 : capacity * 2;
  if (grown - length < wanted) grown = length + wanted;
  if (static_cast<uint64_t>(grown) > SIZE_MAX) return false;
  void* moved = std::realloc(bytes, static_cast<size_t>(grown));
  if (moved == nullptr) return false;
  bytes = static_cast<uint8_t*>(moved);
  capacity = grown;
  return true;
}

void HeldBytes::release() {
  std::free(bytes);
  bytes = nullptr;
  length = 0;
  capacity = 0;
}

int readWholeStream(std::FILE* stream, int64_t limit, HeldBytes* held) {
  for (;;) {
    if (held->size() > limit) return EFBIG;
    if (!held->reserve(65536)) return ENOMEM;
    const int64_t want =
        held->room() < limit + 1 - held->size() ? held->room() : limit + 1 - held->size();
    const std::size_t got = std::fread(held->end(), 1, static_cast<size_t>(want), stream);
    held->grow(static_cast<int64_t>(got));
    if (got < static_cast<size_t>(want)) {
      if (std::ferror(stream)) return errno != 0 ? errno : EIO;
      return held->size() > limit ? EFBIG : 0;
    }
  }
}

int readStandardInput(int64_t limit, HeldBytes* held) {
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);  // not as text: a 0x1A or CR LF is a byte like any
#endif
  return readWholeStream(stdin, limit, held);
}

bool standardInputIsTerminal() {
#if defined(_WIN32)
  // A console: _isatty would also call the NUL device one.
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
  return isatty(STDIN_FILENO) != 0;
#endif
}
