#!/usr/bin/env bash
# Screenshots of the program under Xvfb, in a Wine virtual desktop (which gives windows their
# frames): the mosaic page, the extraction page, the About box, the "Mosaic Options ..." dialog
# (at 100 % and, with the prefix's LogPixels at 144, 150 %) and the progress dialog in the middle
# of a run. The program runs as a user of the ZIP runs it: the ZIP that scripts/package.sh
# makes from the build is unpacked into C:\Tilvane of the screenshots' own Wine prefix, with a
# settings file holding what the guide's "Try it now" and its extraction chapter type in.
# Usage: scripts/screenshot.sh [Windows build folder] [output directory]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath "${1:-$root/build/mingw}")
out=$(mkdir -p "${2:-$root/build/screenshots}" && realpath "${2:-$root/build/screenshots}")
export TILVANE_WINEPREFIX=${TILVANE_WINEPREFIX:-$root/build/screenshot-wineprefix}
settle=${TILVANE_SCREENSHOT_SETTLE:-10}

# A prefix that renders (x11) instead of the tests' headless driver alone.
if [ ! -f "$TILVANE_WINEPREFIX/.x11-prefix" ]; then
  xvfb-run -a bash "$root/scripts/wine-prefix.sh" x11,null
  touch "$TILVANE_WINEPREFIX/.x11-prefix"
fi

folder=$TILVANE_WINEPREFIX/drive_c/Tilvane
zip_file=$(mktemp -d)/Tilvane-1.0f.zip
trap 'rm -rf "$(dirname "$zip_file")"' EXIT
bash "$root/scripts/package.sh" "$build" "$zip_file" >/dev/null
rm -rf "$folder" && mkdir -p "$folder"
unzip -q "$zip_file" -d "$folder"
printf '%s\r\n' '[Tilvane]' 'Input_File_Name_Edit=Demo_Original' 'Output_File_Name_Edit=My_Mosaic.bmp' \
  'Horizontal_Tile_Size_SpinEdit=16' 'Vertical_Tile_Size_SpinEdit=12' \
  'Extract_Mosaic_Bitmap_File_Name_Edit=C:\Tilvane\My_Mosaic.bmp' 'Extract_Tile_Width_SpinEdit=16' \
  'Extract_Tile_Height_SpinEdit=12' 'Extracted_Tile_Directory_Edit=C:\Tilvane\My_Tiles' > "$folder/Tilvane.ini"

shot() {  # shot MODE FILE [DPI]: starts the program in MODE, waits, saves the screen, ends Wine
  local mode=$1 file=$2 dpi=${3:-96}
  local screen=$((1024 * dpi / 96))x$((768 * dpi / 96))
  # Started in its own folder, as Explorer and its shortcuts start it.
  (cd "$folder" && xvfb-run -a -s "-screen 0 ${screen}x24" bash -c '
    WINEPREFIX="$TILVANE_WINEPREFIX" wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$5" /f >/dev/null 2>&1
    TILVANE_SCREENSHOT="$1" bash "$2/scripts/wine-run.sh" explorer /desktop=shot,"$6" "C:\\Tilvane\\Tilvane.exe" >/dev/null 2>&1 &
    sleep "$3"
    xwd -root -silent | convert xwd:- -fuzz 1% -trim +repage png:"$4"  # cut to the windows
    WINEPREFIX="$TILVANE_WINEPREFIX" wineserver -k 2>/dev/null || true
    wait
  ' _ "$mode" "$root" "$settle" "$file" "$dpi" "$screen")
  echo "saved $file"
}

shot mosaic "$out/mosaic-page.png"
shot extract "$out/extract-page.png"
shot about "$out/about-box.png"
shot options "$out/mosaic-options.png"
shot options "$out/mosaic-options-150.png" 144
shot progress "$out/progress-dialog.png"
