#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Counts the system calls of one d88cut run on the sample set (five whole
# images) and fails above the limit, or when the run started a thread or a
# process; and fails unless a walk of a folder starts a thread for each core
# but one (seven at most). Deterministic for a fixed input, build and
# machine; exits 77 (skipped) without strace.
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
[ "$(started "$work/walk")" -eq "$want" ]
