#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace tilvane {

// Expands run-length data, row 0 at the top: BI_RLE8 (bits 8) or BI_RLE4 (bits 4) into one
// colour index per pixel, OS/2's RLE24 (bits 24) into blue-green-red triples. Pixels the data
// never reaches stay 0. Runs and deltas that leave a row are clipped to it, and decoding stops
// once the position passes the last row; data that ends between two codes ends the bitmap.
// Throws a Not_Valid error for a code cut short.
std::vector<std::uint8_t> Expand_Rle(std::span<const std::uint8_t> data, int bits, int width, int height);

}  // namespace tilvane
