#pragma once
#include <string>

#include "codecs/picture_format.h"
#include "grid/tile_grid.h"
#include "progress/run_progress.h"

namespace tilvane {

// How much of the grid a run visits: the index of the extraction page's limit choice.
enum class Extract_Limit {
    First_Tile = 0,    // row 1, column 1
    First_Row = 1,     // every tile of row 1
    First_Column = 2,  // column 1 of every row
    All = 3,
};

// The limit a choice index stands for: no choice (-1) and anything past the last act as All.
[[nodiscard]] Extract_Limit Extract_Limit_From_Index(int index);

// The extraction page's choices, taken once at the start of a run.
struct Extract_Settings : Tile_Grid {
    Extract_Limit limit = Extract_Limit::All;
};

// The name of an extracted tile file: directory (which ends with a separator, or is empty for the current directory), then the
// column and row numbers zero-padded to three digits and joined by a comma, then ".bmp":
// "D\012,003.bmp". Numbers of four or more digits are written in full.
[[nodiscard]] std::string Extracted_Tile_Name(const std::string& directory, int column, int row);

// Cuts the mosaic of mosaic_path into tile files of tile_width by tile_height pixels in
// directory: tiles start every Step_X() columns and Step_Y() rows from the top-left pixel, and
// each one whose corner lies inside the mosaic is written at full size, in the mosaic's pixel
// format and colour table, with black where it reaches past the mosaic. An existing tile file is
// replaced. Progress is reported once per row; the abort flag is read before every row and tile.
// The mosaic is read a band of one tile row at a time (Picture_Rows), so a poster of any size
// takes the memory of a band. Image-layer errors propagate: a mosaic whose headers (or a BMP's
// pixel data size) are not valid before anything is written or the progress started; data found
// not valid in a later band, or a tile that cannot be written, with the tiles before it kept, no
// partial file left and End_Processing not called. A tile size below 1 or a grid that never advances throws
// Error Grid_Never_Advances before anything is read (the size and gap fields and the tool hold both in range).
// The mosaic is read as formats takes it (Open_Picture_Rows): by its extension, or a BMP whatever
// the extension. The tiles are BMP files either way.
void Extract_Tiles(const std::string& mosaic_path, const std::string& directory, const Extract_Settings& settings,
                   Run_Progress& progress, Picture_Formats formats = Picture_Formats::Bmp_Only);

}  // namespace tilvane
