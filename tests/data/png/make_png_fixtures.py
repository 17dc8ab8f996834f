#!/usr/bin/python3
"""Writes the PNG decoder's test files, each beside the 24-bit BMP it must decode to (NAME.png and
NAME.bmp). Run it again only to change the set; the files are kept in the repository so that every
build tests against the same bytes.

Pillow writes every kind it can write; the kinds it cannot (2- and 4-bit grey, 16-bit colour and
grey with alpha, interlaced files) come from the small writer below. Each picture is drawn from
16-bit samples; the BMP holds them laid onto white and rounded to 8 bits. Before anything is
saved, Pillow reads every PNG back and must agree with the BMP within one level (it truncates
16-bit channels where the decoder rounds them)."""
import io
import pathlib
import struct
import zlib

from PIL import Image, ImageOps

here = pathlib.Path(__file__).resolve().parent
# Odd sizes, so that no row is a whole number of bytes at low depths and every interlace pass
# has a ragged edge.
W, H = 13, 11

ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def colour16(x, y):
    """Red, green, blue and alpha ramps over the full 16-bit range, with opaque, clear and
    half-clear pixels among them."""
    alpha = [65535, 0, 32768, 65535, 4660][(x + 2 * y) % 5]
    return ((x * 65535) // (W - 1), (y * 65535) // (H - 1), ((x + y) * 65535) // (W + H - 2), alpha)


def grey16(x, y):
    r, g, b, a = colour16(x, y)
    return (r + g + b) // 3, a


def level(v16, depth):
    return v16 >> (16 - depth)


def to8(value, depth):
    """A sample of the given depth as the decoder widens it (low depths) or rounds it (16)."""
    if depth == 16:
        return (value * 255 + 32767) // 65535
    return value * 255 // ((1 << depth) - 1)


def onto_white(value, alpha, depth):
    full = (1 << depth) - 1
    if depth == 16:
        return ((value * alpha + full * (full - alpha)) * 255 + full * full // 2) // (full * full)
    return to8((value * alpha + full * (full - alpha) + full // 2) // full, depth)


def png(colour_type, depth, rows, palette=None, trns=None, interlace=False):
    """A PNG of the given samples, every row with filter 0."""
    def pack(row):
        samples = [s for pixel in row for s in pixel]
        if depth == 16:
            return b"".join(struct.pack(">H", s) for s in samples)
        if depth == 8:
            return bytes(samples)
        bits = "".join(format(s, f"0{depth}b") for s in samples)
        bits += "0" * (-len(bits) % 8)
        return bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))

    passes = ADAM7 if interlace else [(0, 0, 1, 1)]
    raw = b""
    for x0, y0, dx, dy in passes:
        for y in range(y0, H, dy):
            row = rows[y][x0::dx]
            if row:
                raw += b"\0" + pack(row)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, depth, colour_type, 0, 0, int(interlace)))
    if palette:
        out += chunk(b"PLTE", bytes(c for entry in palette for c in entry))
    if trns is not None:
        out += chunk(b"tRNS", trns)
    return out + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def expected(pixel_of, depth):
    """The decoded picture: pixel_of gives (r, g, b, alpha) at the file's depth."""
    im = Image.new("RGB", (W, H))
    for y in range(H):
        for x in range(W):
            r, g, b, a = pixel_of(x, y)
            im.putpixel((x, y), tuple(onto_white(c, a, depth) for c in (r, g, b)))
    return im


def save(name, data, want):
    path = here / f"{name}.png"
    path.write_bytes(data)
    with Image.open(path) as pillow:
        if pillow.mode.startswith("I"):  # 16-bit grey: Pillow keeps the samples and the key
            key = pillow.info.get("transparency")
            got = Image.new("L", pillow.size)
            got.putdata([255 if v == key else round(v / 257) for v in pillow.getdata()])
            got = got.convert("RGB")
        else:
            rgba = ImageOps.exif_transpose(pillow).convert("RGBA")
            got = Image.alpha_composite(Image.new("RGBA", rgba.size, "white"), rgba).convert("RGB")
    worst = max(abs(a - b) for p, q in zip(got.getdata(), want.getdata()) for a, b in zip(p, q))
    assert worst <= 1, f"{name}: Pillow reads it {worst} levels away"
    want.save(here / f"{name}.bmp", "BMP")


def pillow_png(im, **options):
    path = here / "pillow.tmp.png"
    im.save(path, "PNG", **options)
    data = path.read_bytes()
    path.unlink()
    return data


def grey_rows(depth, alpha=False):
    return [[(level(grey16(x, y)[0], depth),) + ((level(grey16(x, y)[1], depth),) if alpha else ())
             for x in range(W)] for y in range(H)]


def colour_rows(depth, alpha=False):
    return [[tuple(level(c, depth) for c in colour16(x, y)[:4 if alpha else 3]) for x in range(W)] for y in range(H)]


def grey_pixel(depth, alpha=False, key=None):
    def pixel_of(x, y):
        v = level(grey16(x, y)[0], depth)
        full = (1 << depth) - 1
        a = level(grey16(x, y)[1], depth) if alpha else (0 if v == key else full)
        return v, v, v, a
    return pixel_of


def colour_pixel(depth, alpha=False, key=None):
    def pixel_of(x, y):
        r, g, b = (level(c, depth) for c in colour16(x, y)[:3])
        full = (1 << depth) - 1
        a = level(colour16(x, y)[3], depth) if alpha else (0 if (r, g, b) == key else full)
        return r, g, b, a
    return pixel_of


def from_rows(mode, rows):
    im = Image.new(mode, (W, H))
    im.putdata([p if len(p) > 1 else p[0] for row in rows for p in row])
    return im


# Grey at every depth; Pillow writes 1, 8 and 16 bits, the writer above 2 and 4.
for depth in (1, 2, 4, 8, 16):
    rows = grey_rows(depth)
    if depth == 1:
        data = pillow_png(from_rows("L", [[(v * 255,) for (v,) in row] for row in rows]).convert("1"))
    elif depth == 8:
        data = pillow_png(from_rows("L", rows))
    elif depth == 16:
        data = pillow_png(from_rows("I", rows).convert("I;16"))
    else:
        data = png(0, depth, rows)
    save(f"grey_{depth}", data, expected(grey_pixel(depth), depth))

# Grey with alpha, colour and colour with alpha, 8 bits by Pillow and 16 by the writer.
save("grey_alpha_8", pillow_png(from_rows("LA", grey_rows(8, True))), expected(grey_pixel(8, True), 8))
save("grey_alpha_16", png(4, 16, grey_rows(16, True)), expected(grey_pixel(16, True), 16))
save("rgb_8", pillow_png(from_rows("RGB", colour_rows(8))), expected(colour_pixel(8), 8))
save("rgb_16", png(2, 16, colour_rows(16)), expected(colour_pixel(16), 16))
save("rgba_8", pillow_png(from_rows("RGBA", colour_rows(8, True))), expected(colour_pixel(8, True), 8))
save("rgba_16", png(6, 16, colour_rows(16, True)), expected(colour_pixel(16, True), 16))

# One colour made transparent by a tRNS chunk.
grey_key = grey_rows(8)[3][5][0]
save("grey_8_trns", pillow_png(from_rows("L", grey_rows(8)), transparency=grey_key),
     expected(grey_pixel(8, key=grey_key), 8))
rgb_key = colour_rows(8)[4][6]
save("rgb_8_trns", pillow_png(from_rows("RGB", colour_rows(8)), transparency=rgb_key),
     expected(colour_pixel(8, key=rgb_key), 8))
grey16_key = grey_rows(16)[2][7][0]
save("grey_16_trns", png(0, 16, grey_rows(16), trns=struct.pack(">H", grey16_key)),
     expected(grey_pixel(16, key=grey16_key), 16))

# Palettes of 1, 2, 4 and 8 bits, the last with an alpha for every entry.
for depth in (1, 2, 4, 8):
    count = 1 << depth
    table = [((i * 97) % 256, (i * 53 + 40) % 256, 255 - (i * 31) % 256) for i in range(count)]
    alphas = [(i * 77) % 256 for i in range(count)] if depth == 8 else None
    index = [[(x * 3 + y * 5) % count for x in range(W)] for y in range(H)]
    im = Image.new("P", (W, H))
    im.putpalette([c for entry in table for c in entry])
    im.putdata([i for row in index for i in row])
    options = {"bits": depth} if depth < 8 else {"transparency": bytes(alphas)}
    suffix = "_trns" if alphas else ""
    save(f"palette_{depth}{suffix}", pillow_png(im, **options),
         expected(lambda x, y: table[index[y][x]] + ((alphas[index[y][x]] if alphas else 255),), 8))

# Interlaced files, which Pillow cannot write.
save("rgba_8_interlaced", png(6, 8, colour_rows(8, True), interlace=True), expected(colour_pixel(8, True), 8))
save("grey_2_interlaced", png(0, 2, grey_rows(2), interlace=True), expected(grey_pixel(2), 2))
save("rgb_16_interlaced", png(2, 16, colour_rows(16), interlace=True), expected(colour_pixel(16), 16))

# A photo's Exif orientation in an eXIf chunk, as Pillow writes it (before the image data), for
# every value: the BMP holds the picture as Pillow turns it upright. A small picture whose every
# pixel differs and whose sides differ, so that each turn and mirror shows.
stored = Image.new("RGB", (5, 3))
stored.putdata([(x * 60, y * 120, (x + 5 * y) * 17) for y in range(3) for x in range(5)])


def upright(data):
    with Image.open(io.BytesIO(data)) as pillow:
        return ImageOps.exif_transpose(pillow).convert("RGB")


for orientation in range(1, 9):
    exif = Image.Exif()
    exif[0x0112] = orientation
    data = pillow_png(stored, exif=exif.tobytes())
    save(f"exif_{orientation}", data, upright(data))

# An eXIf chunk after the image data comes too late for rows already handed out: the picture stays
# as stored, whole or read in bands. (Pillow, which reads the whole file before it turns a
# picture, turns this one, so it is not asked.)
exif = Image.Exif()
exif[0x0112] = 6
data = pillow_png(stored, exif=exif.tobytes())
start = data.index(b"eXIf") - 4
end = start + 12 + struct.unpack(">I", data[start:start + 4])[0]
late = data[:start] + data[end:]
iend = late.index(b"IEND") - 4
(here / "exif_6_after_data.png").write_bytes(late[:iend] + data[start:end] + late[iend:])
stored.save(here / "exif_6_after_data.bmp", "BMP")
