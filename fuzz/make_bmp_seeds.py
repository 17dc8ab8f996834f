#!/usr/bin/python3
"""Writes the small BMP files that start the decoder fuzzer: one per header kind and encoding."""
import pathlib
import struct

OUT = pathlib.Path(__file__).resolve().parent / "corpus" / "bmp"


def bmp(header_size, width, height, bits, compression=0, table=(), masks=(), pixels=b"", colours_used=None):
    core = header_size == 12
    if core:
        header = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        header = struct.pack("<IiiHH", header_size, width, height, 1, bits)
        if header_size > 16:
            used = len(table) if colours_used is None else colours_used
            header += struct.pack("<IIiiII", compression, len(pixels), 0, 0, used, 0)
        if header_size >= 52:
            header += b"".join(struct.pack("<I", m) for m in masks)
        header = header.ljust(header_size, b"\0")
        if header_size < 52:
            header += b"".join(struct.pack("<I", m) for m in masks)
    header += b"".join(bytes((b, g, r)) if core else bytes((b, g, r, 0)) for r, g, b in table)
    offset = 14 + len(header)
    return b"BM" + struct.pack("<III", offset + len(pixels), 0, offset) + header + pixels


GREYS = [(i * 17, i * 17, i * 17) for i in range(16)]


def rows(width, height, bits, seed):
    stride = (width * bits + 31) // 32 * 4
    return bytes((seed + i * 37) % 256 for i in range(stride * height))


SEEDS = {
    "core_8.bmp": bmp(12, 5, 3, 8, table=GREYS, pixels=rows(5, 3, 8, 1)),
    "os2_short_24.bmp": bmp(16, 3, 2, 24, pixels=rows(3, 2, 24, 2)),
    "os2_rle4.bmp": bmp(64, 6, 3, 4, 2, table=GREYS, pixels=bytes([6, 0x12, 0, 0, 0, 3, 0x45, 0x60, 0, 2, 1, 0, 3, 7, 0, 1])),
    "info_1.bmp": bmp(40, 33, 3, 1, table=[(0, 0, 0), (255, 255, 255)], pixels=rows(33, 3, 1, 3)),
    "info_4_top_down.bmp": bmp(40, 7, -3, 4, table=GREYS, pixels=rows(7, 3, 4, 4)),
    "info_8_short_table.bmp": bmp(40, 5, 2, 8, table=GREYS[:3], pixels=rows(5, 2, 8, 5)),
    "info_rle8.bmp": bmp(40, 8, 4, 8, 1, table=GREYS, pixels=bytes([8, 1, 0, 0, 0, 3, 2, 3, 4, 0, 0, 2, 2, 1, 3, 9, 0, 0, 0, 1])),
    "info_16.bmp": bmp(40, 3, 2, 16, pixels=rows(3, 2, 16, 6)),
    "info_565.bmp": bmp(40, 3, 2, 16, 3, masks=(0xF800, 0x07E0, 0x001F), pixels=rows(3, 2, 16, 7)),
    "info_24.bmp": bmp(40, 3, 3, 24, pixels=rows(3, 3, 24, 8)),
    "info_32.bmp": bmp(40, 2, 2, 32, pixels=rows(2, 2, 32, 9)),
    "v3_444.bmp": bmp(56, 3, 2, 16, 3, masks=(0x0F00, 0x00F0, 0x000F, 0xF000), pixels=rows(3, 2, 16, 10)),
    "info_alpha_bitfields.bmp": bmp(40, 2, 2, 32, 6, masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000), pixels=rows(2, 2, 32, 11)),
    "v5_101010.bmp": bmp(124, 2, 2, 32, 3, masks=(0x3FF00000, 0xFFC00, 0x3FF), pixels=rows(2, 2, 32, 12)),
    "info_2.bmp": bmp(40, 9, 3, 2, table=GREYS[:4], pixels=rows(9, 3, 2, 13)),
    "os2_rle24.bmp": bmp(64, 5, 3, 24, 4, pixels=bytes([3, 0, 0, 255, 0, 0, 0, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0,
                                                       0, 2, 1, 1, 2, 9, 9, 9, 0, 1])),
    "info_64.bmp": bmp(40, 3, 2, 64, pixels=rows(3, 2, 64, 14)),
    "info_jpeg.bmp": bmp(40, 45, 29, 0, 4, pixels=(pathlib.Path(__file__).resolve().parent.parent / "tests" / "data" / "jpeg" / "greyscale.jpg").read_bytes()),
}

if __name__ == "__main__":
    OUT.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (OUT / name).write_bytes(data)
