#!/usr/bin/env bash
# As a user who may not write a folder, or read one: tiles and mosaic stop with the system's reason
# before or instead of writing, and a searched folder's unreadable parts are named and counted.
# Needs root to act as another user.
# Usage: unwritable_folders.sh WORK_FOLDER TOOL
set -uo pipefail
work=$1
[ "$(id -u)" = 0 ] && command -v setpriv >/dev/null || { echo "needs root and setpriv"; exit 77; }
rm -rf "$work" && mkdir -p "$work/locked" "$work/free" "$work/pics/shut" && cd "$work" || exit 1
cp "$2" ./tool && ./tool demo demo >/dev/null
cp demo/Demo_Tiles/Tile_0[12].bmp pics/ && cp demo/Demo_Tiles/Tile_03.bmp pics/shut/ && ln -s gone.jpg pics/gone.jpg
chmod -R a+rX . && chmod 0555 locked && chmod 0777 free && chmod 0 pics/shut
failed=0
# run STATUS 'REGEX on stderr' ARGUMENTS...: as nobody; nothing may appear in locked or free but on success.
run() {
  local status=$1 pattern=$2 actual=0 output
  shift 2
  output=$(setpriv --reuid=65534 --regid=65534 --clear-groups ./tool "$@" --quiet 2>&1) || actual=$?
  if [ "$actual" != "$status" ] || ! grep -Ezq -- "$pattern" <<<"$output" ||
     { [ "$status" != 0 ] && [ -n "$(find locked free -mindepth 1)" ]; }; then
    echo "FAIL: $* exited $actual, not $status, said no /$pattern/ or left $(find locked free -mindepth 1):"
    echo "$output"
    failed=1
  fi
}
run 1 "Cannot create file locked/Tile_01.bmp: Permission denied" tiles pics locked --size 4x4
run 1 "Cannot create folder locked/new/tiles: Permission denied" tiles pics locked/new/tiles --size 4x4
run 1 "Cannot create file locked/p.csv: Permission denied" mosaic demo/Demo_Original.bmp free/out.bmp --tiles pics \
  --size 20x20 --placements locked/p.csv
run 0 "Cannot open folder pics/shut: Permission denied \(skipped\).*pics/gone.jpg: .*No such file or directory \(skipped\)
.*1 picture and 1 folder that could not be read skipped" tiles pics free/tiles --size 4x4
exit $failed
