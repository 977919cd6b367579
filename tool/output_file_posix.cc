#include "tool/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// Creates a fresh temporary file beside `path`, named into `temp`. Returns its
// descriptor, or -1 with errno set.
int createTemporary(const char* path, char* temp, std::size_t tempSize) {
  static unsigned serial = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int n = std::snprintf(temp, tempSize, "%s.%ld-%u.tmp", path,
                                static_cast<long>(getpid()), serial++);
    if (n < 0 || static_cast<std::size_t>(n) >= tempSize) {
      errno = ENAMETOOLONG;
      return -1;
    }
    // 0666 and the umask: the same permissions a plain create would give.
    const int fd = ::open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Writes all of data to fd; 0 or an errno value.
int writeAll(int fd, const uint8_t* data, std::size_t length) {
  while (length > 0) {
    const ssize_t n = ::write(fd, data, length);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    data += n;
    length -= static_cast<std::size_t>(n);
  }
  return 0;
}

}  // namespace

int replaceFile(const char* path, const uint8_t* data, std::size_t length) {
  char temp[4096];
  const int fd = createTemporary(path, temp, sizeof temp);
  if (fd < 0) return errno;
  int error = writeAll(fd, data, length);
  // The data must be on the disk before the name points at it.
  if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temp, path) != 0) error = errno;
  if (error != 0) ::unlink(temp);
  return error;
}
