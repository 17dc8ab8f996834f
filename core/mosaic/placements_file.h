#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "mosaic/mosaic_build.h"

namespace tilvane {

// The record of where each tile went, as comma-separated text: the header line
// "column,row,x,y,width,height,tile", then one line per placement with the tile's path as the
// list gave it, in double quotes (inner ones doubled) when it holds a comma, a quote or a line
// break. With mirrored, every line ends with one more column, "mirrored", 1 for a tile drawn
// mirrored and 0 for one drawn as it is. Lines end with CR LF.
std::string Placements_Csv(const std::vector<Tile_Placement>& placements, const std::vector<std::string>& tiles,
                           bool mirrored = false);

// Reads such a record (written by the tool, edited by hand or made by another program; lines
// may end with LF alone, and empty lines are passed over) for drawing it again with the list
// tiles: each tile is found by its path as the list gives it, x, y, width and height are
// whole numbers but not used (the column and row place a cell). A line that is not a placement
// or a header of another shape throws Error Placement_Not_Valid, one naming a tile not in
// tiles Placement_Tile_Unknown, with the line's number, counting the lines of the file.
Given_Placements Read_Placements_Csv(std::string_view text, const std::vector<std::string>& tiles, const std::string& path);

// Where the window writes a mosaic's record: beside it, with ".csv" for its extension
// ("C:\Pictures\My_Mosaic.bmp" gives "C:\Pictures\My_Mosaic.csv").
std::string Placements_File_Beside(std::string_view mosaic);

}  // namespace tilvane
