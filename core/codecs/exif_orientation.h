#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace tilvane {

// The orientation (1 to 8) that the payload of a JPEG APP1 segment gives in its Exif data: the
// tag 0x0112 of the first image directory, after "Exif\0\0" and a TIFF header of either byte
// order. 1 (as stored) when the payload holds no such tag or is malformed; every read is checked
// against the payload's end.
int Exif_Orientation(std::span<const std::uint8_t> app1_payload);
// The same from the Exif data alone, starting at its TIFF header, as a PNG file's eXIf chunk
// holds it.
int Tiff_Orientation(std::span<const std::uint8_t> tiff);

// Turns width x height blue-green-red pixels, rows as stored, into the upright picture for an
// orientation: 2 mirrors, 3 turns half round, 4 flips, 5 transposes, 6 turns a quarter clockwise,
// 7 transposes the other way, 8 turns a quarter anticlockwise. Width and height swap for 5 to 8.
void Make_Upright(std::vector<std::uint8_t>& bgr, int& width, int& height, int orientation);

}  // namespace tilvane
