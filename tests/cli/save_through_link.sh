#!/usr/bin/env bash
# Saving to a symbolic link replaces the file it leads to and leaves the link a link, also for
# the Windows build under Wine, which sees the link only as the file behind it.
# Usage: save_through_link.sh WORK_FOLDER COMMAND... (the tool, after its emulator if any)
set -euo pipefail
work=$1
shift
rm -rf "$work" && mkdir -p "$work/elsewhere"
cd "$work"
"$@" demo . >/dev/null
echo old > elsewhere/real.bmp
ln -s elsewhere/real.bmp link.bmp
"$@" convert Demo_Original.bmp link.bmp --bits 8
[ -L link.bmp ] || { echo "FAIL: the link became a file"; exit 1; }
cmp -s Demo_Original.bmp elsewhere/real.bmp && { echo "FAIL: not converted"; exit 1; }
"$@" info link.bmp | grep -q " 8 BITMAPINFOHEADER" || { echo "FAIL: the link's file is not the new picture"; exit 1; }
if compgen -G "*.tmp" >/dev/null || compgen -G "elsewhere/*.tmp" >/dev/null; then
  echo "FAIL: a temporary file stayed"
  exit 1
fi
echo "saved through the link"
