// SPDX-License-Identifier: MIT
// Replacing a file on Windows: C's rename fails over an existing file, so the
// finished temporary file is moved with MoveFileExW (REPLACE_EXISTING when it
// replaces, without it when the name must be free); an
// interruption from the console leaves no temporary file behind.
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/output_file.h"
#include "platform/temporary_file.h"

namespace {

long systemWrite(int fd, const uint8_t* data, std::size_t length) {
  const unsigned chunk = length > 0x40000000u ? 0x40000000u : static_cast<unsigned>(length);
  return _write(fd, data, chunk);
}

// Moves `from` to `to`, over what is there only when `replace` (else the
// move fails with ERROR_ALREADY_EXISTS in the same step); false with
// GetLastError set on failure.
bool moveTo(const char* from, const char* to, bool replace) {
  wchar_t wideFrom[MAX_PATH + 64];
  wchar_t wideTo[MAX_PATH + 64];
  if (MultiByteToWideChar(CP_ACP, 0, from, -1, wideFrom, MAX_PATH + 64) == 0 ||
      MultiByteToWideChar(CP_ACP, 0, to, -1, wideTo, MAX_PATH + 64) == 0) {
    return false;
  }
  const DWORD flags = (replace ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_WRITE_THROUGH;
  return MoveFileExW(wideFrom, wideTo, flags) != 0;
}

int errnoFromWindows(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_SHARING_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
      return ENOSPC;
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_FILE_NOT_FOUND:
      return ENOENT;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    default:
      return EIO;
  }
}

// Ctrl-C, Ctrl-Break and closing the window reach the process on a thread of
// their own, while a file may be being written. The handler marks the
// interruption and takes the lock that replacing a file holds from creating
// its temporary file until it is moved into place or removed; replacing gives
// up once it sees the mark, so the handler finds no temporary file and an
// earlier file intact. It keeps the lock, so that no file is begun after, and
// the default handler then ends the process as an interrupted console
// program (STATUS_CONTROL_C_EXIT); closing the window ends it all the same.
CRITICAL_SECTION replacing;
volatile LONG interrupted = 0;
bool handlerInstalled = false;

BOOL WINAPI onConsoleControl(DWORD) {
  InterlockedExchange(&interrupted, 1);
  EnterCriticalSection(&replacing);
  return FALSE;
}

void installControlHandler() {
  if (handlerInstalled) return;
  handlerInstalled = true;
  InitializeCriticalSection(&replacing);
  SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

bool wasInterrupted() { return InterlockedCompareExchange(&interrupted, 0, 0) != 0; }

// replaceFile's and placeNewFile's steps, under the lock.
int writeAndMove(const char* path, const uint8_t* data, std::size_t length, bool replace) {
  char temp[MAX_PATH + 64];
  const int fd = createTemporaryFile(path, temp, sizeof temp);
  if (fd < 0) return errno;
  int error = writeAll(fd, data, length, systemWrite);
  if (error == 0 && _commit(fd) != 0) error = errno;
  if (_close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && wasInterrupted()) error = EINTR;  // the earlier file stays
  if (error == 0) callBeforeMove(path);
  if (error == 0 && !moveTo(temp, path, replace)) error = errnoFromWindows(GetLastError());
  if (error != 0) _unlink(temp);
  return error;
}

}  // namespace

long currentProcessId() { return static_cast<long>(_getpid()); }

int createNewFile(const char* path) {
  return _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}

namespace {

int writeUnderLock(const char* path, const uint8_t* data, std::size_t length, bool replace) {
  installControlHandler();
  EnterCriticalSection(&replacing);
  const int error = wasInterrupted() ? EINTR : writeAndMove(path, data, length, replace);
  LeaveCriticalSection(&replacing);
  return error;
}

}  // namespace

int replaceFile(const char* path, const uint8_t* data, std::size_t length) {
  return writeUnderLock(path, data, length, true);
}

int placeNewFile(const char* path, const uint8_t* data, std::size_t length) {
  return writeUnderLock(path, data, length, false);
}

int probeNewFile(const char* path) {
  char temp[MAX_PATH + 64];
  const int fd = createTemporaryFile(path, temp, sizeof temp);
  if (fd < 0) return errno;
  _close(fd);
  _unlink(temp);
  return 0;
}

bool fileIdentityOf(const char* path, bool followLink, FileIdentity* identity) {
  wchar_t wide[MAX_PATH + 64];
  if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH + 64) == 0) return false;
  // No access asked: a file open elsewhere, even for writing, can be looked at.
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  HANDLE file = CreateFileW(wide, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  if (!known) return false;
  *identity = FileIdentity{info.dwVolumeSerialNumber,
                           uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
  return true;
}

bool standardInputIdentity(FileIdentity* identity) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE || GetFileType(input) != FILE_TYPE_DISK) {
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(input, &info) == 0) return false;
  *identity = FileIdentity{info.dwVolumeSerialNumber,
                           uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
  return true;
}

bool fileExists(const char* path) {
  return _access(path, 0) == 0;  // the programs' code page is UTF-8 (the manifest)
}

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// mkdir -p: makes each missing folder of `dir`, parents first, past a drive
// ("C:") or share ("\\\\host\\share") at its start.
int makeFolders(const char* dir) {
  char path[4096];
  const std::size_t length = std::strlen(dir);
  if (length >= sizeof path) return ENAMETOOLONG;
  std::memcpy(path, dir, length + 1);
  std::size_t i = length >= 2 && path[1] == ':' ? 2 : 0;
  while (i < length && isSeparator(path[i])) ++i;
  for (; i <= length; ++i) {
    if (path[i] != '\0' && !isSeparator(path[i])) continue;
    const char separator = path[i];
    path[i] = '\0';
    if (_mkdir(path) != 0 && errno != EEXIST) return errno;
    path[i] = separator;
  }
  return 0;
}

}  // namespace

int prepareOutputFolder(const char* dir, bool create) {
  struct _stat64 status;
  if (_stat64(dir, &status) != 0) {
    if (errno != ENOENT) return errno;
    if (!create) return 0;
    const int error = makeFolders(dir);
    if (error != 0) return error;
    if (_stat64(dir, &status) != 0) return errno;
  }
  if ((status.st_mode & _S_IFDIR) == 0) return ENOTDIR;
  return _access(dir, 2) == 0 ? 0 : errno;
}

bool fullPathOf(const char* path, char* out, std::size_t size) {
  return _fullpath(out, path, size) != nullptr;
}
