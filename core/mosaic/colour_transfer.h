#pragma once
// Colouring a tile in its cell other than by the plain shift of its mean: a transfer of the
// cell's colour in Oklab, and a part of the original laid over the tile.
#include <array>

#include "image/raster_image.h"

namespace tilvane {

// How a tile takes its cell's colour.
enum class Tile_Colour {
    Shift,     // every pixel moved by the difference of the means, held within 0..255
    Transfer,  // in Oklab: the tile's lightness detail, the hues of the original under the cell
};

// Every way, in Tile_Colour's order (which the settings file keeps), with the word the command
// line takes for it.
struct Tile_Colour_Name {
    Tile_Colour colour;
    const char* word;
};
inline constexpr std::array<Tile_Colour_Name, 2> kTile_Colour_Names{{
    {Tile_Colour::Shift, "shift"},
    {Tile_Colour::Transfer, "transfer"},
}};

inline constexpr int kLargest_Blend = 100;  // per cent

// Draws the tile's pixels from its top-left corner into cell of the mosaic (clipped to both),
// coloured as `colour` says, and then lays blend per cent (0 to 100) of the original over them.
// The original is the mosaic `scale` times smaller: its pixel (x / scale, y / scale) lies under
// the mosaic's (x, y); at scale 1 it may be the mosaic itself, whose cell is read before it is
// drawn. The drawn pixels add up, channel by channel, to exactly what the original's under them
// add up to, so the cell keeps the original's mean (before a palette mosaic's reduction).
// The mosaic may be a band of the whole whose row 0 is the whole's row band_top, cell in its rows.
void Colour_Cell(Raster_Image& mosaic, Rect cell, const Raster_Image& tile, const Raster_Image& original, int scale,
                 Tile_Colour colour, int blend, int band_top = 0);

}  // namespace tilvane
