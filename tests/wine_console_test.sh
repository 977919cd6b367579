#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows programs under wine: on a terminal (a pseudo-terminal made by
# `script`, so wine gives them a console) the Japanese reads as UTF-8; through
# a pipe the bytes are Shift_JIS with CR LF, as ever; a D88 file named in
# Japanese, in a folder named in Japanese with a blank, opens.
#   wine_console_test.sh BIN_DIR WINE_RUN
set -u
bin=$1
run=$2
export LANG=C.UTF-8
unset LC_ALL LC_CTYPE
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

# What a terminal shows of a run: wine's cursor and title sequences and the
# CRs removed. A program started on a terminal of its own is the only process
# on its console, as one started from Explorer is: d88cut then waits for
# Enter, which is pressed (a CR, not turned into LF) every second.
on_terminal() {
  local command
  command=$(printf '%q ' "$run" --terminal "$@")
  press_enter | script -qec "stty -icrnl cols 250 rows 50; $command" /dev/null |
    sed -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' -e 's/\x1b\][^\x07]*\x07//g' -e 's/\r//g'
}
press_enter() {
  for _ in $(seq 60); do
    sleep 1
    printf '\r' 2>/dev/null || return 0
  done
}
expect_line() {  # expect_line WHAT TEXT LINE
  grep -qxF -- "$3" <<<"$2" || fail "$1: no line '$3' in:"$'\n'"$2"
}

"$run" "$bin/make_sample.exe" sample.d88 || { echo "cannot write the sample"; exit 1; }
cp sample.d88 named.d88
printf '\x83\x65\x83\x58\x83\x67\0' | dd of=named.d88 conv=notrunc status=none  # テスト

shown=$(cd "$(mktemp -d -p .)" && on_terminal "$bin/d88cut.exe" ../sample.d88)
expect_line "d88cut on a console" "$shown" "SYSTEM DISKを認識しました."
expect_line "d88cut on a console" "$shown" "cutting ... MUSIC2"
expect_line "d88cut on a console" "$shown" "SCENARIO DISK 4 を認識しました."
expect_line "d88cut on a console" "$shown" "SCENARIO DISK 1 を認識しました."
expect_line "d88cut on its own console" "$shown" "Press Enter to close this window."
# A window of its own says where the files went, as a full Windows path.
grep -qE '^The files are in [A-Z]:\\.*tmp\.[A-Za-z0-9]+$' <<<"$shown" ||
  fail "d88cut on its own console does not say where the files are:"$'\n'"$shown"

shown=$(on_terminal "$bin/d88info.exe" named.d88)
expect_line "d88info on a console" "$shown" \
  'image 0  offset 0x00000000  size 415840  media 0x00 (2D)  protect 0x00  header 688  tracks 80  name "テスト"'
expect_line "d88info on a console" "$shown" "  system disk"

# Through a pipe: the bytes as ever.
mkdir piped && (cd piped && "$run" "$bin/d88cut.exe" ../sample.d88 >../piped.txt)
recognised=$'\x82\xf0\x94\x46\x8e\xaf\x82\xb5\x82\xdc\x82\xb5\x82\xbd.\r\n'
printf '%s' "SYSTEM DISK$recognised" $'cutting ... LOADER\r\ncutting ... DRIVER\r\ncutting ... MUSIC\r\n' \
  "SCENARIO DISK 4 $recognised" $'cutting ... MUSIC2\r\n' "SCENARIO DISK 2 $recognised" \
  "SCENARIO DISK 3 $recognised" "SCENARIO DISK 1 $recognised" >expected.txt
cmp -s piped.txt expected.txt || fail "d88cut through a pipe: $(od -c piped.txt | head -3)"
"$run" "$bin/d88info.exe" named.d88 | head -1 >info.txt
printf 'image 0  offset 0x00000000  size 415840  media 0x00 (2D)  protect 0x00  header 688  tracks 80  name "\x83\x65\x83\x58\x83\x67"\r\n' >expected.txt
cmp -s info.txt expected.txt || fail "d88info through a pipe: $(od -c info.txt | head -3)"

# A file of more than 2 GiB (sparse) has its true size, though a long is 32 bits.
cp sample.d88 big.d88 && truncate -s 2148532224 big.d88
"$run" "$bin/d88info.exe" --json big.d88 | grep -q '"size":2148532224,' ||
  fail "d88info does not tell the size of a file of 2 GiB and more"
rm -f big.d88

# Japanese names, with a blank.
folder="ゲーム フォルダ"
mkdir "$folder" cut && cp sample.d88 "$folder/ゲーム.d88"
(cd cut && "$run" "$bin/d88cut.exe" "../$folder/ゲーム.d88" >/dev/null) || fail "ゲーム.d88 was not cut"
[ "$(wc -c <cut/MUSIC 2>/dev/null)" = 56540 ] || fail "MUSIC from ゲーム.d88 is not 56540 bytes"
shown=$(on_terminal "$bin/d88cut.exe" "$folder/なし.d88")
expect_line "an open failure on a console" "$shown" "ファイルをオープンできません."
expect_line "an open failure on a console" "$shown" \
  "d88cut: cannot open $folder/なし.d88: No such file or directory"

# Wildcards, as cmd.exe passes them on: expanded by the program, in order.
mkdir wild && cp sample.d88 wild/disk1.d88 && cp sample.d88 wild/disk2.d88 &&
  cp "$bin/d88cut.exe" wild/
(cd wild && "$run" cmd /c 'd88cut.exe disk?.d88' >wild.txt)
grep -qx $'disk2.d88:\r' wild/wild.txt || fail "cmd /c d88cut.exe disk?.d88: $(head -3 wild/wild.txt)"
[ "$(wc -c <wild/MUSIC2 2>/dev/null)" = 11970 ] || fail "disk?.d88 did not cut MUSIC2"

# A log of files named in Japanese is Shift_JIS throughout, their names too.
(cd cut && "$run" "$bin/d88cut.exe" "../$folder/ゲーム.d88" ../sample.d88 >log.txt)
iconv -f CP932 -t UTF-8 cut/log.txt | grep -q "ゲーム.d88:" ||
  fail "a log of ゲーム.d88 is not Shift_JIS: $(head -c 80 cut/log.txt | od -c | head -3)"

# One log of both streams keeps their order: a warning follows its file's
# progress line. LOADER's first sector is marked as read with a CRC error.
cp sample.d88 damaged.d88
track1=$(od -An -tu4 -j36 -N4 damaged.d88 | tr -d ' ')
printf '\xB0' | dd of=damaged.d88 bs=1 seek=$((track1 + 8)) conv=notrunc status=none
# (--terminal: wine gets the one log as both streams, not the runner's two files.)
mkdir merged && (cd merged && "$run" --terminal "$bin/d88cut.exe" ../damaged.d88 </dev/null >log.txt 2>&1)
tr -d '\r' <merged/log.txt | grep -A1 -x 'cutting ... LOADER' | tail -1 |
  grep -q '^d88cut: warning: LOADER (image 0) is damaged' ||
  fail "a merged log loses its order: $(tr -d '\r' <merged/log.txt | head -4)"

# A zip of the set, its D88 file named in Japanese without the UTF-8 mark
# (Shift_JIS, as Japanese Windows zips it): read through libarchive.dll
# beside the program, the four files byte for byte those of the D88 file.
python3 - <<'PY'
import zipfile
with zipfile.ZipFile("set.zip", "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("readme.txt", "text\n")
    z.writestr("0_____.d88", open("sample.d88", "rb").read())
data = open("set.zip", "rb").read().replace(b"0_____.d88", "ゲーム.d88".encode("cp932"))
open("set.zip", "wb").write(data)
PY
mkdir zipped && (cd zipped && "$run" "$bin/d88cut.exe" ../set.zip >log.txt) || fail "set.zip was not cut"
for file in LOADER DRIVER MUSIC MUSIC2; do
  cmp -s "zipped/$file" "cut/$file" || fail "$file from set.zip differs from the D88 file's"
done
iconv -f CP932 -t UTF-8 zipped/log.txt | grep -q "^../set.zip:ゲーム.d88:" ||
  fail "set.zip's entry is not named: $(head -c 80 zipped/log.txt | od -c | head -3)"

# bzip2 is built into libarchive.dll: a .bz2 and a zip entry packed with
# bzip2 are cut, and a bzip2.exe in the folder never runs.
python3 - <<'PY'
import bz2, zipfile
open("set.d88.bz2", "wb").write(bz2.compress(open("sample.d88", "rb").read()))
with zipfile.ZipFile("bz.zip", "w", zipfile.ZIP_BZIP2) as z:
    z.writestr("set.d88", open("sample.d88", "rb").read())
PY
for packed in set.d88.bz2 bz.zip; do
  mkdir "out-$packed" && cp "$bin/d88cut.exe" "out-$packed/bzip2.exe"
  (cd "out-$packed" && "$run" "$bin/d88cut.exe" -d cut "../$packed" >log.txt 2>&1) ||
    fail "$packed was not cut: $(head -c 300 "out-$packed/log.txt")"
  for file in LOADER DRIVER MUSIC MUSIC2; do
    cmp -s "out-$packed/cut/$file" "cut/$file" || fail "$file from $packed differs"
  done
  # bzip2.exe is a copy of d88cut.exe: run, it would have printed its usage.
  grep -q "Usage" "out-$packed/log.txt" && fail "$packed ran bzip2.exe"
done

[ "$failed" = 0 ] && echo "all passed"
exit "$failed"
