#!/usr/bin/env bash
# Builds the Windows program and runs it under Wine on this machine's display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
There is no display to show the program's window on.
Run it on a virtual one:   xvfb-run -a bash scripts/run-program.sh
or use the command-line tool, which needs none (bash scripts/test-all.sh builds it):
  build/native/tilvane-cli --help
MSG
  exit 1
fi

bash scripts/install-deps.sh
bash scripts/build-libjpeg.sh
bash scripts/build-libspng.sh
bash scripts/build-libwebp.sh
bash scripts/build-sqlite.sh
bash scripts/build-libheif.sh
# A prefix of its own that shows windows on the display (the tests' prefix is headless).
export TILVANE_WINEPREFIX=$root/build/wineprefix-desktop TILVANE_WINE_GRAPHICS=x11
cmake -S . -B build/mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/mingw -j "$(nproc)" --target Tilvane
exec bash scripts/wine-run.sh build/mingw/app/Tilvane.exe
