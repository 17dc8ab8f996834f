#!/usr/bin/env bash
# Makes a fresh Wine prefix for the build's tests: 64-bit, no Mono or Gecko prompts, the null
# graphics driver (headless), and real folders where Wine would link to the Unix home.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${TILVANE_WINEPREFIX:-$here/../build/wineprefix}
export WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d'
graphics=${1:-null}

rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$graphics" /f >/dev/null 2>&1
# The window's font; Liberation Serif has the same metrics, so captions fit as they will on Windows.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /d 'Liberation Serif' /f >/dev/null 2>&1
wineserver -w
# Wine's own fonts (Marlett draws the title bar's buttons): this Wine looks for them under a
# path it cannot resolve, so they are linked where it does look.
if [ -d /usr/share/wine/fonts ]; then
  ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
fi
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
done
