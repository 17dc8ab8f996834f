#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, headless, in the throwaway prefix that
# scripts/wine-prefix.sh made (TILVANE_WINEPREFIX, or build/wineprefix in the repository).
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${TILVANE_WINEPREFIX:-$here/../build/wineprefix}
export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d'
exec wine "$@"
