#!/usr/bin/env bash
# The guide's pictures of what the program makes, from the demo files with the project's own tool:
# the demo original, a mosaic of it in 16x12 tiles (the guide's "Try it now"), and a close-up of
# the mosaic's tiles, four times their size; and the options side by side (random, best, best with
# a cap and mirrored tiles, the colour transfer, blending), each whole at half size (far) and a
# crop at twice its size (near), from tiles cut out of the guide's own screenshots beside the
# demo's. A fixed seed and PNG files without dates make them the same on every run.
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

# 1,491 tiles: the demo's and 48x36 pieces of these screenshots (named, so that a screenshot
# added for another chapter leaves the pictures as they are); the fair share is about 1 use.
mkdir -p "$work/pieces"
cp "$work/demo/Demo_Tiles"/*.bmp "$work/pieces"
for shot in about-box choose-best choose-random choose-shuffle extract-page mosaic-page progress-dialog; do
  "$cli" extract "$root/docs/screenshots/$shot.png" "$work/pieces/$shot" --size 48x36 --quiet
done
"$cli" tiles "$work/pieces" "$work/tiles" --size 48x36 --quiet
options=(random "--choose random" best "--choose best" capped "--choose best --max-uses 4 --mirror"
  transfer "--choose best --max-uses 4 --mirror --colour transfer"
  blend "--choose best --max-uses 4 --mirror --colour transfer --blend 30")
for ((i = 0; i < ${#options[@]}; i += 2)); do
  # shellcheck disable=SC2086  # the option string splits into words on purpose
  "$cli" mosaic "$work/demo/Demo_Original.bmp" "$work/option.bmp" --tiles "$work/tiles/Mosaic_Tiles.lst" \
    --size 16x12 --seed 1 --quiet ${options[i + 1]}
  png "$work/option.bmp" -resize 50% "$out/option-${options[i]}-far.png"
  # Ten by ten tiles where the light meets the sky, each pixel drawn as a 2x2 block.
  png "$work/option.bmp" -crop 160x120+240+96 +repage -filter point -resize 200% "$out/option-${options[i]}-near.png"
done
echo "saved $out/demo-original.png, demo-mosaic.png, demo-close-up.png, option-*-far.png, option-*-near.png"
