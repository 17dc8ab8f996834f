#pragma once
// What a mosaic build is asked for: the grid, how tiles are fitted, and the options that the
// window's Options menu and dialog and the command-line tool's switches set alike.
#include <string>
#include <vector>

#include "codecs/picture_file.h"
#include "grid/tile_grid.h"
#include "mosaic/colour_transfer.h"
#include "mosaic/tile_choice.h"
#include "mosaic/tile_preparation.h"

namespace tilvane {

// What the window's fields, the settings file and the tool allow for the options below.
inline constexpr Value_Range kMosaic_Scale_Range{1, 16};
inline constexpr Value_Range kMinimum_Distance_Range{0, kLargest_Field_Value};
inline constexpr Value_Range kMaximum_Uses_Range{0, 999999};  // 0: no limit; beyond the cells it limits nothing
inline constexpr Value_Range kBlend_Range{0, kLargest_Blend};
inline constexpr Value_Range kJpeg_Quality_Range{1, 100};

// Every option starts at the value that builds the mosaic the window has always made.
struct Mosaic_Options {
    Fitting_Mode mode = Fitting_Mode::Expand_Shrink;  // how a tile is brought to the cell's size
    Tile_Choice choice = Tile_Choice::Random;
    int min_distance = 0;  // in cells; 0: any tile may come anywhere
    int max_uses = 0;      // 0: no limit
    bool mirror = false;
    Tile_Colour colour = Tile_Colour::Shift;
    int blend = 0;  // per cent of the original laid over each tile
    int scale = 1;  // the mosaic is this many times the original in each direction
    Picture_Formats formats = Picture_Formats::Bmp_Only;  // of the original, the tiles and the mosaic
    int quality = kDefault_Jpeg_Quality;                  // of a JPEG or WebP mosaic
    bool lossless = false;                                // a WebP mosaic without loss, instead of the quality
    bool write_placements = false;  // a record of where each tile went (Placements_Csv)
    std::string placements{};       // where that record goes; empty: beside the mosaic, named after it

    bool operator==(const Mosaic_Options&) const = default;
};

// The grid and the options, as a build takes them: {{grid}, mode, choice, ...}.
struct Mosaic_Settings : Tile_Grid, Mosaic_Options {};

// A whole build: the original and the output as typed or completed, and the tiles in list order.
struct Mosaic_Job {
    std::string original;
    std::vector<std::string> tiles;
    std::string output;
    Mosaic_Settings settings;
};

}  // namespace tilvane
