#include "scaled_original.h"

#include <algorithm>
#include <cstring>

#include "image/colour_operations.h"
#include "mosaic/tile_structure.h"

namespace tilvane {
namespace {

// Writes each of a row's pixels, of pixel_bytes each, k times over.
void Widen_Row(const std::uint8_t* in, int width, std::size_t pixel_bytes, std::size_t k, std::uint8_t* out) {
    for (int x = 0; x < width; ++x, in += pixel_bytes)
        for (std::size_t i = 0; i < k; ++i, out += pixel_bytes) std::memcpy(out, in, pixel_bytes);
}

}  // namespace

void Scaled_Original::Targets(int top, int height, std::span<const int> lefts, int width, std::span<Colour> means) const {
    if (scale_ == 1) {
        Average_Colours(original_, top, height, lefts, width, means);
        return;
    }
    for (std::size_t k = 0; k < lefts.size(); ++k) {
        const Covered_Sums sums = Sum_Covered(original_, Rect::At(lefts[k], top, width, height), scale_);
        const auto mean = [&](int ch) { return static_cast<std::uint8_t>(sums.area ? sums.channel[ch] / sums.area : 0); };
        means[k] = {mean(2), mean(1), mean(0)};
    }
}

void Scaled_Original::Look_At(Rect cell, Colour target, Cell_Look& look) const {
    look.target = target;
    look.structure = Structure_Of(original_, cell, target, scale_, &look.visible);
}

void Scaled_Original::Enlarge_Into(Raster_Image& mosaic, int top, int bottom, int band_top) const {
    top = std::max(top, band_top);
    bottom = std::min(bottom, band_top + mosaic.Height());
    const std::size_t k = static_cast<std::size_t>(scale_);
    const bool indexed = mosaic.Index_Row(0) != nullptr;
    for (int y = top; y < bottom; ++y) {
        const int row = y - band_top;
        if (y % scale_ != 0 && y > top) {  // the row above came from the same row of the original
            std::memcpy(mosaic.Row(row), mosaic.Row(row - 1), mosaic.Row_Bytes());
            if (indexed) std::memcpy(mosaic.Index_Row(row), mosaic.Index_Row(row - 1), static_cast<std::size_t>(mosaic.Width()));
            continue;
        }
        Widen_Row(original_.Row(y / scale_), original_.Width(), 3, k, mosaic.Row(row));
        if (indexed) Widen_Row(original_.Index_Row(y / scale_), original_.Width(), 1, k, mosaic.Index_Row(row));
    }
}

}  // namespace tilvane
