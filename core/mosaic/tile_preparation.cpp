#include "tile_preparation.h"

#include <algorithm>

#include "codecs/bmp/bmp_file.h"
#include "image/colour_operations.h"
#include "support/error.h"
#include "image/raster_drawing.h"

namespace tilvane {

Fitted_Tile Fit_Tile(const Raster_Image& tile, int width, int height, Fitting_Mode mode) {
    // The working tile cannot take a custom layout. Refusing it here, before any cell is drawn
    // with it, makes every way of drawing the cells fail alike.
    if (tile.Format() == Pixel_Format::Custom) throw Error::Invalid_Pixel_Format();
    const bool stretch = mode == Fitting_Mode::Expand_Shrink;
    const int block_width = stretch ? width : std::min(width, tile.Width());
    const int block_height = stretch ? height : std::min(height, tile.Height());
    const Rect block = Rect::At(0, 0, block_width, block_height);
    Fitted_Tile fitted{tile.Blank_With_Layout(block_width, block_height), {}};
    if (stretch)
        Stretch_Draw(fitted.block, block, tile);
    else
        Copy_Rect(fitted.block, block, tile, block);
    fitted.mean = Average_Colour(fitted.block, block);
    return fitted;
}

Fitted_Tile Mirrored(const Fitted_Tile& fitted) {
    const int width = fitted.block.Width(), height = fitted.block.Height();
    Fitted_Tile mirrored{fitted.block.Blank_With_Layout(width, height), fitted.mean};
    for (int x = 0; x < width; ++x) Copy_Rect(mirrored.block, Rect::At(width - 1 - x, 0, 1, height), fitted.block, Rect::At(x, 0, 1, height));
    return mirrored;
}

Tile_Preparer::Tile_Preparer() { working_.Set_Fill_Colour(kWhite); }

void Tile_Preparer::Prepare_Tile(const std::string& tile_path, int width, int height, Fitting_Mode mode,
                                Colour target) {
    loaded_ = Load_Bitmap_File(tile_path);
    Prepare_Fitted(Fit_Tile(loaded_, width, height, mode), width, height, target);
}

void Tile_Preparer::Prepare_Fitted(const Fitted_Tile& fitted, int width, int height, Colour target) {
    working_.Set_Width(width);
    working_.Set_Height(height);
    working_.Set_Format_Of(fitted.block);

    const Rect block = Rect::At(0, 0, fitted.block.Width(), fitted.block.Height());
    Copy_Rect(working_, block, fitted.block, block);

    const Rect cell = Rect::At(0, 0, width, height);
    const bool block_is_the_tile = block == cell && working_.Stores_Unchanged(fitted.block);
    const Colour own_mean = block_is_the_tile ? fitted.mean : Average_Colour(working_, cell);
    Align_Average_Colour(working_, cell, own_mean, target);
}

}  // namespace tilvane
