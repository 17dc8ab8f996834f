#include "scaled_original.h"

#include <algorithm>
#include <cstring>

#include "image/colour_operations.h"

namespace tilvane {

void Scaled_Original::Targets(int top, int height, std::span<const int> lefts, int width, std::span<Colour> means) const {
    if (scale_ == 1) {
        Average_Colours(original_, top, height, lefts, width, means);
        return;
    }
    for (std::size_t k = 0; k < lefts.size(); ++k)
        means[k] = Average_Colour(original_, Reduced_Rect(Rect::at(lefts[k], top, width, height), scale_));
}

void Scaled_Original::Look_At(Rect cell, Colour target, Cell_Look& look) const {
    look.target = target;
    look.structure = Structure_Of(original_, cell, target, scale_, &look.visible);
}

void Scaled_Original::Enlarge_Into(RasterImage& mosaic, int top, int bottom) const {
    bottom = std::min(bottom, mosaic.height());
    const std::size_t k = static_cast<std::size_t>(scale_);
    for (int y = std::max(0, top); y < bottom; ++y) {
        std::uint8_t* out = mosaic.row(y);
        if (y % scale_ != 0 && y > top) {  // the row above came from the same row of the original
            std::memcpy(out, mosaic.row(y - 1), mosaic.row_bytes());
            continue;
        }
        const std::uint8_t* in = original_.row(y / scale_);
        for (int x = 0; x < original_.width(); ++x, in += 3)
            for (std::size_t i = 0; i < k; ++i, out += 3) std::memcpy(out, in, 3);
    }
}

}  // namespace tilvane
