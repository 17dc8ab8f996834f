#!/usr/bin/env bash
# tilvane-cli as a user meets it: each command's help, usage errors, and failures that name the
# file at fault with the system's reason, leaving nothing behind.
# Usage: command_line.sh WORK_FOLDER COMMAND... (the tool, after its emulator if any)
set -uo pipefail
work=$1
shift
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
"$@" demo demo >/dev/null || { echo "FAIL: demo"; exit 1; }
printf 'not a picture' > broken.bmp
mkdir broken-tiles && cp demo/Demo_Tiles/Tile_01.bmp broken.bmp broken-tiles/
printf 'Demo_Tiles/Tile_01.bmp\r\ngone.bmp\r\n\r\n' > demo/some.lst
failed=0

# expect STATUS 'REGEX on stdout+stderr' ARGUMENTS...: the tool exits with STATUS, says what matches,
# and leaves the folder as it was (but for a zero status).
expect() {
  local status=$1 pattern=$2
  shift 2
  local before after output actual=0
  before=$(find . | sort)
  output=$("${tool[@]}" "$@" 2>&1) || actual=$?
  after=$(find . | sort)
  if [ "$actual" != "$status" ] || ! grep -Eq -- "$pattern" <<<"$output"; then
    echo "FAIL: $* exited $actual, not $status, or said no /$pattern/:"
    echo "$output"
    failed=1
  elif [ "$status" != 0 ] && [ "$before" != "$after" ]; then
    echo "FAIL: $* left: $(comm -13 <(echo "$before") <(echo "$after"))"
    failed=1
  fi
}
tool=("$@")

for command in info convert mosaic extract demo; do
  expect 0 "^Usage:" "$command" --help
done
expect 0 "tilvane-cli demo FOLDER" demo new --help
[ -e new ] && { echo "FAIL: demo --help made a folder"; failed=1; }
expect 2 '^Error: --size takes WIDTHxHEIGHT.*"20x"
see tilvane-cli extract --help$' extract demo/Demo_Original.bmp tiles --size 20x
# A bare root is no folder for tiles, in the tool as in the program.
expect 2 "^Error: extract needs a DIRECTORY name" extract demo/Demo_Original.bmp / --size 20x20
expect 2 "^Error: The Tile Width cannot be 0" mosaic demo/Demo_Original.bmp out.bmp --tiles demo --size 0x20
expect 2 "^Error: Unknown option: --bogus" info --bogus demo/Demo_Original.bmp
expect 2 '^Error: --colour takes shift or transfer, not "mean"' mosaic demo/Demo_Original.bmp out.bmp --tiles demo \
  --size 20x20 --colour mean
expect 2 "^Error: --blend" mosaic demo/Demo_Original.bmp out.bmp --tiles demo --size 20x20 --blend 101
expect 0 "^SSIM 1\.0000 " compare demo/Demo_Original.bmp demo/Demo_Original.bmp --block 4x4
expect 2 "^Error: Unknown picture file extension \(.gif\)" convert broken.bmp out.gif
expect 1 "^Bitmap image is not valid: broken.bmp" extract broken.bmp a/b/c --size=3x2
printf 'broken-tiles/Tile_01.bmp\nbroken.bmp\n' > broken.lst
expect 1 "^Bitmap image is not valid: .*broken.bmp" mosaic demo/Demo_Original.bmp out.bmp \
  --tiles broken.lst --size 20x20 --quiet
expect 1 "^Cannot create file no-folder/out.bmp: No such file or directory" mosaic demo/Demo_Original.bmp \
  no-folder/out.bmp --tiles demo --size 20x20 --quiet
expect 1 "^Cannot create folder broken.bmp: (Not a directory|File exists)" extract demo/Demo_Original.bmp broken.bmp \
  --size 20x20 --quiet
# Relative lines of a list are taken from its folder; its blank last line is no missing tile.
expect 1 "^Error: 1 tiles in the Tiles List could not be found !
  demo/gone.bmp$" mosaic demo/Demo_Original.bmp out.bmp --tiles demo/some.lst --size 20x20 --quiet
# Every command names the file at fault and why, in the same words; nothing is read or written first.
expect 1 "^Cannot open file nothere: No such file or directory" tiles nothere tiles --size 4x4
expect 1 "^Cannot open file demo: Is a directory" mosaic demo out.bmp --tiles demo --size 20x20
expect 2 "^Error: Unknown picture file extension \(.gif\)" mosaic demo/Demo_Original.bmp out.gif --tiles demo --size 20x20
expect 1 "^Bitmap image is not valid: broken.bmp" info broken.bmp
expect 1 "^Cannot create folder broken.bmp.tiles: Not a directory" extract demo/Demo_Original.bmp broken.bmp/tiles --size 20x20
for output in out.png out.bmp; do
  expect 2 "^Error: --quality is for a JPEG or WebP output" convert demo/Demo_Original.bmp $output --quality 50
  expect 2 "^Error: --quality is for a JPEG or WebP output" mosaic demo/Demo_Original.bmp $output --tiles demo --size 20x20 --quality 50
done
# A tile that cannot be written stops the run, with no list naming tiles that are not there.
mkdir -p one nothing-readable blocked/Tile_01.bmp && cp demo/Demo_Tiles/Tile_01.bmp one/ && cp broken.bmp nothing-readable/
expect 1 "^Cannot create file blocked.Tile_01.bmp: Is a directory" tiles one blocked --size 4x4 --quiet
expect 1 "none of the pictures could be read" tiles nothing-readable made --size 4x4 --quiet
# A placements file that is a picture of the build, however it is named, is refused before the build.
ln -s demo/Demo_Original.bmp link.bmp && ln demo/Demo_Tiles/Tile_02.bmp hard.bmp
for placements in ./demo/Demo_Original.bmp link.bmp hard.bmp out.bmp; do
  expect 2 "^Error: --placements $placements is the (ORIGINAL|OUTPUT|tile)" mosaic demo/Demo_Original.bmp out.bmp \
    --tiles demo --size 20x20 --placements $placements --quiet
done
expect 1 "^Cannot create file no-folder/p.csv: No such file or directory" mosaic demo/Demo_Original.bmp out.bmp \
  --tiles demo --size 20x20 --placements no-folder/p.csv --quiet
# --max-uses 0 is no limit, as in the window; a record is checked against the grid and the cap of
# the command that draws it again, as a spreadsheet saves it (byte-order mark, capitals, CR alone).
expect 2 '^Error: --max-uses takes whole numbers from 0 to 999999, not "-1"' mosaic demo/Demo_Original.bmp out.bmp \
  --tiles demo --size 20x20 --max-uses -1
expect 0 "" mosaic demo/Demo_Original.bmp uncapped.bmp --tiles demo/Demo_Tiles --size 20x20 --max-uses 0 \
  --placements p.csv --quiet
{ printf '\xef\xbb\xbfCOLUMN,ROW,X,Y,WIDTH,HEIGHT,TILE\r'; sed -n '2,4p' p.csv | tr -d '\r' | tr '\n' '\r'; } > saved.csv
sed '3s/^2,1,20,/2,1,30,/' p.csv > moved.csv
# One tile three times, named as the tool lists it (with backslashes on Windows).
tile=$(sed -n 2p p.csv | tr -d '\r' | cut -d, -f7)
{ head -1 p.csv; for column in 1 2 3; do echo "$column,1,$(( column * 20 - 20 )),0,20,20,$tile"; done; } > thrice.csv
for record in "saved.csv|0|0|^$" "moved.csv|0|1|^Line 3 of moved.csv gives an x, y, width or height that is not" \
    "thrice.csv|2|1|^Line 4 of thrice.csv uses demo.Demo_Tiles.Tile_[0-9]*.bmp more than the 2 times allowed"; do
  IFS='|' read -r file cap status words <<<"$record"
  expect "$status" "$words" mosaic demo/Demo_Original.bmp again.bmp --tiles demo/Demo_Tiles --size 20x20 \
    --max-uses "$cap" --from-placements "$file" --quiet
done
# compare and extract read the tool's own PNG and JPEG outputs; tiles leave their own folder and hidden names alone.
expect 0 "" convert demo/Demo_Original.bmp original.png
expect 0 "" convert demo/Demo_Original.bmp original.jpg
expect 0 "^mean absolute difference 0.00" compare original.png demo/Demo_Original.bmp --block 4x4
expect 0 "" extract original.jpg from-jpeg --size 320x240 --quiet
cp demo/Demo_Tiles/Tile_03.bmp .hidden.bmp
expect 0 "" tiles one .hidden.bmp one/tiles --size 4x4 --quiet
expect 0 "" tiles one .hidden.bmp one/tiles --size 4x4 --quiet
[ "$(tr -d '\r' < one/tiles/Mosaic_Tiles.lst)" = "$(printf 'Tile_01.bmp\nhidden.bmp')" ] &&
  "${tool[@]}" info from-jpeg/002,002.bmp | grep -q "^320x240 24 BITMAPINFOHEADER" ||
  { echo "FAIL: tiles listed $(cat one/tiles/Mosaic_Tiles.lst), or the JPEG's tiles are not BMP"; failed=1; }
expect 0 "" extract --quiet --size=100x100 -- demo/Demo_Original.bmp "Fotos été"
expect 0 "" mosaic "Fotos été/001,001.bmp" "Fotos été/mosaic.bmp" --tiles "Fotos été" --size 20x20 --quiet
[ -f "Fotos été/mosaic.bmp" ] && [ -f "Fotos été/007,005.bmp" ] || { echo "FAIL: no files in Fotos été"; failed=1; }
# An 8-bit picture whose table holds black 8 times, then white, keeps every pixel's own index.
{ printf 'BM\x86\0\0\0\0\0\0\0\x76\0\0\0(\0\0\0\x10\0\0\0\x01\0\0\0\x01\0\x08\0\0\0\0\0\x10\0\0\0\xc4\x0e\0\0\xc4\x0e\0\0\x10\0\0\0\0\0\0\0'
  printf '\0\0\0\0%.0s' {1..8}; printf '\xff\xff\xff\0%.0s' {1..8}; printf '\0\1\2\3\4\5\6\7\10\11\12\13\14\15\16\17'; } > repeats.bmp
expect 0 "" convert repeats.bmp repeats-again.bmp
expect 0 "" extract --quiet --size=16x1 repeats.bmp repeats
cmp -s repeats.bmp repeats-again.bmp && cmp -s repeats.bmp repeats/001,001.bmp || { echo "FAIL: the indexes of repeats.bmp changed"; failed=1; }
# On a terminal the progress line ends at 100% with a line break.
if [ ${#tool[@]} = 1 ] && command -v script >/dev/null; then
  shown=$(script -qec "'${tool[0]}' extract demo/Demo_Original.bmp progress --size 7x7" /dev/null; echo .)
  shown=${shown%.}
  last=${shown%$'\r\n'}
  last=${last##*$'\r'}
  [[ "$shown" == *$'\n' && "$last" == *" 100%  "* ]] || { echo "FAIL: the progress ended as: $last"; failed=1; }
fi
exit $failed
