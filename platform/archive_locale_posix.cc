// SPDX-License-Identifier: MIT
// The UTF-8 locale libarchive's calls run in, on POSIX and in the page: names
// an archive marks as UTF-8, or stores as UTF-16 (7z), come out as UTF-8
// whatever the program's own locale.
#include <locale.h>

#include "platform/archive_library.h"
#include "platform/threads.h"

namespace {

locale_t utf8Locale = static_cast<locale_t>(0);

}  // namespace

void* enterArchiveLocale() {
  lockShared();  // made once, perhaps on one of a walk's threads
  if (utf8Locale == static_cast<locale_t>(0)) {
    utf8Locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  }
  const locale_t made = utf8Locale;
  unlockShared();
  return made == static_cast<locale_t>(0) ? nullptr : uselocale(made);
}

void leaveArchiveLocale(void* previous) {
  if (previous != nullptr) uselocale(static_cast<locale_t>(previous));
}
