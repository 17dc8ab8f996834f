#include "tile_preparation.h"

namespace tilvane {

TilePreparer::TilePreparer() { working_.set_fill_colour(kWhite); }

void TilePreparer::Prepare_Tile(const std::string& tile_path, int width, int height, FittingMode mode,
                                Colour target) {
    loaded_.load_from_file(tile_path);
    prepare_loaded(loaded_, width, height, mode, target);
}

void TilePreparer::prepare_loaded(const RasterImage& tile, int width, int height, FittingMode mode,
                                  Colour target) {
    working_.set_width(width);
    working_.set_height(height);
    working_.set_pixel_format(tile.pixel_format());

    const Rect cell = Rect::at(0, 0, width, height);
    if (mode == FittingMode::ExpandShrink)
        stretch_draw(working_, cell, tile);
    else
        copy_rect(working_, cell, tile, cell);

    const Colour own_mean = Average_Colour(working_, cell);
    Align_Average_Colour(working_, cell, own_mean, target);
}

}  // namespace tilvane
