#!/usr/bin/env bash
# Ctrl-C while tilvane-cli is saving a big picture, as BMP and as PNG, or writing a mosaic band by
# band: the old output stays as it
# was and the temporary file beside it goes. Ctrl-C while it cuts tiles: no tile file is left
# empty or cut short. Usage: interrupted_save.sh TILVANE_CLI WORK_FOLDER
set -euo pipefail
set -m  # background jobs of a script ignore Ctrl-C unless they run under job control
cli=$1
work=$2
rm -rf "$work" && mkdir -p "$work"
python3 - "$work/big.bmp" <<'PY'
import struct, sys
width, height = 6000, 4000
pixels = width * 3 * height
header = b"BM" + struct.pack("<IHHI", 54 + pixels, 0, 0, 54)
header += struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, pixels, 2835, 2835, 0, 0)
with open(sys.argv[1], "wb") as f:
    f.write(header)
    f.write(bytes(range(256)) * (pixels // 256) + bytes(pixels % 256))
PY
# Signals come when a system call returns, and most of a tile's time goes into creating its file.
for attempt in 1 2 3 4 5; do
  rm -rf "$work/tiles"
  "$cli" extract "$work/big.bmp" "$work/tiles" --size 4x4 --quiet &
  pid=$!
  until compgen -G "$work/tiles/*,*.bmp" >/dev/null || ! kill -0 "$pid" 2>/dev/null; do :; done
  kill -INT "$pid" 2>/dev/null || true
  wait "$pid" || true
  short=$(find "$work/tiles" -name '*.bmp' ! -size 102c | head -3)
  [ -z "$short" ] || { echo "FAIL: interrupted extraction left a tile cut short: $short"; exit 1; }
done
echo "interrupted extractions left only whole tiles"

interrupt_save() {  # OUTPUT COMMAND [OPTION...]: the command's output written from big.bmp
  local name=$1 out=$work/$1 command=$2 attempt pid caught status
  shift 2
  echo old > "$out"
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    "$cli" "$command" "$work/big.bmp" "$out" "$@" &
    pid=$!
    caught=
    while kill -0 "$pid" 2>/dev/null; do
      if compgen -G "$out.saving-*.tmp" >/dev/null; then
        kill -INT "$pid"
        caught=yes
        break
      fi
    done
    status=0
    wait "$pid" || status=$?
    if compgen -G "$work/*.tmp" >/dev/null; then
      echo "FAIL: a temporary file outlived the interrupt: $(ls "$work")"
      exit 1
    fi
    if [ -n "$caught" ] && [ "$status" -ne 0 ]; then
      [ "$(cat "$out")" = old ] || { echo "FAIL: the old $name was lost"; exit 1; }
      echo "interrupted while saving $name (attempt $attempt, exit status $status): old output kept, no temporary file"
      return
    fi
    echo old > "$out"   # the save finished before the signal came: try again
  done
  echo "FAIL: never caught the tool while it was saving $name"
  exit 1
}
interrupt_save out.bmp convert
interrupt_save out.png convert
interrupt_save poster.bmp mosaic --tiles "$work/big.bmp" --size 40x40 --scale 2 --quiet
