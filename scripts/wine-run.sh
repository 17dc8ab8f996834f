#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the build's throwaway prefix
# (TILVANE_WINEPREFIX, or build/wineprefix in the repository), made first if it is missing,
# headless unless TILVANE_WINE_GRAPHICS says otherwise (see scripts/wine-prefix.sh).
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${TILVANE_WINEPREFIX:-$here/../build/wineprefix}
[ -f "$WINEPREFIX/system.reg" ] || TILVANE_WINEPREFIX=$WINEPREFIX bash "$here/wine-prefix.sh" "${TILVANE_WINE_GRAPHICS:-null}"
export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d'
exec wine "$@"
