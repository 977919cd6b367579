#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails unless every program given needs the C library alone: no C++
# runtime, libm or libgcc_s among its needed shared libraries.
#   tests/needed_libraries.sh PROGRAM...
set -euo pipefail
needed() {
  if command -v readelf >/dev/null; then
    readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
  else
    objdump -p "$1" | awk '$1 == "NEEDED" { print $2 }'
  fi
}
status=0
for program in "$@"; do
  libraries=$(needed "$program" | tr '\n' ' ')
  for library in $libraries; do
    case $library in
      libc.so.*) ;;
      *) echo "FAIL: $program needs $library"; status=1 ;;
    esac
  done
  echo "$program needs: ${libraries:-nothing}"
done
exit $status
