// SPDX-License-Identifier: MIT
#include "platform/temporary_file.h"

#include <cerrno>
#include <cstdio>

int createTemporaryFile(const char* path, char* temp, std::size_t tempSize) {
  static unsigned serial = 0;  // a plain static: set once, no guard needed
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int n = std::snprintf(temp, tempSize, "%s.%ld-%u.tmp", path, currentProcessId(),
                                serial++);
    if (n < 0 || static_cast<std::size_t>(n) >= tempSize) {
      errno = ENAMETOOLONG;
      return -1;
    }
    const int fd = createNewFile(temp);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}
