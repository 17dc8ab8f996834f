#!/usr/bin/python3
"""Writes the small PNG files that start the decoder fuzzer beside the test pictures: every row
filter, a stream split over several IDAT chunks, and every ancillary chunk the PNG library
parses, so that mutations start from each of them."""
import pathlib
import struct
import zlib

OUT = pathlib.Path(__file__).resolve().parent / "corpus" / "png"


def chunk(kind, data=b""):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, colour_type, depth, rows, before=(), after=(), idat_parts=1):
    """rows: each row's filter byte and samples, packed; before/after: chunks around the IDATs."""
    stream = zlib.compress(b"".join(rows))
    step = -(-len(stream) // idat_parts)
    idats = [chunk(b"IDAT", stream[i:i + step]) for i in range(0, len(stream), step)]
    header = chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0))
    return b"\x89PNG\r\n\x1a\n" + header + b"".join(before) + b"".join(idats) + b"".join(after) + chunk(b"IEND")


def rgb_rows(width, height):
    """Every row filter in turn (none, sub, up, average, Paeth) over the same ramp."""
    return [bytes([y % 5]) + bytes((x * 40 + y * 17 + c * 90) % 256 for x in range(width) for c in range(3))
            for y in range(height)]


PALETTE = bytes(v for i in range(4) for v in (i * 80, 255 - i * 60, i * 30))
TEXT = [chunk(b"tEXt", b"Title\0seed"),
        chunk(b"zTXt", b"Comment\0\0" + zlib.compress(b"a compressed comment")),
        chunk(b"iTXt", b"Author\0\0\0en\0Auteur\0seed"),
        chunk(b"iTXt", b"Description\0\1\0fr\0\0" + zlib.compress(b"texte")),
        chunk(b"tIME", struct.pack(">HBBBBB", 2024, 5, 17, 12, 30, 59))]

SEEDS = {
    "filters_idats.png": png(6, 5, 2, 8, rgb_rows(6, 5), idat_parts=3),
    "colour_chunks.png": png(6, 5, 2, 8, rgb_rows(6, 5), before=[
        chunk(b"gAMA", struct.pack(">I", 45455)),
        chunk(b"cHRM", struct.pack(">8I", 31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000)),
        chunk(b"sBIT", bytes([5, 6, 5])),
        chunk(b"iCCP", b"profile\0\0" + zlib.compress(bytes(range(128)))),
        chunk(b"bKGD", struct.pack(">3H", 10, 20, 30)),
        chunk(b"pHYs", struct.pack(">IIB", 2835, 2835, 1)),
        chunk(b"sPLT", b"suggested\0\x08" + bytes([1, 2, 3, 255, 0, 9]) + bytes([7, 8, 9, 128, 0, 3])),
        chunk(b"oFFs", struct.pack(">iiB", 10, -4, 0)),
        chunk(b"pCAL", b"temperature\0" + struct.pack(">iiBB", 0, 255, 0, 2) + b"K\0" + b"0\0" + b"1.5"),
        chunk(b"sCAL", b"\x011.5\x002.25"),
        chunk(b"eXIf", b"MM\0*\0\0\0\x08\0\0"),
        chunk(b"unKn", b"a chunk no reader knows")], after=TEXT),
    # An orientation tag that turns the picture a quarter round, so that mutations reach the turning.
    "exif_turned.png": png(6, 5, 2, 8, rgb_rows(6, 5), before=[
        chunk(b"eXIf", b"MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0")]),
    "palette_chunks.png": png(8, 3, 3, 2, [bytes([0, 0x1B, 0xE4]) for _ in range(3)], before=[
        chunk(b"sRGB", bytes([0])),
        chunk(b"PLTE", PALETTE),
        chunk(b"hIST", struct.pack(">4H", 3, 2, 4, 3)),
        chunk(b"tRNS", bytes([0, 128])),
        chunk(b"bKGD", bytes([1]))]),
}

if __name__ == "__main__":
    OUT.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (OUT / name).write_bytes(data)
