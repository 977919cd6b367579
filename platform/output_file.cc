// SPDX-License-Identifier: MIT
#include "platform/output_file.h"

#include <cerrno>
#include <cstdio>

#include "platform/temporary_file.h"

namespace {

BeforeMoveCall beforeMove = nullptr;
bool claimFirst = false;

}  // namespace

void setClaimNameFirst(bool always) { claimFirst = always; }

bool claimNameFirst() { return claimFirst; }

void setBeforeMoveCall(BeforeMoveCall call) { beforeMove = call; }

void callBeforeMove(const char* path) {
  if (beforeMove != nullptr) beforeMove(path);
}

int createTemporaryFile(const char* path, char* temp, std::size_t tempSize) {
  static unsigned serial = 0;  // a plain static: set once, no guard needed
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int n =
        std::snprintf(temp, tempSize, "%s.%ld-%u.tmp", path, currentProcessId(), serial++);
    if (n < 0 || static_cast<std::size_t>(n) >= tempSize) {
      errno = ENAMETOOLONG;
      return -1;
    }
    const int fd = createNewFile(temp);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

int writeAll(int fd, const uint8_t* data, std::size_t length, WriteCall write) {
  while (length > 0) {
    const long n = write(fd, data, length);
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
