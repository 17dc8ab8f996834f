#!/usr/bin/env bash
# Pictures of odd sizes written as PNG and JPEG, read back by Pillow: PNG exactly (one row, one
# column, rows that fill many of the PNG writer's bands and end inside one), JPEG closely. Then
# a disk that fills up in the middle of a PNG save (a file size limit): the old file stays and no
# temporary file is left. Usage: picture_writers.sh WORK_FOLDER COMMAND... (the tool, after its
# emulator if any)
set -euo pipefail
work=$1
shift
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$work" && mkdir -p "$work" && cd "$work"
sizes="1x1 37x23 1x301 3001x2 60001x23"
/usr/bin/python3 - $sizes <<'PY'
import random, sys
from PIL import Image
random.seed(5)
for size in sys.argv[1:]:
    w, h = map(int, size.split("x"))
    # Noise over smooth bands, so that every filter and both short and long matches turn up.
    data = bytes((x * 7 + y * 3 + (random.randrange(9) if (x // 50) % 2 else 0)) % 256
                 for y in range(h) for x in range(w * 3))
    Image.frombytes("RGB", (w, h), data).save(f"{size}.bmp")
PY
for size in $sizes; do
  "$@" convert "$size.bmp" "$size.png" || fail "convert $size.bmp to PNG"
  "$@" convert "$size.bmp" "$size.jpg" || fail "convert $size.bmp to JPEG"
done
/usr/bin/python3 - $sizes <<'PY' || fail "Pillow read back something else"
import struct, sys, zlib
from PIL import Image
def check_chunks(name):  # Pillow passes over the image data's checksums
    data = open(name, "rb").read()
    at = 8
    while at < len(data):
        length, = struct.unpack(">I", data[at:at + 4])
        body = data[at + 4:at + 8 + length]
        assert struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0] == zlib.crc32(body), f"{name}: checksum"
        at += 12 + length
for size in sys.argv[1:]:
    check_chunks(f"{size}.png")
    source = Image.open(f"{size}.bmp").convert("RGB")
    png = Image.open(f"{size}.png")
    png.load()
    assert png.mode == "RGB" and png.size == source.size, (size, png.mode, png.size)
    assert png.tobytes() == source.tobytes(), f"{size}.png differs"
    jpeg = Image.open(f"{size}.jpg").convert("RGB")
    assert jpeg.size == source.size, (size, jpeg.size)
    a, b = source.tobytes(), jpeg.tobytes()
    assert sum(abs(x - y) for x, y in zip(a, b)) / len(a) < 12, f"{size}.jpg far off"
PY
echo "Pillow reads the PNG files exactly and the JPEG files closely"

if [ $# -eq 1 ]; then  # natively: the tool's own file size limit stands for a full disk
  echo old > full.png
  status=0
  (trap '' XFSZ; ulimit -f 200; "$@" convert 60001x23.bmp full.png) 2>err.txt || status=$?
  [ "$status" -ne 0 ] || fail "a save that could not be written whole reported success"
  [ "$(cat full.png)" = old ] || fail "the old file was lost"
  ! compgen -G "*.tmp" >/dev/null || fail "a temporary file stayed: $(ls)"
  grep -q "full.png" err.txt || fail "the error does not name the file: $(cat err.txt)"
  echo "a full disk left the old file and no temporary: $(cat err.txt)"
fi
