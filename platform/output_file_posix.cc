// SPDX-License-Identifier: MIT
// Replacing a file on POSIX: a temporary file beside it, written, synced and
// renamed over it; signals that end the process remove the temporary file.
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/output_file.h"
#include "platform/temporary_file.h"

namespace {

// The temporary file being written, for the signal handler to remove. Both
// change only while the signals below are blocked.
char pendingTemp[4096];
volatile sig_atomic_t pendingArmed = 0;

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeTemporaryAndDie(int signal) {
  if (pendingArmed != 0) ::unlink(pendingTemp);
  // SA_RESETHAND restored the default action; the signal, blocked while this
  // handler runs, ends the process as soon as it returns.
  ::raise(signal);
}

// Installs the handlers once. A signal the process was started with ignored
// (nohup, a background job) stays ignored. SIGXFSZ is ignored, so that a
// file-size limit makes a write fail with EFBIG instead of killing the tool.
void installSignalHandlers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  struct sigaction action = {};
  action.sa_handler = removeTemporaryAndDie;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  for (int signal : kCleanupSignals) {
    struct sigaction previous = {};
    if (sigaction(signal, &action, &previous) == 0 && previous.sa_handler == SIG_IGN) {
      sigaction(signal, &previous, nullptr);
    }
  }
  ::signal(SIGXFSZ, SIG_IGN);
}

// Blocks the cleanup signals for the object's lifetime; keeps errno.
class BlockedSignals {
 public:
  BlockedSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kCleanupSignals) sigaddset(&set, signal);
    sigprocmask(SIG_BLOCK, &set, &previous_);
  }
  ~BlockedSignals() {
    const int saved = errno;
    sigprocmask(SIG_SETMASK, &previous_, nullptr);
    errno = saved;
  }
  BlockedSignals(const BlockedSignals&) = delete;
  BlockedSignals& operator=(const BlockedSignals&) = delete;

 private:
  sigset_t previous_;
};

// Creates a fresh temporary file beside `path`, named into pendingTemp, and
// arms the signal handler for it. Returns its descriptor, or -1 with errno set.
int createTemporary(const char* path) {
  const BlockedSignals blocked;
  const int fd = createTemporaryFile(path, pendingTemp, sizeof pendingTemp);
  if (fd >= 0) pendingArmed = 1;
  return fd;
}

long systemWrite(int fd, const uint8_t* data, std::size_t length) {
  return static_cast<long>(::write(fd, data, length));
}

}  // namespace

long currentProcessId() {
  static pid_t pid = 0;  // asked once: the tool never forks
  if (pid == 0) pid = getpid();
  return static_cast<long>(pid);
}

int createNewFile(const char* path) {
  // 0666 and the umask: the same permissions a plain create would give.
  return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

namespace {

// Moves the finished `temp` to `path`: over what is there when `replace`,
// else only where nothing is, failing with EEXIST in the same step.
// Returns 0 or an errno value.
int moveIntoPlace(const char* temp, const char* path, bool replace) {
  callBeforeMove(path);
  if (replace) return std::rename(temp, path) == 0 ? 0 : errno;
  if (!claimNameFirst()) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, temp, AT_FDCWD, path, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
#endif
    // A file system without it: a new link fails as well when the name is taken.
    if (::link(temp, path) == 0) {
      ::unlink(temp);
      return 0;
    }
    if (errno != EPERM && errno != EMLINK && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
  }
  // Nor links (FAT, some network file systems, the web page's in-memory
  // one): the name is claimed with an empty file of our own, in the one step
  // that fails when it is taken, and the finished file moved over our claim.
  const int claim = createNewFile(path);
  if (claim < 0) return errno;
  ::close(claim);
  if (std::rename(temp, path) == 0) return 0;
  const int error = errno;
  ::unlink(path);  // our own empty claim
  return error;
}

int writeAndMove(const char* path, const uint8_t* data, std::size_t length, bool replace) {
  installSignalHandlers();
  const int fd = createTemporary(path);
  if (fd < 0) return errno;
  int error = writeAll(fd, data, length, systemWrite);
  // The data must be on the disk before the name points at it.
  if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  // A signal before the move removes the temporary file; one after it
  // finds the name gone and leaves the finished file in place.
  if (error == 0) error = moveIntoPlace(pendingTemp, path, replace);
  if (error != 0) ::unlink(pendingTemp);
  pendingArmed = 0;
  return error;
}

}  // namespace

int replaceFile(const char* path, const uint8_t* data, std::size_t length) {
  return writeAndMove(path, data, length, true);
}

int placeNewFile(const char* path, const uint8_t* data, std::size_t length) {
  return writeAndMove(path, data, length, false);
}

int probeNewFile(const char* path) {
  char temp[sizeof pendingTemp];
  const int fd = createTemporaryFile(path, temp, sizeof temp);
  if (fd < 0) return errno;
  ::close(fd);
  ::unlink(temp);
  return 0;
}

bool fileIdentityOf(const char* path, bool followLink, FileIdentity* identity) {
  struct stat status;
  if ((followLink ? ::stat(path, &status) : ::lstat(path, &status)) != 0) return false;
  *identity =
      FileIdentity{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
  return true;
}

bool standardInputIdentity(FileIdentity* identity) {
  struct stat status;
  if (::fstat(STDIN_FILENO, &status) != 0 || !S_ISREG(status.st_mode)) return false;
  *identity =
      FileIdentity{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
  return true;
}

bool fileExists(const char* path) {
  struct stat status;
  return ::lstat(path, &status) == 0;
}

namespace {

// mkdir -p: makes each missing folder of `dir`, parents first.
int makeFolders(const char* dir) {
  char path[4096];
  const std::size_t length = std::strlen(dir);
  if (length >= sizeof path) return ENAMETOOLONG;
  std::memcpy(path, dir, length + 1);
  for (std::size_t i = 1; i <= length; ++i) {
    if (path[i] != '/' && path[i] != '\0') continue;
    const char separator = path[i];
    path[i] = '\0';
    if (::mkdir(path, 0777) != 0 && errno != EEXIST) return errno;
    path[i] = separator;
  }
  return 0;
}

}  // namespace

int prepareOutputFolder(const char* dir, bool create) {
  struct stat status;
  if (::stat(dir, &status) != 0) {
    if (errno != ENOENT) return errno;
    if (!create) return 0;
    const int error = makeFolders(dir);
    if (error != 0) return error;
    if (::stat(dir, &status) != 0) return errno;
  }
  if (!S_ISDIR(status.st_mode)) return ENOTDIR;
  return ::access(dir, W_OK | X_OK) == 0 ? 0 : errno;
}

bool fullPathOf(const char* path, char* out, std::size_t size) {
  char full[PATH_MAX];
  if (::realpath(path, full) == nullptr || std::strlen(full) >= size) return false;
  std::memcpy(out, full, std::strlen(full) + 1);
  return true;
}
