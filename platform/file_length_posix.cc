// SPDX-License-Identifier: MIT
#include <sys/stat.h>

#include "platform/file_length.h"

int64_t fileLength(const char* path) {
  struct stat status;
  if (::stat(path, &status) != 0) return -1;
  return static_cast<int64_t>(status.st_size);
}
