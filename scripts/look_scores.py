#!/usr/bin/python3
"""How a mosaic looks beside its original, from afar and up close.

    look_scores.py ORIGINAL MOSAIC --cell N [--placements FILE.csv]

Prints, on 0-255 RGB with the mosaic brought to the original's size (enlarged bicubically when
smaller, reduced by block means when larger):
  E6     the mean absolute difference of 6x6 block means, over blocks and channels (from afar)
  E<N>   the same at the cell size (whether each cell has its part's mean colour)
  SSIM   structural similarity of the grey pictures (0.299 R + 0.587 G + 0.114 B) reduced 4x by
         block means, 7x7 uniform windows with sample variances, C1 = (0.01*255)^2,
         C2 = (0.03*255)^2, averaged over the windows wholly inside
  chroma per pixel |a1 - a2| + |b1 - b2| in Oklab, times 255, averaged (how far hues stray)
and, given the placements file, the number of distinct tiles and the most uses of one.
"""
import argparse
import collections
import csv

import numpy as np
from PIL import Image


def load(path):
    with Image.open(path) as im:
        return im.convert("RGB")


def block_error(a, b, s):
    h, w = (a.shape[0] // s) * s, (a.shape[1] // s) * s
    def means(x):
        return x[:h, :w].reshape(h // s, s, w // s, s, 3).mean(axis=(1, 3))
    return float(np.abs(means(a) - means(b)).mean())


def grey_reduced(x, k=4):
    g = x[..., 0] * 0.299 + x[..., 1] * 0.587 + x[..., 2] * 0.114
    h, w = (g.shape[0] // k) * k, (g.shape[1] // k) * k
    return g[:h, :w].reshape(h // k, k, w // k, k).mean(axis=(1, 3))


def window_sums(x, n=7):
    c = np.cumsum(np.cumsum(np.pad(x, ((1, 0), (1, 0))), axis=0), axis=1)
    return c[n:, n:] - c[:-n, n:] - c[n:, :-n] + c[:-n, :-n]


def ssim(a, b):
    p, q = grey_reduced(a), grey_reduced(b)
    n = 49.0
    mp, mq = window_sums(p) / n, window_sums(q) / n
    sample = n / (n - 1)
    vp = (window_sums(p * p) / n - mp * mp) * sample
    vq = (window_sums(q * q) / n - mq * mq) * sample
    cov = (window_sums(p * q) / n - mp * mq) * sample
    c1, c2 = (0.01 * 255) ** 2, (0.03 * 255) ** 2
    return float(((2 * mp * mq + c1) * (2 * cov + c2) / ((mp * mp + mq * mq + c1) * (vp + vq + c2))).mean())


def oklab_ab(x):
    v = x / 255.0
    lin = np.where(v <= 0.04045, v / 12.92, ((v + 0.055) / 1.055) ** 2.4)
    r, g, b = lin[..., 0], lin[..., 1], lin[..., 2]
    l = np.cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b)
    m = np.cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b)
    s = np.cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b)
    return (1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s)


def chroma(a, b):
    (a1, b1), (a2, b2) = oklab_ab(a), oklab_ab(b)
    return float((np.abs(a1 - a2) + np.abs(b1 - b2)).mean() * 255)


def variety(path):
    with open(path, newline="", encoding="utf-8") as f:
        # A mirrored tile (a "mirrored" column, when there is one) counts as a use of its tile.
        uses = collections.Counter(row["tile"] for row in csv.DictReader(f))
    return len(uses), max(uses.values())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("original")
    parser.add_argument("mosaic")
    parser.add_argument("--cell", type=int, required=True)
    parser.add_argument("--placements")
    args = parser.parse_args()
    original, mosaic = load(args.original), load(args.mosaic)
    if mosaic.size != original.size:
        smaller = mosaic.width < original.width
        mosaic = mosaic.resize(original.size, Image.BICUBIC if smaller else Image.BOX)
    a = np.asarray(original, dtype=np.float64)
    b = np.asarray(mosaic, dtype=np.float64)
    line = (f"E6 {block_error(a, b, 6):.2f}  E{args.cell} {block_error(a, b, args.cell):.2f}  "
            f"SSIM {ssim(a, b):.3f}  chroma {chroma(a, b):.2f}")
    if args.placements:
        distinct, most = variety(args.placements)
        line += f"  distinct {distinct}  most uses {most}"
    print(line)


if __name__ == "__main__":
    main()
