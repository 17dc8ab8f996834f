#!/usr/bin/python3
"""Checks tilvane-cli's BMP reading and writing against Pillow and ImageMagick.

Files written by the reference tools in every layout they can produce are decoded by us and by
them, and must agree pixel for pixel; so must files we write in every pixel format, read back by
them. Usage: bmp_reference.py PATH/TO/tilvane-cli   (needs Debian's python3-pil and imagemagick)
"""
import io
import pathlib
import struct
import subprocess
import sys
import tempfile

from PIL import Image

MAGICK = "/usr/bin/convert"
WIDTH, HEIGHT = 37, 23  # odd sizes exercise row padding


class Checker:
    def __init__(self, cli, folder):
        self.cli = cli
        self.folder = pathlib.Path(folder)
        self.passed = 0
        self.failed = 0

    def path(self, name):
        return str(self.folder / name)

    def check(self, name, ok, detail=""):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print(f"FAIL {name} {detail}")

    def run(self, *args):
        return subprocess.run([self.cli, *args], capture_output=True, text=True, check=True).stdout

    def bits(self, path):
        return int(self.run("info", path).split()[1])

    def ours(self, path):
        """Our decoding, as a 24-bit file that any reader gets right."""
        out = path + ".ours24.bmp"
        self.run("convert", path, out, "--bits", "24")
        return pillow(out)


def pillow(path):
    with Image.open(path) as im:
        return im.size, list(im.convert("RGB").getdata())


def magick(path):
    ppm = subprocess.run([MAGICK, path, "-alpha", "off", "-depth", "8", "ppm:-"], capture_output=True, check=True).stdout
    with Image.open(io.BytesIO(ppm)) as im:
        return im.size, list(im.convert("RGB").getdata())


def widened(channel_bits, reader):
    """A reader for layouts with channels under 8 bits. Pillow and ImageMagick widen a stored
    value by repeating its bits, which can be 1 below round(v * 255 / max), the value we store;
    both keep the stored value in the top bits, so it is recovered from there."""
    def read(path):
        size, pixels = reader(path)
        scales = [(8 - bits, (1 << bits) - 1) for bits in channel_bits]
        return size, [tuple((v >> shift) * 255 * 2 // top + 1 >> 1 for v, (shift, top) in zip(p, scales)) for p in pixels]
    return read


def first_difference(a, b):
    if a[0] != b[0]:
        return f"size {a[0]} != {b[0]}"
    for i, (p, q) in enumerate(zip(a[1], b[1])):
        if p != q:
            return f"pixel ({i % a[0][0]}, {i // a[0][0]}): {p} != {q}"
    return ""


def source_image():
    im = Image.new("RGB", (WIDTH, HEIGHT))
    im.putdata([((x * 7) % 256, (y * 11) % 256, (x * y * 3) % 256) for y in range(HEIGHT) for x in range(WIDTH)])
    return im


def magick_file(c, name, source, *options):
    out = c.path(name)
    subprocess.run([MAGICK, source, *options[:-1], options[-1] + out], check=True)
    return out


def v5_to_v4(c, source, name):
    """The same picture with its BITMAPV5HEADER cut to a BITMAPV4HEADER."""
    data = pathlib.Path(source).read_bytes()
    assert struct.unpack_from("<I", data, 14)[0] == 124
    offset = struct.unpack_from("<I", data, 10)[0] - 16
    data = data[:14 + 108] + data[14 + 124:]
    data = data[:2] + struct.pack("<I", len(data)) + data[6:10] + struct.pack("<II", offset, 108) + data[18:]
    out = c.path(name)
    pathlib.Path(out).write_bytes(data)
    return out


def top_down(c, source, name):
    """A 24-bit bottom-up file turned top-down: rows reversed, height negated."""
    data = bytearray(pathlib.Path(source).read_bytes())
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) // 4 * 4
    rows = [data[offset + r * stride:offset + (r + 1) * stride] for r in range(height)]
    data[offset:] = b"".join(reversed(rows))
    struct.pack_into("<i", data, 22, -height)
    out = c.path(name)
    pathlib.Path(out).write_bytes(data)
    return out


def run_length(rows, run_code, literal_bytes):
    """RLE codes for rows of pixels, bottom row first: runs where pixels repeat, literals of up
    to 20 pixels elsewhere, each padded to 16 bits."""
    stream = bytearray()
    for pixels in rows:
        width = len(pixels)
        x = 0
        while x < width:
            run = 1
            while x + run < width and run < 255 and pixels[x + run] == pixels[x]:
                run += 1
            if run >= 2 or width - x < 3:
                stream += run_code(run, pixels[x])
                x += run
                continue
            count = min(width - x, 20)
            literal = literal_bytes(pixels[x:x + count])
            stream += bytes([0, count]) + literal + b"\0" * (len(literal) % 2)
            x += count
        stream += b"\0\0"
    return bytes(stream + b"\0\1")


def stored_rows(path):
    """The stored rows of an uncompressed BMP, bottom row first, and its width, height and table."""
    data = pathlib.Path(path).read_bytes()
    offset = struct.unpack_from("<I", data, 10)[0]
    header_size, width, height, _, bits = struct.unpack_from("<IiiHH", data, 14)
    stride = (width * bits + 31) // 32 * 4
    table = data[14 + header_size:offset]
    return [data[offset + r * stride:offset + (r + 1) * stride] for r in range(height)], width, height, table


def write_bmp(c, name, header, table, pixels):
    out = c.path(name)
    offset = 14 + len(header) + len(table)
    pathlib.Path(out).write_bytes(b"BM" + struct.pack("<III", offset + len(pixels), 0, offset) + header + table + pixels)
    return out


def info_header(width, height, bits, compression=0, size=0, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, size, 0, 0, colours, 0)


def rle4(c, source, name):
    """A 4-bit file re-encoded as BI_RLE4."""
    rows, width, height, table = stored_rows(source)
    pixels = [[(row[x // 2] >> (0 if x % 2 else 4)) & 15 for x in range(width)] for row in rows]

    def packed(literal):
        literal = literal + [0] * (len(literal) % 2)
        return bytes(literal[i] << 4 | literal[i + 1] for i in range(0, len(literal), 2))
    stream = run_length(pixels, lambda run, p: bytes([run, p << 4 | p]), packed)
    header = bytearray(pathlib.Path(source).read_bytes()[14:14 + 40])
    struct.pack_into("<II", header, 16, 2, len(stream))
    return write_bmp(c, name, bytes(header), table, stream)


def rle24(c, source, name):
    """A 24-bit file re-encoded as OS/2 RLE24."""
    rows, width, height, _ = stored_rows(source)
    pixels = [[bytes(row[3 * x:3 * x + 3]) for x in range(width)] for row in rows]
    stream = run_length(pixels, lambda run, p: bytes([run]) + p, b"".join)
    header = struct.pack("<IiiHHII", 64, width, height, 1, 24, 4, len(stream)).ljust(64, b"\0")
    return write_bmp(c, name, header, b"", stream)


def two_bit(c, source, name):
    """An 8-bit file of at most four colours repacked at 2 bits a pixel."""
    rows, width, height, table = stored_rows(source)
    stride = (width * 2 + 31) // 32 * 4
    packed = bytearray()
    for row in rows:
        indexes = list(row[:width]) + [0] * 3
        assert max(indexes) < 4
        packed += bytes(indexes[x] << 6 | indexes[x + 1] << 4 | indexes[x + 2] << 2 | indexes[x + 3]
                        for x in range(0, width, 4)).ljust(stride, b"\0")
    return write_bmp(c, name, info_header(width, height, 2, colours=4), table[:16], bytes(packed))


def sixty_four_bit(c, source, name):
    """A 24-bit file stored at 64 bits a pixel: s2.13 fixed point (1.0 is 0x2000) in linear light."""
    def linear(v):
        v /= 255
        return round((v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4) * 0x2000)
    rows, width, height, _ = stored_rows(source)
    pixels = b"".join(struct.pack("<4H", *(linear(v) for v in row[3 * x:3 * x + 3]), 0x2000)
                      for row in rows for x in range(width))
    return write_bmp(c, name, info_header(width, height, 64), b"", pixels)


def jpeg_inside(c, name):
    """A JPEG file that Pillow wrote, carried as the pixel data of a BI_JPEG bitmap."""
    path = c.path(name + ".jpg")
    source_image().save(path, quality=90)
    stream = pathlib.Path(path).read_bytes()
    return path, write_bmp(c, name, info_header(WIDTH, HEIGHT, 0, 4, len(stream)), b"", stream)


def standing_for(original, wrapped, reader=None):
    """A reader for a layout no reference tool reads: the wrapped file reads as the original
    does; any other file (our saves of it) is read directly."""
    reader = reader or pillow
    return lambda path: reader(original if path == wrapped else path)


def reference_files(c, source):
    """(name, path, bits we should report, reference decoder) for every layout the tools write."""
    src = source_image()
    files = []
    for mode, bits, name in [("1", 1, "1-bit"), ("L", 8, "8-bit grey"), ("RGB", 24, "24-bit"), ("RGBA", 32, "32-bit")]:
        path = c.path(f"pillow-{mode}.bmp")
        src.convert(mode).save(path)
        files.append((f"Pillow {name}", path, bits, pillow))
    path = c.path("pillow-P.bmp")
    src.convert("P", palette=Image.Palette.ADAPTIVE, colors=100).save(path)
    files.append(("Pillow 8-bit palette", path, 8, pillow))

    four_bit = magick_file(c, "im-4.bmp", source, "-type", "palette", "-colors", "12", "BMP3:")
    v5_24 = magick_file(c, "im-v5-24.bmp", source, "BMP:")
    files += [
        ("ImageMagick RLE8", magick_file(c, "im-rle8.bmp", source, "-type", "palette", "-colors", "60", "-compress", "RLE", "BMP3:"), 8, pillow),
        ("ImageMagick 1-bit", magick_file(c, "im-1.bmp", source, "-type", "bilevel", "BMP3:"), 1, pillow),
        ("ImageMagick 4-bit", four_bit, 4, pillow),
        ("ImageMagick core header 4-bit", magick_file(c, "im-core-4.bmp", source, "-type", "palette", "-colors", "12", "BMP2:"), 4, pillow),
        ("ImageMagick core header 24-bit", magick_file(c, "im-core-24.bmp", source, "BMP2:"), 24, pillow),
        ("ImageMagick V5 24-bit", v5_24, 24, pillow),
        ("ImageMagick 5-6-5", magick_file(c, "im-565.bmp", source, "-define", "bmp:subtype=RGB565", "BMP:"), 16, widened((5, 6, 5), pillow)),
        ("ImageMagick 5-5-5", magick_file(c, "im-555.bmp", source, "-define", "bmp:subtype=RGB555", "BMP:"), 15, widened((5, 5, 5), pillow)),
        ("ImageMagick 8-8-8 bitfields", magick_file(c, "im-8888.bmp", source, "-alpha", "set", "-define", "bmp:subtype=ARGB8888", "BMP:"), 32, pillow),
        ("ImageMagick 4-4-4-4 bitfields", magick_file(c, "im-4444.bmp", source, "-alpha", "set", "-define", "bmp:subtype=ARGB4444", "BMP:"), 16, widened((4, 4, 4), magick)),
        ("V4 header", v5_to_v4(c, v5_24, "v4-24.bmp"), 24, pillow),
        ("top-down 24-bit", top_down(c, c.path("pillow-RGB.bmp"), "top-down.bmp"), 24, pillow),
        # Pillow (9.4) reads the odd-length literal ending some of these rows differently from
        # the picture encoded; ImageMagick reads them as encoded.
        ("RLE4", rle4(c, four_bit, "rle4.bmp"), 4, magick),
    ]

    # Layouts that real programs write but the reference tools do not read, made from files
    # they do read. A 2-bit file loads as a 4-bit image, the others as 24-bit ones.
    pillow_24 = c.path("pillow-RGB.bmp")
    four_colours = c.path("pillow-P4.bmp")
    src.convert("P", palette=Image.Palette.ADAPTIVE, colors=4).save(four_colours)
    jpeg, bmp_jpeg = jpeg_inside(c, "bi-jpeg.bmp")
    for name, original, wrapped, bits in [
        ("OS/2 RLE24", pillow_24, rle24(c, pillow_24, "rle24.bmp"), 24),
        ("2-bit", four_colours, two_bit(c, four_colours, "two-bit.bmp"), 4),
        ("64-bit", pillow_24, sixty_four_bit(c, pillow_24, "sixty-four.bmp"), 24),
        ("BI_JPEG", jpeg, bmp_jpeg, 24),
    ]:
        files.append((name, wrapped, bits, standing_for(original, wrapped)))
    return files


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with tempfile.TemporaryDirectory() as folder:
        c = Checker(sys.argv[1], folder)
        source = c.path("source.bmp")
        source_image().save(source)

        # Files the reference tools wrote: we decode them as they do, and what we write back
        # in the same format they decode as before.
        for name, path, bits, reference in reference_files(c, source):
            want = reference(path)
            c.check(f"{name}: bits", c.bits(path) == bits, f"info says {c.run('info', path).strip()}")
            ours = c.ours(path)
            c.check(f"{name}: decode", not first_difference(ours, want), first_difference(ours, want))
            again = path + ".again.bmp"
            c.run("convert", path, again)
            c.check(f"{name}: saved again keeps its bits", c.bits(again) == bits)
            got = reference(again)
            c.check(f"{name}: saved again reads the same", not first_difference(got, want), first_difference(got, want))

        # Files we write in every format: both tools decode them as we do.
        for bits in (1, 4, 8, 15, 16, 24, 32):
            out = c.path(f"ours-{bits}.bmp")
            c.run("convert", source, out, "--bits", str(bits))
            ours = c.ours(out)
            c.check(f"written {bits}-bit: bits", c.bits(out) == bits)
            channels = {15: (5, 5, 5), 16: (5, 6, 5)}.get(bits)
            for tool, reader in (("Pillow", pillow), ("ImageMagick", magick)):
                got = widened(channels, reader)(out) if channels else reader(out)
                c.check(f"written {bits}-bit: {tool} reads it as we do", not first_difference(got, ours),
                        first_difference(got, ours))

        print(f"reference: {c.passed} passed, {c.failed} failed")
        sys.exit(1 if c.failed else 0)


if __name__ == "__main__":
    main()
