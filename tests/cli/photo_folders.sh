#!/usr/bin/env bash
# Photo collections: a folder tree of JPEG, PNG and BMP pictures, with hidden ones, a broken one
# and a link back up among them, made into tiles and straight into mosaics.
# Usage: photo_folders.sh WORK_FOLDER FIXTURES COMMAND... (the tool, after its emulator if any)
set -euo pipefail
work=$1
data=$2
shift 2
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$work" && mkdir -p "$work/pics/deeper/.hidden" && cd "$work"
cp "$data/jpeg/baseline_420.jpg" pics/photo.jpg
cp "$data/png/rgb_8.bmp" pics/photo.bmp
cp "$data/jpeg/progressive.jpg" pics/deeper/photo.JPEG
cp "$data/png/rgba_8_interlaced.png" pics/deeper/photo.png
cp "$data/jpeg/greyscale.jpg" pics/deeper/.hidden/secret.jpg
cp "$data/jpeg/greyscale.jpg" pics/.dotted.jpg
echo "not a picture" > pics/deeper/broken.png
# A way round in a circle: Wine shows the link as a plain folder, and the walk must still end.
ln -s .. pics/deeper/up

"$@" tiles pics tiles --size 12x10 --crop --quiet 2>errors.txt
[ "$(tr -d '\r' < tiles/Mosaic_Tiles.lst)" = "$(printf 'photo.bmp\nphoto (2).bmp\nphoto (3).bmp\nphoto (4).bmp')" ] ||
  fail "tiles listed: $(cat tiles/Mosaic_Tiles.lst)"
grep -q "broken.png: PNG image is not valid (skipped)" errors.txt || fail "the broken picture is not named: $(cat errors.txt)"
grep -q "^1 picture that could not be read skipped" errors.txt || fail "no count of skipped pictures"
"$@" info "tiles/photo (2).bmp" | grep -q "^12x10 24 BITMAPINFOHEADER" || fail "a tile is not 12x10 at 24 bits"

# --seed repeats a build straight from the folder; a JPEG original written as BMP is 24-bit.
for out in a.bmp b.bmp c.png; do
  "$@" mosaic pics/photo.jpg "$out" --tiles pics --size 5x4 --seed 3 --quiet 2>/dev/null
done
cmp -s a.bmp b.bmp || fail "the same seed built two different mosaics"
"$@" info a.bmp | grep -q "^45x29 24 BITMAPINFOHEADER" || fail "the mosaic of a JPEG is not 45x29 at 24 bits"
"$@" info c.png | grep -q "^45x29 24 PNG" || fail "info does not name the PNG format"
# The placements name only pictures drawn; a folder of nothing readable stops the build.
"$@" mosaic pics/photo.jpg e.bmp --tiles pics --size 5x4 --seed 3 --placements e.csv --quiet 2>/dev/null
cut -d, -f7 e.csv | tr -d '\r' | sort -u | grep -qv -e '^tile$' -e '^pics' && fail "a placement names no picture drawn"
grep -q broken e.csv && fail "a placement names the picture passed over"
mkdir -p nothing && cp pics/deeper/broken.png nothing/
if "$@" mosaic pics/photo.jpg f.bmp --tiles nothing --size 5x4 --quiet 2>errors.txt; then fail "a folder of nothing readable built"; fi
grep -q "None of the tiles could be read" errors.txt || fail "no readable tile, yet: $(cat errors.txt)"
[ -e f.bmp ] && fail "a mosaic was written without tiles"
# A broken picture named on the command line stops the build.
if "$@" mosaic pics/photo.jpg d.bmp --tiles pics/deeper/broken.png pics/photo.jpg --size 5x4 --quiet 2>/dev/null; then
  fail "a broken tile named on the command line was skipped"
fi

# A PNG photo turned a quarter by its eXIf chunk is 3x5, described or read; a poster's PNG header
# is described, and the poster called too large to be read whole.
cp "$data/png/exif_6.png" turned.png
"$@" info turned.png | grep -q "^3x5 24 PNG" || fail "info of a turned PNG: $("$@" info turned.png)"
"$@" compare "$data/png/exif_6.bmp" turned.png --block 1x1 | grep -q "PSNR infinite" || fail "a turned PNG compared on its side"
/usr/bin/python3 -c 'import struct, sys, zlib
chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
sys.stdout.buffer.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 48000, 32000, 8, 2, 0, 0, 0))
                        + chunk(b"IDAT", zlib.compress(bytes(999))) + chunk(b"IEND", b""))' > poster.png
"$@" info poster.png | grep -q "^48000x32000 24 PNG" || fail "info of a poster: $("$@" info poster.png 2>&1)"
if "$@" convert poster.png poster.bmp 2>errors.txt; then fail "a poster beyond the memory cap was read whole"; fi
grep -q "poster.png of 48000x32000 pixels is too large" errors.txt || fail "a poster is not called too large: $(cat errors.txt)"
echo "photo folders made into tiles and mosaics"
