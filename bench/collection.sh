#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A synthetic collection, made here: loose D88 files of other software, other
# files, zips, zips of zips, 7z and tar.gz, and the game's disks in four
# places. Times, paired in one run (medians of ROUNDS, page cache warm):
#   - d88cut -n over the loose part against cat of its files;
#   - d88cut -n over the archives against bsdtar -xOf of each to /dev/null
#     (the decompression floor; libarchive-tools), when bsdtar is there;
#   - d88cut -n over the whole tree against cat of all its files;
#   - each walk on every core against the same held to one (taskset);
# and prints d88cut's peak memory over the whole tree.
#   bench/collection.sh [BUILD_DIR] [FILES] [ROUNDS]
# FILES (default 1000) scales the collection: about 200 KB a file, so
# 10000 makes the 2 GB of a collector's folders.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
count=${2:-1000}
rounds=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bin/make_sample" "$work/sample.d88"
python3 - "$work" "$count" <<'PY'
import os, struct, sys, tarfile, zipfile
work, count = sys.argv[1], int(sys.argv[2])
sample = open(os.path.join(work, "sample.d88"), "rb").read()
size = struct.unpack_from("<I", sample, 0x1C)[0]
system, rest = sample[:size], sample[size:]
boot = struct.unpack_from("<I", system, 0x20)[0] + 16
other = bytearray(rest[:struct.unpack_from("<I", rest, 0x1C)[0]])
other[struct.unpack_from("<I", other, 0x20)[0] + 16 + 255] = 9  # no disk of the game
loose = os.path.join(work, "tree", "loose")
packs = os.path.join(work, "tree", "packs")
os.makedirs(loose), os.makedirs(packs)
for i in range(count * 8 // 10):
    folder = os.path.join(loose, f"title{i // 50:03d}")
    os.makedirs(folder, exist_ok=True)
    if i % 4 == 3:
        open(os.path.join(folder, f"notes{i}.txt"), "w").write("a title's notes\n" * 400)
    else:
        other[0:6] = b"%06d" % i
        open(os.path.join(folder, f"disk{i}.d88"), "wb").write(other)
open(os.path.join(loose, "title000", "game-system.d88"), "wb").write(system)
open(os.path.join(loose, "title000", "game-rest.d88"), "wb").write(rest)
for i in range(count // 10):
    inner = os.path.join(work, "inner.zip")
    with zipfile.ZipFile(inner, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("readme.txt", "notes\n" * 100)
        z.writestr(f"disk{i}.d88", bytes(other))
    with zipfile.ZipFile(os.path.join(packs, f"pack{i}.zip"), "w") as z:
        z.write(inner, f"set{i}.zip")
        z.writestr(f"other{i}.d88", bytes(other))
    with tarfile.open(os.path.join(packs, f"bundle{i}.tar.gz"), "w:gz") as t:
        t.add(os.path.join(work, "sample.d88") if i == 0 else inner, arcname=f"set{i}.d88")
PY
if command -v 7z >/dev/null; then
  (cd "$work/tree/packs" && 7z a -bd -t7z game.7z ../loose/title000/game-system.d88 >/dev/null)
fi

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
nanos() { date +%s%N; }
# Times "$@" ROUNDS times; prints the median in microseconds.
timed() {
  for ((i = 0; i < rounds; i++)); do
    local start end
    start=$(nanos)
    "$@" >/dev/null 2>&1 || true
    end=$(nanos)
    echo $(((end - start) / 1000))
  done | median
}
mapfile -t loose < <(find "$work/tree/loose" -type f | sort)
mapfile -t archives < <(find "$work/tree/packs" -type f | sort)
cat "${loose[@]}" "${archives[@]}" >/dev/null  # warm
bytes=$(du -sb "$work/tree" | cut -f1)
echo "collection: $(find "$work/tree" -type f | wc -l) files, $bytes bytes"
walk_us=$(timed "$build/bin/d88cut" -n "$work/tree/loose")
cat_us=$(timed cat "${loose[@]}")
awk -v a="$walk_us" -v b="$cat_us" 'BEGIN { printf "loose:    d88cut -n %d us, cat %d us, ratio %.2f\n", a, b, a / b }'
packs_us=$(timed "$build/bin/d88cut" -n "$work/tree/packs")
if command -v bsdtar >/dev/null; then
  unpack() { for a in "${archives[@]}"; do bsdtar -xOf "$a" >/dev/null; done; }
  floor_us=$(timed unpack)
  awk -v a="$packs_us" -v b="$floor_us" 'BEGIN { printf "archives: d88cut -n %d us, bsdtar -xOf %d us, ratio %.2f\n", a, b, a / b }'
else
  echo "archives: d88cut -n ${packs_us} us (install libarchive-tools for the bsdtar floor)"
fi
# The whole tree, a dry run against cat of every file.
tree_us=$(timed "$build/bin/d88cut" -n "$work/tree")
all_us=$(timed cat "${loose[@]}" "${archives[@]}")
awk -v a="$tree_us" -v b="$all_us" 'BEGIN { printf "tree:     d88cut -n %d us, cat %d us, ratio %.2f\n", a, b, a / b }'
# The same walks held to one core (taskset), against every core.
cores=$(nproc)
if command -v taskset >/dev/null && [ "$cores" -ge 2 ]; then
  one_loose_us=$(timed taskset -c 0 "$build/bin/d88cut" -n "$work/tree/loose")
  one_packs_us=$(timed taskset -c 0 "$build/bin/d88cut" -n "$work/tree/packs")
  awk -v c="$cores" -v a="$one_loose_us" -v b="$walk_us" -v d="$one_packs_us" -v e="$packs_us" \
    'BEGIN { printf "cores:    %d cores against one: loose %.2f x faster, archives %.2f x faster\n", c, a / b, d / e }'
fi
/usr/bin/env time -f "peak memory: %M KB" "$build/bin/d88cut" -n "$work/tree" 2>&1 >/dev/null | tail -1
