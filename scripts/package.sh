#!/usr/bin/env bash
# Builds the distribution ZIP, Tilvane-1.0f.zip, from a finished Windows build: the program, the
# command-line tool, the guide, the catalog, the demo original, tiles and tile list, and a read-me.
# The tile list names the demo tiles relative to the program's folder, so it works wherever the
# ZIP is unpacked (the program starts in its own folder, as Explorer and its shortcuts start it).
# Usage: scripts/package.sh [Windows build folder] [ZIP file]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath "${1:-$root/build/mingw}")
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

rm -f "$zip_file"
(cd "$stage" && TZ=UTC zip -q -X -r "$zip_file" .)
echo "$zip_file: $(unzip -Z1 "$zip_file" | wc -l) files, $(stat -c %s "$zip_file") bytes"
