#!/usr/bin/env bash
# The guide's pictures of the three ways of choosing tiles: the demo mosaic made at random, from
# a shuffled bag and by best match, the same part of each enlarged side by side.
# Usage: choice-pictures.sh [TILVANE_CLI [FOLDER]]  (defaults: build/native/tilvane-cli, docs/screenshots)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=${1:-$root/build/native/tilvane-cli}
out=${2:-$root/docs/screenshots}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" demo "$work/demo" >/dev/null
for choice in random shuffle best; do
  "$cli" mosaic "$work/demo/Demo_Original.bmp" "$work/$choice.bmp" --tiles "$work/demo/Mosaic_Tiles.lst" \
    --size 16x12 --seed 1 --choose "$choice" --quiet
  # The middle quarter, each pixel shown as two, so the tiles can be told apart in print.
  convert "$work/$choice.bmp" -crop 320x240+160+120 +repage -scale 200% -strip "$out/choose-$choice.png"
done
