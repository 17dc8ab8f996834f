#!/usr/bin/env bash
# Builds the distribution ZIP from a Windows build, unpacks it into a fresh folder of a fresh Wine prefix and runs the program
# from there as a user would: it starts, the catalog opens in Notepad with the catalog's command
# line, and a mosaic is made from the demo files through the window's own fields and button.
# Usage: zip_test.sh WINDOWS_BUILD_FOLDER WINDOW_DRIVER_EXE WORK_FOLDER
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
driver=$(realpath "$2")
work=$(realpath -m "$3")
zip_file="$work/Tilvane-1.0f.zip"

rm -rf "$work"
mkdir -p "$work"
bash "$here/../../scripts/package.sh" "$1" "$zip_file"
export TILVANE_WINEPREFIX="$work/prefix"
bash "$here/../../scripts/wine-prefix.sh" null
export WINEPREFIX="$TILVANE_WINEPREFIX" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d'
trap 'wineserver -k 2>/dev/null || true' EXIT

folder="$WINEPREFIX/drive_c/Tilvane"
mkdir "$folder"
unzip -q "$zip_file" -d "$folder"
for f in Tilvane.exe tilvane-cli.exe Tilvane.pdf catalog.txt ReadMe.txt Demo_Original.bmp Mosaic_Tiles.lst; do
  [ -f "$folder/$f" ] || { echo "FAIL: $f is not in the ZIP"; exit 1; }
done

# Started in its own folder, as Explorer starts it.
(cd "$folder" && wine Tilvane.exe >"$work/program.log" 2>&1 &)
drive() { wine "$driver" "$@" 2>&1; }
drive wait 60
echo "PASS: the program started from the unpacked folder"

catalog_open() { ps -eo args | grep -qi 'notepad\.exe C:\\Tilvane\\catalog\.txt$'; }
for _ in 1 2 3; do  # a slow machine may let the first try's keys arrive before the menu
  drive menu h s || true  # Help > View &Shareware Catalog
  for _ in $(seq 50); do catalog_open && break; sleep 0.2; done
  catalog_open && break
done
catalog_open || { echo "FAIL: no Notepad with the catalog"; ps -eo args | grep -i notepad; exit 1; }
echo "PASS: Notepad shows the catalog beside the program"

drive set " Step 1 - Select the Original Image File Name : " 1 "Demo_Original"
drive set " Step 3 - Specify the Tile Size (in pixels) : " 1 "16"
drive set " Step 3 - Specify the Tile Size (in pixels) : " 2 "12"
drive set " Step 5 - Specify the Mosaic's File Name : " 1 "My_Mosaic.bmp"
drive click "Make Mosaic"
mosaic="$folder/My_Mosaic.bmp"
for _ in $(seq 300); do
  [ -f "$mosaic" ] && [ "$(stat -c %s "$mosaic")" = "$(stat -c %s "$folder/Demo_Original.bmp")" ] && break
  sleep 0.2
done
[ -f "$mosaic" ] || { echo "FAIL: no mosaic was made"; exit 1; }
cmp -s "$mosaic" "$folder/Demo_Original.bmp" && { echo "FAIL: the mosaic is the original"; exit 1; }
info=$(cd "$folder" && wine tilvane-cli.exe info My_Mosaic.bmp | tr -d '\r')
original=$(cd "$folder" && wine tilvane-cli.exe info Demo_Original.bmp | tr -d '\r')
[ "$info" = "$original" ] || { echo "FAIL: mosaic $info, original $original"; exit 1; }
echo "PASS: a mosaic of the demo files, $info"

wine taskkill /IM Tilvane.exe >/dev/null 2>&1 || true
