#!/usr/bin/env bash
# Builds the distribution ZIP, Tilvane-1.0f.zip: the program, the command-line tool, the guide,
# the catalog, the demo original, tiles and tile list, and a read-me. The tile list names the
# demo tiles relative to the folder it is in.
# Without a build folder it builds the Windows targets it needs in build/mingw first (configuring
# that folder when missing), so one command makes the ZIP from a fresh
# clone; given the folder of a finished Windows build, it packs what that folder holds.
# Usage: scripts/package.sh [Windows build folder] [ZIP file]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ -n "${1:-}" ]; then
  build=$(realpath -m "$1")
else
  build=$root/build/mingw
  launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  if [ ! -f "$build/CMakeCache.txt" ]; then  # (the configure cross-compiles the libraries too)
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
  fi
  cmake --build "$build" -j "$(nproc)" --target Tilvane tilvane-cli documents >/dev/null
fi
zip_file=$(realpath -m "${2:-$build/Tilvane-1.0f.zip}")
app="$build/app"

for f in Tilvane.exe Tilvane.pdf catalog.txt Demo_Original.bmp; do
  [ -f "$app/$f" ] || { echo "package: $app/$f is missing; build the Windows targets first" >&2; exit 1; }
done
[ -f "$build/tilvane-cli.exe" ] || { echo "package: $build/tilvane-cli.exe is missing" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$app/Tilvane.exe" "$build/tilvane-cli.exe" "$app/Tilvane.pdf" "$app/catalog.txt" "$app/Demo_Original.bmp" "$stage/"
cp -r "$app/Demo_Tiles" "$stage/"
(cd "$stage" && for tile in Demo_Tiles/*.bmp; do printf '%s\r\n' "${tile//\//\\}"; done) > "$stage/Mosaic_Tiles.lst"
sed 's/$/\r/' "$root/docs/ReadMe.txt" > "$stage/ReadMe.txt"

mkdir -p "$(dirname "$zip_file")"
rm -f "$zip_file"
(cd "$stage" && TZ=UTC zip -q -X -r "$zip_file" .)
echo "$zip_file: $(unzip -Z1 "$zip_file" | wc -l) files, $(stat -c %s "$zip_file") bytes"
