#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Counts the system calls of one d88cut run on the sample set (five whole
# images) and fails above the limit, or when the run started a thread or a
# process; and fails unless a walk of a folder starts a thread for each core
# but one (seven at most) and reads each file of another kind in four calls
# (open, its length, one read, close). Deterministic for a fixed input,
# build and machine; exits 77 (skipped) without strace.
#   tests/system_calls.sh BIN_DIR LIMIT
set -euo pipefail
bin=$(cd "$1" && pwd)
limit=$2
command -v strace >/dev/null || { echo "strace not found: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/make_sample" "$work/sample.d88"
mkdir "$work/run"
(cd "$work/run" && strace -f -c -o "$work/calls" "$bin/d88cut" ../sample.d88 >"$work/out" 2>"$work/err")
# The summary's total line: "100.00 seconds usecs/call calls [errors] total".
calls=$(awk '$NF == "total" { print $4 }' "$work/calls")
# Threads and programs started (the one execve is strace starting d88cut).
started() { awk '$NF ~ /^(clone|clone3|fork|vfork|execve)$/ { n += $4 } END { print n - 1 }' "$1"; }
echo "system calls of one run: $calls (limit $limit); threads or programs started: $(started "$work/calls")"
[ "$calls" -le "$limit" ] && [ "$(started "$work/calls")" -eq 0 ] || exit 1
mkdir "$work/folder"
cp "$work/sample.d88" "$work/folder/"
(cd "$work/run" && strace -f -c -o "$work/walk" "$bin/d88cut" -n ../folder >/dev/null 2>&1)
cores=$(nproc)
want=$(((cores < 8 ? cores : 8) - 1))
echo "a walk on $cores cores started $(started "$work/walk") threads (want $want)"
[ "$(started "$work/walk")" -eq "$want" ] || exit 1
# The calls on files of a walk of 20 notes, less those of an empty folder's.
file_calls() {
  (cd "$work/run" && strace -f -c -o "$work/files" "$bin/d88cut" -n "$1" >/dev/null 2>&1)
  awk '$NF ~ /^(openat|open|read|pread64|lseek|close|newfstatat|fstat|statx)$/ { n += $4 }
       END { print n }' "$work/files"
}
mkdir "$work/empty" "$work/notes"
for i in $(seq 10 29); do printf 'a note\n%.0s' $(seq 100) >"$work/notes/note$i.txt"; done
extra=$(($(file_calls ../notes) - $(file_calls ../empty)))
echo "a walk of 20 notes: $extra calls on files more than an empty folder's (want 80)"
[ "$extra" -le 80 ]
