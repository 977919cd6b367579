#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds d88cut and runs every test: `./test.sh`. What the tests need and a
# Debian machine lacks (CMake, Ninja, a C++ compiler, GoogleTest,
# nlohmann-json; libarchive, Python, xz, 7z, jLHA and a JDK for the
# archives) is installed first with apt-get, saying what; as root
# directly, otherwise through sudo. Without apt-get it names the packages
# and stops.
set -euo pipefail
cd "$(dirname "$0")"

needed=(cmake ninja-build g++ libgtest-dev nlohmann-json3-dev
        libarchive13 python3 xz-utils p7zip-full jlha-utils default-jdk-headless)
missing=()
if command -v dpkg >/dev/null 2>&1; then
  for pkg in "${needed[@]}"; do
    dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
  done
fi

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    as_root=()
  elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    echo "test.sh: the tests need ${missing[*]}; install them (apt-get install ${missing[*]}) and run again" >&2
    exit 1
  fi
  echo "test.sh: installing ${missing[*]} (apt-get)"
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
fi

exec cmake --workflow --preset test
