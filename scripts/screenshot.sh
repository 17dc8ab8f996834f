#!/usr/bin/env bash
# Screenshots of the program under Xvfb, in a Wine virtual desktop (which gives windows their
# frames): the mosaic page, the extraction page, the About box and the progress dialog in the
# middle of a run.
# Usage: scripts/screenshot.sh [Tilvane.exe] [output directory]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$(realpath "${1:-$root/build/mingw/app/Tilvane.exe}")
out=$(mkdir -p "${2:-$root/build/screenshots}" && realpath "${2:-$root/build/screenshots}")
export TILVANE_WINEPREFIX=${TILVANE_WINEPREFIX:-$root/build/screenshot-wineprefix}
settle=${TILVANE_SCREENSHOT_SETTLE:-10}

# A prefix that renders (x11) instead of the tests' headless driver alone.
if [ ! -f "$TILVANE_WINEPREFIX/.x11-prefix" ]; then
  xvfb-run -a bash "$root/scripts/wine-prefix.sh" x11,null
  touch "$TILVANE_WINEPREFIX/.x11-prefix"
fi

shot() {  # shot MODE FILE: starts the program in MODE, waits, saves the screen, ends Wine
  local mode=$1 file=$2
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    TILVANE_SCREENSHOT="$1" bash "$2/scripts/wine-run.sh" explorer /desktop=shot,1024x768 "$3" >/dev/null 2>&1 &
    sleep "$4"
    xwd -root -silent | convert xwd:- -fuzz 1% -trim +repage png:"$5"  # cut to the windows
    WINEPREFIX="$TILVANE_WINEPREFIX" wineserver -k 2>/dev/null || true
    wait
  ' _ "$mode" "$root" "$exe" "$settle" "$file"
  echo "saved $file"
}

shot mosaic "$out/mosaic-page.png"
shot extract "$out/extract-page.png"
shot about "$out/about-box.png"
shot progress "$out/progress-dialog.png"
