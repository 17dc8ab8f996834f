#pragma once
#include <span>

#include "image/raster_image.h"
#include "mosaic/tile_choice.h"

namespace tilvane {

// The original as the cells of a mosaic `scale` times its size see it: a cell's target colour is
// the mean of the original's pixels under the cell, each weighted by the part of it the cell
// covers (Sum_Covered), and the mosaic's undrawn pixels show the original enlarged, each pixel repeated scale times in
// both directions. At scale 1 the mosaic is the original itself, drawn over in place.
class Scaled_Original {
public:
    Scaled_Original(const Raster_Image& original, int scale) : original_(original), scale_(scale) {}

    // The targets of a row of cells (x = lefts[k], top, width x height of the mosaic).
    void Targets(int top, int height, std::span<const int> lefts, int width, std::span<Colour> means) const;

    // A cell's target and structure.
    void Look_At(Rect cell, Colour target, Cell_Look& look) const;

    // Rows top .. bottom - 1 of the mosaic get the enlarged original, those of them that lie in
    // mosaic when it is a band whose row 0 is the whole's row band_top.
    void Enlarge_Into(Raster_Image& mosaic, int top, int bottom, int band_top = 0) const;

private:
    const Raster_Image& original_;
    int scale_;
};

}  // namespace tilvane
