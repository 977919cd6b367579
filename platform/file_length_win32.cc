// SPDX-License-Identifier: MIT
// The programs' manifest makes UTF-8 their code page, so the narrow path
// names any file.
#include <sys/stat.h>
#include <sys/types.h>

#include "platform/file_length.h"

int64_t fileLength(const char* path) {
  struct _stat64 status;
  if (_stat64(path, &status) != 0) return -1;
  return static_cast<int64_t>(status.st_size);
}
