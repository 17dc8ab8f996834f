#!/usr/bin/python3
"""Writes the HEIF decoder's test files, each beside the PNG that libheif's heif-convert makes of
it (NAME.heic or NAME.avif and NAME.png; Debian's libheif-examples). Run it again only to change
the set; the files are kept in the repository so that every build, the Windows one under Wine
included, tests against the same bytes.

heif-enc makes the single pictures: 8-, 10- and 12-bit, with alpha, one AV1-coded (AVIF), and
from JPEG files with an Exif orientation, which it turns into the file's own rotation and mirroring (irot, imir) while
keeping the Exif orientation too, as phones do. Two files have their Exif orientation changed in
place: a turned picture whose Exif says upright, and an untouched one whose Exif says turned.
The grid file is put together here from four tiles that heif-enc coded, as a phone lays out a
photo: tiles joined and cropped to the picture's size, turned a quarter by irot, with an Exif
item saying the same turn."""
import pathlib
import struct
import subprocess
import tempfile

from PIL import Image

here = pathlib.Path(__file__).resolve().parent
# Odd sizes, so that the coded picture is cropped (clap) and every turn changes the shape.
W, H = 37, 23


def picture(width, height, alpha=False, deep=False):
    """Ramps in each channel and a dark corner block, so that every turn and mirror shows."""
    mode = "RGBA" if alpha else "RGB"
    image = Image.new(mode, (width, height))
    top = 65535 if deep else 255
    for y in range(height):
        for x in range(width):
            r = x * top // (width - 1)
            g = y * top // (height - 1)
            b = (x + 2 * y) * top // (width + 2 * height - 3)
            if x < width // 4 and y < height // 3:
                r, g, b = r // 4, g // 4, b // 4
            a = [255, 0, 128, 255, 60][(x + 2 * y) % 5]
            image.putpixel((x, y), (r, g, b, a) if alpha else (r, g, b))
    return image


def deep_png(path, alpha):
    """A 16-bit PNG, which Pillow cannot write: the rows by hand."""
    import zlib
    channels = 4 if alpha else 3
    rows = bytearray()
    for y in range(H):
        rows.append(0)
        for x in range(W):
            r = x * 65535 // (W - 1)
            g = y * 65535 // (H - 1)
            b = (x + 2 * y) * 65535 // (W + 2 * H - 3)
            sample = [r, g, b, [65535, 0, 32768, 65535, 15000][(x + 2 * y) % 5]][:channels]
            rows += struct.pack(">" + "H" * channels, *sample)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", W, H, 16, 6 if alpha else 2, 0, 0, 0)
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows)))
                     + chunk(b"IEND", b""))


def heif_enc(source, target, *options):
    subprocess.run(["heif-enc", "-q", "70", *options, "-o", str(target), str(source)], check=True,
                   stdout=subprocess.DEVNULL)


def jpeg_with_orientation(path, orientation):
    """A JPEG whose Exif holds one entry, the orientation, and nothing after it: heif-enc 1.15
    finds the tag only in an IFD that ends where the Exif data does."""
    picture(W, H).save(path, quality=95)
    tiff = struct.pack(">2sHIH", b"MM", 42, 8, 1) + struct.pack(">HHIHH", 0x0112, 3, 1, orientation, 0)
    app1 = b"Exif\0\0" + tiff
    data = path.read_bytes()
    path.write_bytes(data[:2] + b"\xff\xe1" + struct.pack(">H", 2 + len(app1)) + app1 + data[2:])


def set_exif_orientation(path, orientation):
    """Rewrites the Exif orientation in place: a big- or little-endian TIFF entry of tag 0x0112,
    type 3 (short), count 1."""
    data = bytearray(path.read_bytes())
    for order in ("<", ">"):
        entry = struct.pack(order + "HHI", 0x0112, 3, 1)
        at = data.find(entry)
        if at >= 0:
            data[at + 8:at + 10] = struct.pack(order + "H", orientation)
            path.write_bytes(data)
            return
    raise SystemExit(f"{path}: no Exif orientation")


# --- boxes, for the grid file

def box(kind, *parts):
    payload = b"".join(parts)
    return struct.pack(">I", 8 + len(payload)) + kind + payload


def full_box(kind, version, flags, *parts):
    return box(kind, struct.pack(">I", version << 24 | flags), *parts)


def children(data):
    """The boxes in data, as (type, whole box) in order."""
    at = 0
    while at < len(data):
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, data[at:at + size]
        at += size


def child(data, kind, skip=8):
    return next(b for k, b in children(data[skip:]) if k == kind)


def coded_tile(path):
    """The hvcC box and the coded bytes of a one-picture file that heif-enc wrote."""
    data = path.read_bytes()
    meta = child(data, b"meta", 0)
    ipco = child(child(meta, b"iprp", 12), b"ipco")
    hvcc = child(ipco, b"hvcC")
    iloc = child(meta, b"iloc", 12)
    version = iloc[8]
    base_size = iloc[13] >> 4
    assert version == 0 and iloc[12] == 0x44 and base_size in (0, 4), "heif-enc's iloc as it is in 1.15"
    count = struct.unpack(">H", iloc[14:16])[0]
    at = 16
    for _ in range(count):
        item = struct.unpack(">H", iloc[at:at + 2])[0]
        base = struct.unpack(">I", iloc[at + 4:at + 8])[0] if base_size else 0
        at += 4 + base_size
        extents = struct.unpack(">H", iloc[at:at + 2])[0]
        offset, length = struct.unpack(">II", iloc[at + 2:at + 10])
        if item == 1:
            assert extents == 1
            return hvcc, data[base + offset:base + offset + length]
        at += 2 + 8 * extents
    raise SystemExit(f"{path}: no coded picture")


def grid_file(tiles, tile_size, columns, size, quarter_turns, exif_orientation):
    """A grid picture of size from tiles in rows of columns, turned anticlockwise by irot."""
    rows = len(tiles) // columns
    tile_ids = list(range(2, 2 + len(tiles)))
    exif_id = tile_ids[-1] + 1
    descriptor = struct.pack(">BBBBHH", 0, 0, rows - 1, columns - 1, *size)
    tiff = struct.pack(">2sHIH", b"MM", 42, 8, 1) + struct.pack(">HHIHHI", 0x0112, 3, 1, exif_orientation, 0, 0)
    exif = struct.pack(">I", 0) + tiff

    # Properties, from 1: each tile's hvcC and the shared tile ispe, the grid's ispe and irot.
    properties = [hvcc for hvcc, _ in tiles]
    properties.append(full_box(b"ispe", 0, 0, struct.pack(">II", tile_size, tile_size)))
    properties.append(full_box(b"ispe", 0, 0, struct.pack(">II", *size)))
    properties.append(box(b"irot", bytes([quarter_turns])))
    tile_ispe, grid_ispe, irot = len(tiles) + 1, len(tiles) + 2, len(tiles) + 3
    associations = [(1, [(grid_ispe, False), (irot, True)])]
    associations += [(item, [(index + 1, True), (tile_ispe, False)]) for index, item in enumerate(tile_ids)]
    ipma = full_box(b"ipma", 0, 0, struct.pack(">I", len(associations)), *[
        struct.pack(">HB", item, len(entries)) + bytes((0x80 if essential else 0) | index for index, essential in entries)
        for item, entries in associations])

    def infe(item, kind, hidden):
        return full_box(b"infe", 2, 1 if hidden else 0, struct.pack(">HH4s", item, 0, kind), b"\0")
    iinf = full_box(b"iinf", 0, 0, struct.pack(">H", 2 + len(tiles)), infe(1, b"grid", False),
                    *[infe(item, b"hvc1", True) for item in tile_ids], infe(exif_id, b"Exif", True))
    iref = full_box(b"iref", 0, 0,
                    box(b"dimg", struct.pack(">HH", 1, len(tiles)), *[struct.pack(">H", item) for item in tile_ids]),
                    box(b"cdsc", struct.pack(">HHH", exif_id, 1, 1)))
    payloads = [(1, descriptor)] + [(item, coded) for item, (_, coded) in zip(tile_ids, tiles)] + [(exif_id, exif)]

    def build(mdat_start):
        at = mdat_start + 8
        entries = []
        for item, payload in payloads:
            entries.append(struct.pack(">HHHII", item, 0, 1, at, len(payload)))
            at += len(payload)
        iloc = full_box(b"iloc", 0, 0, struct.pack(">BBH", 0x44, 0, len(payloads)), *entries)
        meta = full_box(b"meta", 0, 0, full_box(b"hdlr", 0, 0, b"\0" * 4, b"pict", b"\0" * 13),
                        full_box(b"pitm", 0, 0, struct.pack(">H", 1)), iloc, iinf, iref,
                        box(b"iprp", box(b"ipco", *properties), ipma))
        ftyp = box(b"ftyp", b"heic", struct.pack(">I", 0), b"mif1heic")
        return ftyp + meta

    head = build(0)
    head = build(len(head))
    return head + box(b"mdat", *[payload for _, payload in payloads])


def without_exif(png):
    """heif-convert copies the file's Exif, orientation and all, into the PNG although the pixels it
    writes are upright already: the eXIf chunk goes, so that the reference reads as its pixels."""
    data = png.read_bytes()
    kept, at = data[:8], 8
    while at < len(data):
        length = struct.unpack(">I", data[at:at + 4])[0]
        if data[at + 4:at + 8] != b"eXIf":
            kept += data[at:at + 12 + length]
        at += 12 + length
    png.write_bytes(kept)


def main():
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        made = []

        picture(W, H).save(scratch / "plain.png")
        heif_enc(scratch / "plain.png", here / "plain_8.heic")
        picture(W, H, alpha=True).save(scratch / "alpha.png")
        heif_enc(scratch / "alpha.png", here / "alpha_8.heic")
        for bits in (10, 12):
            deep_png(scratch / "deep.png", alpha=False)
            heif_enc(scratch / "deep.png", here / f"plain_{bits}.heic", "-b", str(bits))
        deep_png(scratch / "deep_alpha.png", alpha=True)
        heif_enc(scratch / "deep_alpha.png", here / "alpha_10.heic", "-b", "10")
        made += ["plain_8", "alpha_8", "plain_10", "plain_12", "alpha_10"]
        heif_enc(scratch / "alpha.png", here / "avif_alpha_8.avif")

        # irot and imir as heif-enc writes them from a JPEG's orientation, with the Exif kept.
        for orientation in range(1, 9):
            jpeg_with_orientation(scratch / "turned.jpg", orientation)
            heif_enc(scratch / "turned.jpg", here / f"exif_{orientation}.heic")
            made.append(f"exif_{orientation}")
        # A turned file whose Exif says upright, and an untouched one whose Exif says turned: the
        # tests hold them to exif_6.png and exif_1.png, the pictures of the same transforms.
        (here / "turned_exif_upright.heic").write_bytes((here / "exif_6.heic").read_bytes())
        set_exif_orientation(here / "turned_exif_upright.heic", 1)
        (here / "upright_exif_turned.heic").write_bytes((here / "exif_1.heic").read_bytes())
        set_exif_orientation(here / "upright_exif_turned.heic", 6)

        tile = 64
        whole = picture(2 * tile, 2 * tile)
        tiles = []
        for row in range(2):
            for column in range(2):
                whole.crop((column * tile, row * tile, (column + 1) * tile, (row + 1) * tile)).save(scratch / "tile.png")
                heif_enc(scratch / "tile.png", scratch / "tile.heic")
                tiles.append(coded_tile(scratch / "tile.heic"))
        # As a phone writes a portrait photo: turned a quarter clockwise (three anticlockwise),
        # and an Exif orientation of 6 saying the same.
        (here / "grid.heic").write_bytes(grid_file(tiles, tile, 2, (2 * tile - 11, 2 * tile - 27), 3, 6))
        made.append("grid")

        files = [here / f"{name}.heic" for name in made] + [here / "avif_alpha_8.avif"]
        for file in files:
            subprocess.run(["heif-convert", "--quiet", str(file), str(file.with_suffix(".png"))],
                           check=True, stdout=subprocess.DEVNULL)
            without_exif(file.with_suffix(".png"))
            print(file.name, file.stat().st_size, file.with_suffix(".png").stat().st_size)


main()
