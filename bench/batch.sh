# SPDX-License-Identifier: MIT
# Sourced by the benchmarks: make_batch BUILD_DIR WORK_DIR writes the sample
# set to WORK/sample.d88 and a batch of 33 whole and cut copies of 0.3 to
# 1.3 MB beside it, their paths in the array `files`.
make_batch() {
  "$1/bin/make_sample" "$2/sample.d88"
  # The sample set is five 406 KiB images: whole and cut copies of 0.3-1.3 MB.
  files=()
  local size copy
  for size in 300000 415840 500000 600000 700000 831680 900000 1000000 1100000 1247520 1300000; do
    for copy in 1 2 3; do
      head -c "$size" "$2/sample.d88" >"$2/f-$size-$copy.d88"
      files+=("$2/f-$size-$copy.d88")
    done
  done
}
