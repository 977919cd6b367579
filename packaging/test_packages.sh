#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Tests the packages that `cmake --workflow --preset package` and
# `... package-windows` wrote: the Debian package installs, works and is
# removed whole; the tarball's programs and the zip's d88cut.exe (under wine)
# run the road of one run on the sample set. Installs into this machine:
# for CI. Needs root, dpkg, man-db, unzip and wine.
#   packaging/test_packages.sh [SAMPLE_MAKER]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
version=$(sed -n 's/^project(d88cut VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=build-package/d88cut_${version}_amd64.deb
tarball=build-package/d88cut-${version}-Linux-x86_64.tar.gz
zip=build-windows-package/d88cut-${version}-win64.zip
maker=${1:-build/bin/make_sample}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$maker" "$work/sample.d88"

recognised=$'\x82\xf0\x94\x46\x8e\xaf\x82\xb5\x82\xdc\x82\xb5\x82\xbd.'
road="SYSTEM DISK$recognised
cutting ... LOADER
cutting ... DRIVER
cutting ... MUSIC
SCENARIO DISK 4 $recognised
cutting ... MUSIC2
SCENARIO DISK 2 $recognised
SCENARIO DISK 3 $recognised
SCENARIO DISK 1 $recognised"

# check_road WHAT DIR OUTPUT: the messages and the four files.
check_road() {
  [ "$3" = "$road" ] || { echo "FAIL: $1: the messages differ:"; printf '%s\n' "$3" | od -c | head; exit 1; }
  for f in LOADER:16384 DRIVER:7552 MUSIC:56540 MUSIC2:11970; do
    [ "$(wc -c <"$2/${f%%:*}")" = "${f##*:}" ] || { echo "FAIL: $1: ${f%%:*} is not ${f##*:} bytes"; exit 1; }
  done
  echo "ok: $1"
}

# The Debian package: it depends on the C library alone, as its programs do.
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == libc6* && $depends != *,* ]] || { echo "FAIL: the package depends on: $depends"; exit 1; }
[ "$(dpkg-deb -f "$deb" Recommends)" = libarchive13 ] || { echo "FAIL: the package does not recommend libarchive13"; exit 1; }
contents=$(dpkg -c "$deb")
for path in ./usr/share/doc/d88cut/copyright ./usr/share/doc/d88cut/changelog.gz \
            ./usr/share/man/man1/d88cut.1.gz ./usr/share/man/man1/d88info.1.gz; do
  grep -q " $path\$" <<<"$contents" || { echo "FAIL: the package lacks $path"; exit 1; }
done
dpkg -i "$deb" >/dev/null
tests/needed_libraries.sh /usr/bin/d88cut /usr/bin/d88info >/dev/null ||
  { echo "FAIL: the installed programs need more than the C library"; exit 1; }
[ "$(d88cut --version)" = "d88cut $version" ] || { echo "FAIL: installed d88cut --version"; exit 1; }
[ "$(command -v d88cut)" = /usr/bin/d88cut ] || { echo "FAIL: d88cut is not /usr/bin/d88cut"; exit 1; }
[ "$(man -w d88cut)" = /usr/share/man/man1/d88cut.1.gz ] || { echo "FAIL: man -w d88cut"; exit 1; }
d88info --version >/dev/null
mkdir "$work/deb" && check_road "installed package" "$work/deb" "$(cd "$work/deb" && d88cut ../sample.d88)"
installed=$(dpkg -L d88cut)
dpkg -r d88cut >/dev/null
while read -r path; do
  if [ -f "$path" ] || [ -L "$path" ]; then echo "FAIL: dpkg -r left $path"; exit 1; fi
done <<<"$installed"
echo "ok: dpkg -r removed every file"

# The tarball.
tar -xzf "$tarball" -C "$work"
top="$work/d88cut-${version}-Linux-x86_64"
[ "$("$top/bin/d88cut" --version)" = "d88cut $version" ] || { echo "FAIL: tarball --version"; exit 1; }
grep -q "^License: Expat" "$top/share/doc/d88cut/copyright" || { echo "FAIL: the tarball has no licence"; exit 1; }
# The README's install into ~/.local: bin/ and share/man/ straight in the prefix.
mkdir "$work/local" && tar -xzf "$tarball" -C "$work/local" --strip-components=1
[ -x "$work/local/bin/d88cut" ] && [ -f "$work/local/share/man/man1/d88cut.1.gz" ] ||
  { echo "FAIL: the README's tar command does not install into a prefix"; exit 1; }
mkdir "$work/tar" && check_road "tarball" "$work/tar" "$(cd "$work/tar" && "$top/bin/d88cut" ../sample.d88)"

# The zip: exactly the two programs, libarchive.dll, the README and the
# licences, and d88cut.exe runs, on a D88 file and on a zip of it.
listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
expected=""
for file in LICENSE-libarchive.txt LICENSE.txt README.txt d88cut.exe d88info.exe libarchive.dll; do
  expected+="d88cut-${version}-win64/$file "
done
[ "$listed" = "$expected" ] || { echo "FAIL: the zip holds: $listed"; exit 1; }
unzip -q "$zip" -d "$work"
win="$work/d88cut-${version}-win64"
for text in README.txt LICENSE.txt LICENSE-libarchive.txt; do
  grep -q $'\r$' "$win/$text" || { echo "FAIL: $text has no CR LF line ends"; exit 1; }
done
mkdir "$work/zip"
shown=$(cd "$work/zip" && "$root/cmake/wine-run.sh" "$win/d88cut.exe" ../sample.d88 | tr -d '\r')
check_road "zip under wine" "$work/zip" "$shown"
(cd "$work" && python3 -c 'import zipfile; zipfile.ZipFile("sample.zip", "w", zipfile.ZIP_DEFLATED).write("sample.d88")')
mkdir "$work/zipped"
shown=$(cd "$work/zipped" && "$root/cmake/wine-run.sh" "$win/d88cut.exe" ../sample.zip | tr -d '\r' |
  grep -avx '../sample.zip:sample.d88:')
check_road "a zip of the set, under wine" "$work/zipped" "$shown"
