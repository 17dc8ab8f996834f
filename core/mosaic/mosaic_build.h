#pragma once
#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "mosaic/mosaic_options.h"
#include "mosaic/placement.h"
#include "mosaic/stored_tiles.h"
#include "progress/run_progress.h"
#include "support/random_source.h"

namespace tilvane {

// When a build reads its tiles (the best choice reads them all first whatever this says: it
// compares them all before it chooses).
enum class Tile_Reading {
    // Each tile when a cell first draws it; one that cannot be read stops the build there.
    When_Drawn,
    // Every tile read and fitted before the first cell, each picture once, on all processors;
    // the first that cannot be read (and was not found in a folder) stops the build before any cell.
    First,
    // First when the cells would draw enough of the list that reading all of it on every
    // processor takes less time than reading the tiles drawn one by one, else When_Drawn; either
    // way a tile that cannot be read stops the build only when a cell draws it, so the choice
    // changes nothing but the time and what the progress shows.
    Fastest,
};

// How a build reads its tiles and what it tells beyond the mosaic.
struct Build_Context {
    Tile_Reading reading = Tile_Reading::When_Drawn;
    // Which tiles, by index, were found by searching a folder (none when shorter than the list).
    // Read First, one of them that cannot be read is left out of the build and told to
    // passed_over, in list order, rather than stopping it.
    std::vector<bool> found_in_folder{};
    std::function<void(std::size_t tile, const std::exception& error)> passed_over{};
    // The rows of cells the mosaic is made and written in at a time; 0: as many as a few
    // megabytes hold, at least one. Any number gives the same file.
    int band_rows = 0;
    // The cells of a row are drawn on this many threads (0: one per processor); the result is
    // the same for any number.
    unsigned processors = 0;
    // When not null, receives every drawn cell in the order drawn.
    std::vector<Tile_Placement>* placements = nullptr;
    // When not null, places the cells instead of the settings' choice.
    const Given_Placements* given = nullptr;
    // When not null, the tiles it holds come from it rather than from their files (their files
    // are read only for what it does not hold); the best choice takes their looks from it too.
    // A stored tile is never unreadable, so it is read first only where that is faster.
    const Stored_Tiles* stored = nullptr;
};

// Builds the mosaic of job.original into job.output: every cell of the grid gets a tile chosen
// from job.tiles as the settings' choice says (by default drawn by Random_Tile), fitted and
// shifted onto the mean colour of the original under the cell. Gaps and whatever no cell reaches
// keep the original's pixels (enlarged when the settings' scale is above 1; the grid is the
// mosaic's). The mosaic is made and written a band of cell rows at a time (Picture_Writer), so
// that its memory is the original, the fitted tiles and a band whatever its size, and so is the
// record of placements when the settings name a file for it (Placements_Writer). An aborted build is saved like a finished
// one, the rest of it the original's. Image-layer errors propagate with End_Processing not called
// and no file written; a mosaic too large for its file's format is refused before any tile is
// read (Check_Picture_Fits). When tiles are read First, the first that cannot be read (and was
// not found in a folder) stops the build with its error before any cell is drawn, and so does an
// Error No_Readable_Tile when every tile is left out. An abort while the tiles are read first
// saves the mosaic with no cell drawn, all of it the original's.
// No tiles or a grid that never advances throw Error No_Tiles or Grid_Never_Advances before
// anything is read (Check_Mosaic_Inputs refuses both first).
// A cap on uses above 0 caps every tile's uses (Error Uses_Too_Few, naming the fewest that can,
// when the readable tiles cannot cover the grid so); mirror offers every tile mirrored left to
// right too, and a mirrored tile is a use of the tile. A given placement naming a cell outside
// the grid or twice, giving it another place than the grid's, or using a tile beyond the cap is
// an error naming the line. The mosaic and the record of placements are one result: both are
// written whole to temporary files before either takes its file's place, so that an error (a full
// disk) or an interrupt leaves both old files as they were.
void Build_Mosaic(const Mosaic_Job& job, Random_Source& random, Run_Progress& progress, const Build_Context& context = {});

}  // namespace tilvane
