#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds libarchive (reading only: no tools, tests or crypto) with the zlib,
# liblzma and libbz2 it reads zip, 7z, xz, gzip and bzip2 with, for a
# target Debian ships no libarchive for, from Debian's own source packages
# at pinned versions:
#
#   cmake/archive_library.sh mingw   libarchive.dll (zlib, liblzma, libbz2 linked in)
#   cmake/archive_library.sh web     static libraries for Emscripten
#
# Prints the folder it installed into (include/, lib/, bin/). The sources
# are fetched with apt-get source through an apt configuration of this
# script's own (deb-src entries, lists and cache in the cache folder; the
# machine's apt is not touched). The result is cached outside any build
# folder, keyed by target and versions: ${D88CUT_DEPS_CACHE:-~/.cache/d88cut-deps}.
set -euo pipefail
target=${1:?usage: archive_library.sh mingw|web}
libarchive_version=3.6.2-1+deb12u5
xz_version=5.4.1-1+deb12u2
zlib_version=1:1.2.13.dfsg-1
bzip2_version=1.0.8-5
cache=${D88CUT_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/d88cut-deps}
key="$target-libarchive_${libarchive_version}-xz_${xz_version}-zlib_${zlib_version#*:}-bzip2_${bzip2_version}"
prefix="$cache/$key"
if [ -f "$prefix/done" ]; then
  echo "$prefix"
  exit 0
fi
mkdir -p "$cache"
exec 9>"$cache/lock"
flock 9  # two presets building at once build once
if [ -f "$prefix/done" ]; then
  echo "$prefix"
  exit 0
fi
say() { echo "archive_library.sh: $*" >&2; }

# The sources, fetched once for every target.
fetch_sources() {
  local apt="$cache/apt" src="$cache/sources"
  mkdir -p "$apt/lists/partial" "$apt/archives/partial" "$src"
  cat >"$apt/sources.list" <<EOF
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security bookworm-security main
EOF
  local options=(-o "Dir::Etc::sourcelist=$apt/sources.list" -o Dir::Etc::sourceparts=-
                 -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt" -o Debug::NoLocking=1
                 -o APT::Sandbox::User=root)
  if [ ! -f "$src/fetched-$key" ]; then
    say "fetching the sources of libarchive $libarchive_version, xz-utils $xz_version, zlib $zlib_version, bzip2 $bzip2_version"
    apt-get "${options[@]}" -qq update
    (cd "$src" && apt-get "${options[@]}" -qq source --download-only \
      "libarchive=$libarchive_version" "xz-utils=$xz_version" "zlib=$zlib_version" \
      "bzip2=$bzip2_version" >&2)
    touch "$src/fetched-$key"
  fi
  work="$cache/work-$target"
  rm -rf "$work"
  mkdir -p "$work"
  local dsc
  for dsc in "libarchive_${libarchive_version}" "xz-utils_${xz_version}" "zlib_${zlib_version#*:}" \
             "bzip2_${bzip2_version}"; do
    dpkg-source --no-check -x "$src/$dsc.dsc" "$work/${dsc%%_*}" >/dev/null
  done
}

# The target's compilers and CMake's way to them.
case "$target" in
  mingw)
    cc=x86_64-w64-mingw32-gcc-posix
    ar=x86_64-w64-mingw32-ar
    # The project's MinGW toolchain; a check that runs what it built is
    # answered no (zlib's WINAPI calling convention, unused here) rather than run.
    cmake_target=(-DCMAKE_TOOLCHAIN_FILE="$(cd "$(dirname "$0")" && pwd)/mingw-w64.cmake"
                  -DCMAKE_CROSSCOMPILING_EMULATOR=/bin/false)
    ;;
  web)
    export PATH="/usr/bin:$PATH"  # emcc's python3 straight, not through a version manager's shim
    cc=emcc
    ar=emar
    # Emscripten's objects do not show CMake their byte order: it is told.
    cmake_target=(-DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
                  -DCMAKE_C_BYTE_ORDER=LITTLE_ENDIAN -DCMAKE_CROSSCOMPILING_EMULATOR=/bin/false)
    ;;
  *) echo "archive_library.sh: unknown target $target (mingw or web)" >&2; exit 2 ;;
esac

fetch_sources
mkdir -p "$prefix/include" "$prefix/lib" "$prefix/bin"

# zlib: its library's sources, compiled as they are.
say "building zlib for $target"
(
  cd "$work/zlib"
  for c in adler32 crc32 deflate infback inffast inflate inftrees trees zutil uncompr compress; do
    $cc -O2 -c "$c.c" -o "$c.o"
  done
  $ar rcs "$prefix/lib/libz.a" ./*.o
  cp zlib.h zconf.h "$prefix/include/"
)

# libbz2: its library's sources. BZ_EXPORT declares its functions as plain
# functions on Windows too (without it bzlib.h declares pointers to a DLL's).
say "building libbz2 for $target"
(
  cd "$work/bzip2"
  for c in blocksort huffman crctable randtable compress decompress bzlib; do
    $cc -O2 -DBZ_EXPORT= -c "$c.c" -o "$c.o"
  done
  $ar rcs "$prefix/lib/libbz2.a" ./*.o
  cp bzlib.h "$prefix/include/"
)

# liblzma alone, through xz's own CMake build.
say "building liblzma for $target"
cmake -S "$work/xz-utils" -B "$work/xz-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  "${cmake_target[@]}" -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DCREATE_XZ_SYMLINKS=OFF -DCREATE_LZMA_SYMLINKS=OFF \
  -DCMAKE_C_FLAGS="-DLZMA_API_STATIC" >/dev/null
cmake --build "$work/xz-build" --target liblzma >/dev/null
cp "$work/xz-build/liblzma.a" "$prefix/lib/"
cp -r "$work/xz-utils/src/liblzma/api/lzma.h" "$work/xz-utils/src/liblzma/api/lzma" "$prefix/include/"

# libarchive: reading only, with the three libraries above and nothing else.
say "building libarchive for $target"
off=()
for option in MBEDTLS NETTLE OPENSSL LIBB2 LZ4 LZO ZSTD LIBXML2 EXPAT PCREPOSIX CNG \
              TAR CPIO CAT XATTR ACL TEST INSTALL; do
  off+=("-DENABLE_$option=OFF")
done
off+=(-DENABLE_ICONV=OFF)  # Windows converts names itself; the page has none
generator=(-G Ninja)
if [ "$target" = web ]; then
  # The checks answered; and Make, as Ninja refuses the shared library that
  # Emscripten builds static under the static one's name.
  off+=(-C "$(cd "$(dirname "$0")" && pwd)/archive_library_web.cmake")
  generator=(-G "Unix Makefiles")
fi
cmake -S "$work/libarchive" -B "$work/libarchive-build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
  "${cmake_target[@]}" "${off[@]}" -DPOSIX_REGEX_LIB=NONE -DENABLE_ZLIB=ON -DENABLE_LZMA=ON \
  -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" \
  -DLIBLZMA_INCLUDE_DIR="$prefix/include" -DLIBLZMA_LIBRARY="$prefix/lib/liblzma.a" \
  -DENABLE_BZip2=ON -DBZIP2_INCLUDE_DIR="$prefix/include" -DBZIP2_LIBRARIES="$prefix/lib/libbz2.a" \
  -DBZIP2_LIBRARY_RELEASE="$prefix/lib/libbz2.a" \
  -DCMAKE_C_FLAGS="-DLZMA_API_STATIC -DBZ_EXPORT=" -DCMAKE_SHARED_LINKER_FLAGS="-static-libgcc" >/dev/null
if [ "$target" = mingw ]; then
  cmake --build "$work/libarchive-build" --target archive >/dev/null
  cp "$work/libarchive-build/bin/libarchive.dll" "$prefix/bin/"
  x86_64-w64-mingw32-strip "$prefix/bin/libarchive.dll"
else
  cmake --build "$work/libarchive-build" --target archive_static -j 2 >/dev/null
  cp "$work/libarchive-build/libarchive/libarchive.a" "$prefix/lib/"
fi
cp "$work/libarchive/libarchive/archive.h" "$work/libarchive/libarchive/archive_entry.h" \
  "$prefix/include/"
# The licence shipped beside the DLL: libarchive's, then that of the bzip2
# library built into it (its binaries must carry the notice).
{
  cat "$work/libarchive/COPYING"
  printf '\n\nlibbz2, built into this libarchive:\n\n'
  cat "$work/bzip2/LICENSE"
} >"$prefix/COPYING.libarchive"
rm -rf "$work"
touch "$prefix/done"
say "built into $prefix"
echo "$prefix"
