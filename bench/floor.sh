#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The programs' floor, in one run: for d88cut on the sample set (five whole
# images) and d88info --json on a batch of 33 files, the system calls of one
# run, the needed libraries, and the whole-process time against `cat` of the
# same files: the median of paired runs, cat and the program by turns.
#   bench/floor.sh [BUILD_DIR] [PAIRS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
pairs=${2:-51}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=bench/batch.sh
. "$here/batch.sh"
make_batch "$build" "$work"
mkdir "$work/cut"
cd "$work/cut"

nanos() { date +%s%N; }
# median_ratio COMMAND... -- COMMAND...: the median of PAIRS ratios of the
# second command's time to the first's, each pair run back to back.
median_ratio() {
  local first=() second=() i start middle end
  while [ "$1" != -- ]; do first+=("$1"); shift; done
  shift
  second=("$@")
  for ((i = 0; i < pairs; i++)); do
    start=$(nanos)
    "${first[@]}" >/dev/null 2>&1
    middle=$(nanos)
    "${second[@]}" >/dev/null 2>&1
    end=$(nanos)
    echo "$(((end - middle) * 1000 / (middle - start)))"
  done | sort -n | awk '{ r[NR] = $1 } END { printf "%.2f", r[int((NR + 1) / 2)] / 1000 }'
}

system_calls() {
  if ! command -v strace >/dev/null; then echo "(no strace)"; return; fi
  strace -f -c -o "$work/calls" "$@" >/dev/null 2>&1 || true
  awk '$NF == "total" { print $4 }' "$work/calls"
}

needed() { "$here/../tests/needed_libraries.sh" "$1" | sed -n 's/.* needs: //p'; }

cat "$work/sample.d88" "${files[@]}" >/dev/null  # warm the page cache
echo "d88cut on the sample set ($(wc -c <"$work/sample.d88") bytes):"
echo "  system calls:       $(system_calls "$build/bin/d88cut" "$work/sample.d88")"
echo "  needed libraries:   $(needed "$build/bin/d88cut")"
echo "  time against cat:   $(median_ratio cat "$work/sample.d88" -- "$build/bin/d88cut" "$work/sample.d88") (median of $pairs pairs)"
echo "d88info --json on ${#files[@]} files ($(cat "${files[@]}" | wc -c) bytes):"
echo "  system calls:       $(system_calls "$build/bin/d88info" --json "${files[@]}")"
echo "  needed libraries:   $(needed "$build/bin/d88info")"
echo "  time against cat:   $(median_ratio cat "${files[@]}" -- "$build/bin/d88info" --json "${files[@]}") (median of $pairs pairs)"
