// SPDX-License-Identifier: MIT
// The UTF-8 locale libarchive's calls run in, on POSIX and in the page: names
// an archive marks as UTF-8, or stores as UTF-16 (7z), come out as UTF-8
// whatever the program's own locale.
#include <locale.h>

#include "platform/archive_library.h"

namespace {

locale_t utf8Locale = static_cast<locale_t>(0);

}  // namespace

void* enterArchiveLocale() {
  if (utf8Locale == static_cast<locale_t>(0)) {
    utf8Locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (utf8Locale == static_cast<locale_t>(0)) return nullptr;
  }
  return uselocale(utf8Locale);
}

void leaveArchiveLocale(void* previous) {
  if (previous != nullptr) uselocale(static_cast<locale_t>(previous));
}
