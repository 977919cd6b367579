#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Counts the system calls of one d88cut run on the sample set (five whole
# images) and fails above the limit, or when the run started a thread or a
# process. Deterministic for a fixed input and build; exits 77 (skipped)
# without strace.
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
started=$(awk '$NF ~ /^(clone|clone3|fork|vfork|execve)$/ { n += $4 } END { print n + 0 }' "$work/calls")
echo "system calls of one run: $calls (limit $limit); threads or programs started: $((started - 1))"
# The one execve is strace starting d88cut.
[ "$calls" -le "$limit" ] && [ "$started" -eq 1 ]
