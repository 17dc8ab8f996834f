#pragma once
#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "codecs/picture_file.h"
#include "grid/tile_grid.h"
#include "mosaic/colour_transfer.h"
#include "mosaic/tile_choice.h"
#include "mosaic/tile_preparation.h"
#include "progress/run_progress.h"
#include "support/random_source.h"

namespace tilvane {

// The mosaic page's choices that shape the grid, and how tiles are fitted to its cells.
struct Mosaic_Settings : Tile_Grid {
    Fitting_Mode mode = Fitting_Mode::Expand_Shrink;
    Tile_Choice choice = Tile_Choice::Random;
    int min_distance = 0;  // in cells; 0: any tile may come anywhere
    int max_uses = 0;  // 0: no limit
    bool mirror = false;
    static constexpr int kLargest_Scale = 16;
    int scale = 1;  // the mosaic is this many times the original in each direction
    Tile_Colour colour = Tile_Colour::Shift;
    int blend = 0;  // per cent of the original laid over each tile
};

// How a build reads and writes its pictures: the program's way by default, BMP files only.
struct Picture_Access {
    // Every format by its extension (the command-line tool); a JPEG tile that is stretched
    // decodes at the smallest scale that covers the tile size.
    bool any_format = false;
    Save_Options save;
    // Every tile is read and fitted before the first cell, each picture once, on all processors
    // (the best choice does so whatever this says: it compares them all before it chooses).
    bool fit_first = false;
    // Which tiles, by index, were found by searching a folder (none when shorter than the list).
    // Fitted first, one of them that cannot be read is left out of the build and told to
    // passed_over, in list order, rather than stopping it.
    std::vector<bool> found_in_folder;
    std::function<void(std::size_t tile, const std::exception& error)> passed_over;
    // The rows of cells the mosaic is made and written in at a time; 0: as many as a few
    // megabytes hold, at least one. Any number gives the same file.
    int band_rows = 0;
};

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
    };
    std::vector<Cell> cells;
};

// Builds the mosaic of original_path into output_path: every cell of the grid gets a tile chosen
// from tiles as settings.choice says (by default drawn by Random_Tile), fitted and shifted onto
// the mean colour of the original under the cell. Gaps and whatever no cell reaches keep the
// original's pixels (enlarged when settings.scale is above 1; the grid is the mosaic's). The
// mosaic is made and written a band of cell rows at a time (Picture_Writer), so that its memory is
// the original, the fitted tiles and a band whatever its size. An aborted build is saved like a
// finished one, the rest of it the original's. Image-layer errors propagate with End_Processing
// not called and no file written; a mosaic too large for its file's format is refused before
// any tile is read (Check_Picture_Fits). placements, when given, receives every drawn cell in the order drawn. When tiles are
// fitted first, the first that cannot be read (and was not found in a folder) stops the build
// with its error before any cell is drawn, and so does an Error No_Readable_Tile when every tile
// is left out.
// No tiles or a grid that never advances throw Error No_Tiles or Grid_Never_Advances before
// anything is read (Check_Mosaic_Inputs refuses both first).
// settings.max_uses above 0 caps every tile's uses (Error Uses_Too_Few, naming the fewest that
// can, when the readable tiles cannot cover the grid so); settings.mirror offers every tile
// mirrored left to right too, and a mirrored tile is a use of the tile. given, when not null,
// places the cells instead of settings.choice, and a cell it names outside the grid or twice is
// an error naming the line.
// The cells of a row are drawn on `processors` threads (0: one per processor); the result is
// the same for any number.
void Build_Mosaic(const std::string& original_path, const std::string& output_path,
                  const std::vector<std::string>& tiles, const Mosaic_Settings& settings,
                  Random_Source& random, Run_Progress& progress, unsigned processors = 0,
                  std::vector<Tile_Placement>* placements = nullptr, const Picture_Access& access = {},
                  const Given_Placements* given = nullptr);

}  // namespace tilvane
