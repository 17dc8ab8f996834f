#pragma once
#include <string>

#include "image/colour.h"
#include "image/raster_image.h"

namespace tilvane {

enum class Fitting_Mode {
    Expand_Shrink,  // stretch the whole tile to the tile size, distorting it if need be
    Truncate_Crop,  // keep the tile's scale, anchored top-left; cut what lies beyond the size
};

// The part of a tile that fitting puts into a width x height working tile, in the tile's own
// layout: the whole tile stretched to the size, or, when cropping, its top-left block of at most
// that size (a smaller tile leaves the rest of the working tile as it was). Its mean colour is
// kept with it: when the block covers the working tile unchanged, that is the tile's own mean,
// and a build need not work it out again for every cell. A tile of custom layout throws
// "Invalid pixel format", as setting the working tile's format to it would.
struct Fitted_Tile {
    Raster_Image block;
    Colour mean;
};
Fitted_Tile Fit_Tile(const Raster_Image& tile, int width, int height, Fitting_Mode mode);

// The fitted block mirrored left to right, in the same layout, with the same mean.
Fitted_Tile Mirrored(const Fitted_Tile& fitted);

// Brings tiles to the tile size and onto a target colour, one cell after another. The loaded
// tile and the working tile live as long as this object (one mosaic build) and are reused for
// every cell: the working tile starts white and is never cleared, so in crop mode a small tile
// leaves the previous cell's pixels around it, and they count in its mean colour.
class Tile_Preparer {
public:
    Tile_Preparer();

    // Loads the tile file, fits it and shifts it onto target; the result is Working_Tile() over
    // (0, 0, width, height). Image-layer errors propagate. This is the plain cell-by-cell
    // preparation: the build's faster drawing (tiles fitted once, rows shared among threads,
    // shifted tiles written straight into the mosaic) is tested against it pixel for pixel.
    void Prepare_Tile(const std::string& tile_path, int width, int height, Fitting_Mode mode, Colour target);

    // The same for a tile already fitted with Fit_Tile.
    void Prepare_Fitted(const Fitted_Tile& fitted, int width, int height, Colour target);

    const Raster_Image& Working_Tile() const { return working_; }

private:
    Raster_Image loaded_;
    Raster_Image working_;
};

}  // namespace tilvane
