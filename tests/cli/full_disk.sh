#!/usr/bin/env bash
# A mosaic and its placements file on a disk that fills up part way, wherever that happens: the
# tool says which file it could not write and why, and the old mosaic and the old placements file
# both stay as they were, with no temporary file left; on a disk with room both are new.
# Needs root to mount a small disk in memory. Usage: full_disk.sh WORK_FOLDER TOOL
set -uo pipefail
work=$1
tool=$2
[ "$(id -u)" = 0 ] || { echo "needs root to mount a small disk"; exit 77; }
rm -rf "$work" && mkdir -p "$work/disk" && cd "$work" || exit 1
echo old mosaic > old.bmp && echo old record > old.csv
"$tool" demo demo >/dev/null || { echo "FAIL: demo"; exit 1; }
mount -t tmpfs -o size=8m tmpfs disk || { echo "cannot mount a small disk"; exit 77; }
trap 'umount "$work/disk" 2>/dev/null' EXIT
build() {  # STATUS: the mosaic and its record into disk/, from 19,200 cells
  "$tool" mosaic demo/Demo_Original.bmp disk/m.bmp --tiles demo/Demo_Tiles --size 4x4 --seed 1 \
    --placements disk/m.csv --quiet 2>&1
}
build >/dev/null || { echo "FAIL: no mosaic on a roomy disk"; exit 1; }
mosaic_kb=$(( $(stat -c %s disk/m.bmp) / 1024 ))
record_kb=$(( $(stat -c %s disk/m.csv) / 1024 ))
umount disk
failed=0
# Where the disk fills: during the mosaic, during the record, and with all but the last pages written.
for size in $(( mosaic_kb / 3 )) $(( mosaic_kb + record_kb / 2 )) $(( mosaic_kb + record_kb - 12 )); do
  mount -t tmpfs -o size=${size}k tmpfs disk || exit 1
  cp old.bmp disk/m.bmp && cp old.csv disk/m.csv
  output=$(build)
  status=$?
  if [ "$status" != 1 ] || ! grep -Eq "^Cannot write file disk/m\.(bmp|csv): No space left on device$" <<<"$output"; then
    echo "FAIL: a ${size}k disk: exit $status, said: $output"
    failed=1
  fi
  if ! cmp -s old.bmp disk/m.bmp || ! cmp -s old.csv disk/m.csv || [ "$(ls disk | wc -l)" != 2 ]; then
    echo "FAIL: a ${size}k disk left $(ls -l disk)"
    failed=1
  fi
  umount disk
done
mount -t tmpfs -o size=$(( mosaic_kb + record_kb + 64 ))k tmpfs disk || exit 1
cp old.bmp disk/m.bmp && cp old.csv disk/m.csv
build >/dev/null && [ "$(head -c 2 disk/m.bmp)" = BM ] && head -1 disk/m.csv | grep -q '^column,row' ||
  { echo "FAIL: a disk with room did not get both new files: $(ls -l disk)"; failed=1; }
[ "$failed" = 0 ] && echo "a full disk left both old files each time, and one with room took both new ones"
exit $failed
