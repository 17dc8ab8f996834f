#include "tile_preparation.h"

#include <algorithm>

#include "image/colour_operations.h"
#include "support/error.h"
#include "image/raster_drawing.h"

namespace tilvane {

Fitted_Tile Fit_Tile(const RasterImage& tile, int width, int height, Fitting_Mode mode) {
    // The working tile cannot take a custom layout. Refusing it here, before any cell is drawn
    // with it, makes every way of drawing the cells fail alike.
    if (tile.pixel_format() == PixelFormat::Custom) throw Error::Invalid_Pixel_Format();
    const bool stretch = mode == Fitting_Mode::Expand_Shrink;
    const int block_width = stretch ? width : std::min(width, tile.width());
    const int block_height = stretch ? height : std::min(height, tile.height());
    const Rect block = Rect::at(0, 0, block_width, block_height);
    Fitted_Tile fitted{tile.blank_with_layout(block_width, block_height), {}};
    if (stretch)
        stretch_draw(fitted.block, block, tile);
    else
        copy_rect(fitted.block, block, tile, block);
    fitted.mean = Average_Colour(fitted.block, block);
    return fitted;
}

Fitted_Tile Mirrored(const Fitted_Tile& fitted) {
    const int width = fitted.block.width(), height = fitted.block.height();
    Fitted_Tile mirrored{fitted.block.blank_with_layout(width, height), fitted.mean};
    for (int x = 0; x < width; ++x) copy_rect(mirrored.block, Rect::at(width - 1 - x, 0, 1, height), fitted.block, Rect::at(x, 0, 1, height));
    return mirrored;
}

Tile_Preparer::Tile_Preparer() { working_.set_fill_colour(kWhite); }

void Tile_Preparer::Prepare_Tile(const std::string& tile_path, int width, int height, Fitting_Mode mode,
                                Colour target) {
    loaded_.load_from_file(tile_path);
    Prepare_Fitted(Fit_Tile(loaded_, width, height, mode), width, height, target);
}

void Tile_Preparer::Prepare_Fitted(const Fitted_Tile& fitted, int width, int height, Colour target) {
    working_.set_width(width);
    working_.set_height(height);
    working_.set_pixel_format_of(fitted.block);

    const Rect block = Rect::at(0, 0, fitted.block.width(), fitted.block.height());
    copy_rect(working_, block, fitted.block, block);

    const Rect cell = Rect::at(0, 0, width, height);
    const bool block_is_the_tile = block == cell && working_.stores_unchanged(fitted.block);
    const Colour own_mean = block_is_the_tile ? fitted.mean : Average_Colour(working_, cell);
    Align_Average_Colour(working_, cell, own_mean, target);
}

}  // namespace tilvane
