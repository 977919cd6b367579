#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times `d88info --json` over a batch of D88 files of 0.3 to 1.3 MB against
# `cat` of the same files, side by side in one run.
#   bench/info_speed.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
build=${1:-build}
rounds=${2:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=bench/batch.sh
. "$(dirname "$0")/batch.sh"
make_batch "$build" "$work"

nanos() { date +%s%N; }
time_rounds() {
  local start end
  start=$(nanos)
  for ((i = 0; i < rounds; i++)); do "$@" >/dev/null; done
  end=$(nanos)
  echo $(((end - start) / rounds / 1000))
}

cat "${files[@]}" >/dev/null  # warm the page cache
bytes=$(cat "${files[@]}" | wc -c)
cat_us=$(time_rounds cat "${files[@]}")
info_us=$(time_rounds "$build/bin/d88info" --json "${files[@]}")
echo "files ${#files[@]}, $bytes bytes, $rounds rounds"
echo "cat:            ${cat_us} us per round"
echo "d88info --json: ${info_us} us per round"
awk -v a="$info_us" -v b="$cat_us" 'BEGIN { printf "ratio: %.2f\n", a / b; exit !(a <= 2 * b) }'
