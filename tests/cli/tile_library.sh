#!/usr/bin/env bash
# The tile library as a user keeps it: photos added, added again unchanged, changed, gone,
# removed and pruned; mosaics from it, mixed with a folder, the same however it was filled; a
# damaged library refused by name.
# Usage: tile_library.sh WORK_FOLDER FIXTURES COMMAND... (the tool, after its emulator if any)
set -euo pipefail
work=$1
data=$2
shift 2
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$work" && mkdir -p "$work/photos/more" && cd "$work"
"$@" demo demo >/dev/null
cp demo/Demo_Tiles/Tile_0[1-6].bmp photos/
cp demo/Demo_Tiles/Tile_0[7-9].bmp photos/more/
cp "$data/jpeg/baseline_420.jpg" photos/more/photo.jpg
echo "not a picture" > photos/broken.png
original=demo/Demo_Original.bmp
held() { "$@" library lib.db list | wc -l; }
plain() { tr -d '\r' | tr '\\' /; }  # Windows' line ends and separators as here
expect_add() {  # EXPECTED SOURCE...: the summary line of an add
  local expected=$1 said
  shift
  said=$("${tool[@]}" library lib.db add "$@" --quiet 2>/dev/null | tr -d '\r')
  [ "$said" = "$expected" ] || fail "add $*: \"$said\", not \"$expected\""
}
tool=("$@")

# Each step of a library's life, and what an add then says.
expect_add "10 photos read (0 of them changed), 0 unchanged" photos
grep -q "^64x36 .*photos/more/Tile_07.bmp$" <<<"$("$@" library lib.db list | plain)" || fail "list: $("$@" library lib.db list)"
expect_add "0 photos read (0 of them changed), 10 unchanged" photos
expect_add "0 photos read (0 of them changed), 1 unchanged" "$PWD/photos/more/../Tile_01.bmp"
cp demo/Demo_Original.bmp photos/Tile_02.bmp  # another picture, another size
expect_add "1 photos read (1 of them changed), 9 unchanged" photos
grep -q "^[0-9]*x[0-9]* .*photos/Tile_02.bmp$" <<<"$("$@" library lib.db list | plain)" || fail "the changed photo is not listed"
rm photos/Tile_03.bmp
if "$@" library lib.db check >check.txt; then fail "check passed over a photo gone"; fi
grep -q "^gone: .*photos/Tile_03.bmp" <<<"$(plain <check.txt)" || fail "check: $(cat check.txt)"
[ "$(held "$@")" = 10 ] || fail "a photo gone was dropped before prune"
grep -q "^1 photos removed$" <<<"$("$@" library lib.db prune | plain)" || fail "prune did not remove the photo gone"
"$@" library lib.db check >/dev/null || fail "check after prune"
grep -q "^4 photos removed$" <<<"$("$@" library lib.db remove photos/more | plain)" || fail "remove of a folder"
if "$@" library lib.db remove photos/nothing.bmp 2>errors.txt; then fail "removed a photo not held"; fi
grep -q "photos/nothing.bmp is not in the tile library lib.db" errors.txt || fail "remove: $(cat errors.txt)"
[ "$(held "$@")" = 5 ] || fail "held after removal: $(held "$@")"

# The same mosaic from a library filled at once and from one filled photo by photo, with every
# choice; a library mixed with a folder; a tile larger than the stored pictures reads the photo.
for f in $(find photos -name '*.bmp' -o -name '*.jpg' | sort -r); do "$@" library one-by-one.db add "$f" --quiet >/dev/null; done
"$@" library at-once.db add photos --quiet >/dev/null 2>&1
for choice in random best shuffle; do
  "$@" mosaic "$original" a.bmp --tiles at-once.db --size 8x6 --seed 4 --choose $choice --mirror --quiet
  "$@" mosaic "$original" b.bmp --tiles one-by-one.db --size 8x6 --seed 4 --choose $choice --mirror --quiet
  cmp -s a.bmp b.bmp || fail "$choice: another mosaic from the library filled photo by photo"
done
"$@" mosaic "$original" mixed.bmp --tiles at-once.db photos/more --size 8x6 --seed 4 --placements mixed.csv --quiet
grep -q "photos/more/Tile_07.bmp" <<<"$(plain <mixed.csv)" || fail "the folder's tiles were not drawn beside the library's"
"$@" mosaic "$original" a.bmp --tiles at-once.db --size 8x6 --seed 4 --crop --quiet
"$@" mosaic "$original" b.bmp --tiles photos --size 8x6 --seed 4 --crop --quiet 2>/dev/null
cmp -s a.bmp b.bmp || fail "cropped tiles from the library are not the photos' own"
rm photos/Tile_04.bmp
"$@" mosaic "$original" a.bmp --tiles at-once.db --size 8x6 --seed 4 --quiet || fail "a photo gone stopped a build the library serves"
if "$@" mosaic "$original" a.bmp --tiles at-once.db --size 60x60 --seed 4 --quiet 2>errors.txt; then
  fail "a tile larger than the stored picture was drawn without its photo"
fi
grep -q "Tile_04.bmp" errors.txt || fail "the missing photo is not named: $(cat errors.txt)"

# Damage, and files that are no library, are refused by name; nothing is written over them.
head -c 3000 at-once.db > cut.db
echo "a list of tiles" > text.db
for bad in cut.db text.db; do
  if "$@" mosaic "$original" a.bmp --tiles "$bad" --size 8x6 --quiet 2>errors.txt; then fail "$bad was taken as a library"; fi
  grep -q "^Tile library $bad is damaged or is not a tile library" errors.txt || fail "$bad: $(cat errors.txt)"
done
if "$@" library text.db add photos --quiet 2>/dev/null; then fail "a text file was made a library"; fi
[ "$(cat text.db)" = "a list of tiles" ] || fail "the text file was written over"
if "$@" library none.db list 2>errors.txt; then fail "listed a library that is not there"; fi
grep -q "Cannot open file none.db" errors.txt || fail "missing library: $(cat errors.txt)"
echo "tile library kept, changed, pruned and drawn from"
