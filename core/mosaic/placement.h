#pragma once
// Where a build put each tile, and a record of that given back to draw a mosaic again: what the
// build and the placements file both speak of.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "image/rect.h"

namespace tilvane {

// Where a build put a tile: the cell's column and row (from 1, as extracted tiles are named), the
// part of the mosaic it covers, and the tile's index in the list the build was given.
struct Tile_Placement {
    int column, row;
    Rect area;
    int tile;
    bool mirrored = false;
};

// A mosaic drawn again from a record of placements (see Read_Placements_Csv): each named cell
// gets its tile, the way round the record says; the cells it does not name keep the original.
struct Given_Placements {
    std::string path;  // the record's file, named by its errors
    struct Cell {
        int column, row;  // from 1
        int tile;
        bool mirrored;
        int line;  // of the file, from 1
        std::optional<std::array<int, 4>> place{};  // x, y, width and height, if the record gives them
    };
    std::vector<Cell> cells;
};

}  // namespace tilvane
