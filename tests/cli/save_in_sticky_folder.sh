#!/usr/bin/env bash
# In a sticky folder (1777, as /tmp) a user may write another owner's 0666 file but not replace
# it: saving writes it in place, and it keeps its owner. Needs root to act as another user.
# Usage: save_in_sticky_folder.sh WORK_FOLDER TOOL
set -euo pipefail
work=$1
tool=$2
[ "$(id -u)" = 0 ] && command -v setpriv >/dev/null || { echo "needs root and setpriv"; exit 77; }
rm -rf "$work" && mkdir -p "$work/sticky" && chmod 0755 "$work" && chmod 1777 "$work/sticky"
cp "$tool" "$work/tool"
"$work/tool" demo "$work/demo" >/dev/null
chmod -R a+rX "$work/demo"
echo old > "$work/sticky/theirs.bmp"
chmod 0666 "$work/sticky/theirs.bmp"
setpriv --reuid=65534 --regid=65534 --clear-groups "$work/tool" convert "$work/demo/Demo_Original.bmp" \
  "$work/sticky/theirs.bmp" --bits 8
[ "$(stat -c %u "$work/sticky/theirs.bmp")" = 0 ] || { echo "FAIL: the file changed owner"; exit 1; }
"$work/tool" info "$work/sticky/theirs.bmp" | grep -q " 8 BITMAPINFOHEADER" || { echo "FAIL: not saved"; exit 1; }
if compgen -G "$work/sticky/*.tmp" >/dev/null; then
  echo "FAIL: a temporary file stayed"
  exit 1
fi
echo "saved in place in the sticky folder"
