#!/usr/bin/env bash
# Makes the WebP test files with libwebp's own tools (Debian's webp package) and, beside each,
# the PNG that libwebp's reference decoder makes of it (dwebp; of an animation, its first frame).
# Run once; the results are checked in. Needs python3-pil for the source pictures.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work" <<'PY'
import sys
from PIL import Image
w, h = 37, 23
for name, alpha in (("opaque", False), ("alpha", True)):
    image = Image.new("RGBA", (w, h))
    for y in range(h):
        for x in range(w):
            a = 255 if not alpha else (x * 255 // (w - 1)) if y % 3 else 0
            image.putpixel((x, y), ((x * 7) % 256, (y * 11) % 256, (x * y) % 256, a))
    image.save(f"{sys.argv[1]}/{name}.png")
second = Image.new("RGBA", (w, h), (20, 200, 90, 255))
second.save(f"{sys.argv[1]}/second.png")
PY
cwebp -quiet -q 80 "$work/opaque.png" -o lossy.webp
cwebp -quiet -lossless "$work/opaque.png" -o lossless.webp
cwebp -quiet -q 60 -alpha_q 100 "$work/alpha.png" -o lossy_alpha.webp
cwebp -quiet -lossless -exact "$work/alpha.png" -o lossless_alpha.webp
img2webp -q 70 "$work/alpha.png" -d 100 "$work/second.png" -o animated.webp 2>/dev/null
for f in lossy lossless lossy_alpha lossless_alpha; do dwebp -quiet "$f.webp" -o "$f.png"; done
webpmux -get frame 1 animated.webp -o "$work/first.webp" >/dev/null
dwebp -quiet "$work/first.webp" -o animated.png
