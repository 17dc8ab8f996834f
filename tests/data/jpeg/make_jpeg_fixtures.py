#!/usr/bin/python3
"""Writes the JPEG decoder's test files with Pillow, each beside the 24-bit BMP that Pillow
decodes it to (NAME.jpg and NAME.bmp). Run it again only to change the set; the files are kept
in the repository so that every build tests against the same bytes.

Restart markers: Pillow cannot write them, so jpegtran (libjpeg-turbo-progs) adds them to a
Pillow file without re-encoding its pixels."""
import io
import pathlib
import subprocess

from PIL import Image

here = pathlib.Path(__file__).resolve().parent
# Odd sizes, so that no edge is a whole block or a whole subsampled group of blocks.
W, H = 45, 29


def picture(mode="RGB"):
    """Smooth gradients crossed by sharp-edged blocks of saturated colour."""
    im = Image.new("RGB", (W, H))
    px = im.load()
    for y in range(H):
        for x in range(W):
            px[x, y] = (x * 255 // (W - 1), y * 255 // (H - 1), (x + y) * 255 // (W + H - 2))
    for i, colour in enumerate([(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]):
        for y in range(3 + i * 6, 8 + i * 6):
            for x in range(4 + i * 9, 13 + i * 9):
                px[x, y] = colour
    return im.convert(mode)


def save(name, im, **options):
    im.save(here / f"{name}.jpg", "JPEG", quality=90, **options)
    write_reference(name)


def write_reference(name):
    with Image.open(here / f"{name}.jpg") as decoded:
        decoded.convert("RGB").save(here / f"{name}.bmp", "BMP")


save("baseline_420", picture(), subsampling=2)
save("baseline_422", picture(), subsampling=1)
save("baseline_444", picture(), subsampling=0)
save("progressive", picture(), progressive=True, subsampling=2)
save("greyscale", picture("L"))
save("cmyk_adobe", picture("CMYK"))


def without_adobe_marker(jpeg):
    """The file without its APP14 segment, as some writers leave CMYK files."""
    at = jpeg.index(b"\xff\xee")
    return jpeg[:at] + jpeg[at + 2 + int.from_bytes(jpeg[at + 2:at + 4], "big"):]


# The same samples, which every reader still takes as Adobe stores them.
(here / "cmyk_plain.jpg").write_bytes(without_adobe_marker((here / "cmyk_adobe.jpg").read_bytes()))
(here / "cmyk_plain.bmp").write_bytes((here / "cmyk_adobe.bmp").read_bytes())

# The orientation tag says "rotate 90 degrees clockwise"; the pixels stay as stored.
exif = Image.Exif()
exif[0x0112] = 6
save("exif_rotated", picture(), exif=exif.tobytes())

# A restart marker after every MCU.
buffer = io.BytesIO()
picture().save(buffer, "JPEG", quality=90, subsampling=2)
restarted = subprocess.run(["jpegtran", "-restart", "1B"], input=buffer.getvalue(), capture_output=True, check=True)
(here / "restart_markers.jpg").write_bytes(restarted.stdout)
write_reference("restart_markers")
