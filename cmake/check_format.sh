#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails, naming each file and line, when a C++ file of the project differs
# from what clang-format makes of it under .clang-format.
# Usage: cmake/check_format.sh [clang-format program]
set -euo pipefail
cd "$(dirname "$0")/.."
format=${1:-clang-format}
mapfile -t files < <(git ls-files '*.cc' '*.h')
if ! "$format" --dry-run --Werror "${files[@]}"; then
  echo "check_format: files differ from .clang-format; run: $format -i \$(git ls-files '*.cc' '*.h')" >&2
  exit 1
fi
echo "check_format: ${#files[@]} files match .clang-format"
