#!/usr/bin/env bash
# The guide's pictures of what the program makes, from the demo files with the project's own tool:
# the demo original, a mosaic of it in 16x12 tiles (the guide's "Try it now"), and a close-up of
# the mosaic's tiles, four times their size. A fixed seed and PNG files without dates make them
# the same on every run.
# Usage: scripts/guide-pictures.sh [tilvane-cli] [output directory]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=$(realpath "${1:-$root/build/native/tilvane-cli}")
out=$(mkdir -p "${2:-$root/docs/pictures}" && realpath "${2:-$root/docs/pictures}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cli" demo "$work/demo" >/dev/null
"$cli" mosaic "$work/demo/Demo_Original.bmp" "$work/mosaic.bmp" --tiles "$work/demo/Mosaic_Tiles.lst" \
  --size 16x12 --seed 1 --quiet
png() {  # png INPUT [OPERATIONS...] OUTPUT
  convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time "${@: -1}"
}
png "$work/demo/Demo_Original.bmp" "$out/demo-original.png"
png "$work/mosaic.bmp" "$out/demo-mosaic.png"
# Eight by eight tiles from the middle of the picture, each pixel drawn as a 4x4 block.
png "$work/mosaic.bmp" -crop 128x96+256+192 +repage -filter point -resize 400% "$out/demo-close-up.png"
echo "saved $out/demo-original.png, demo-mosaic.png, demo-close-up.png"
