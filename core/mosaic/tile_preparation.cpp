#include "tile_preparation.h"

#include <algorithm>

namespace tilvane {

RasterImage Fit_Tile(const RasterImage& tile, int width, int height, FittingMode mode) {
    if (mode == FittingMode::ExpandShrink) {
        RasterImage fitted = tile.blank_with_layout(width, height);
        stretch_draw(fitted, Rect::at(0, 0, width, height), tile);
        return fitted;
    }
    const int kept_width = std::min(width, tile.width());
    const int kept_height = std::min(height, tile.height());
    RasterImage fitted = tile.blank_with_layout(kept_width, kept_height);
    const Rect block = Rect::at(0, 0, kept_width, kept_height);
    copy_rect(fitted, block, tile, block);
    return fitted;
}

TilePreparer::TilePreparer() { working_.set_fill_colour(kWhite); }

void TilePreparer::Prepare_Tile(const std::string& tile_path, int width, int height, FittingMode mode,
                                Colour target) {
    loaded_.load_from_file(tile_path);
    prepare_fitted(Fit_Tile(loaded_, width, height, mode), width, height, target);
}

void TilePreparer::prepare_fitted(const RasterImage& fitted, int width, int height, Colour target) {
    working_.set_width(width);
    working_.set_height(height);
    working_.set_pixel_format(fitted.pixel_format());

    const Rect block = Rect::at(0, 0, fitted.width(), fitted.height());
    copy_rect(working_, block, fitted, block);

    const Rect cell = Rect::at(0, 0, width, height);
    const Colour own_mean = Average_Colour(working_, cell);
    Align_Average_Colour(working_, cell, own_mean, target);
}

}  // namespace tilvane
