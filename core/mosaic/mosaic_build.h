#pragma once
#include <string>
#include <vector>

#include "mosaic/tile_preparation.h"
#include "progress/mosaic_progress.h"
#include "support/random_source.h"

namespace tilvane {

// The mosaic page's choices that shape the grid.
struct Mosaic_Settings {
    static constexpr int kLargest = 1000;  // of a tile size or gap, as the page's fields hold them

    int tile_width = 0;
    int tile_height = 0;
    FittingMode mode = FittingMode::ExpandShrink;
    bool gap = false;  // the gap values count only when this is set (but always in the maximum)
    int gap_horizontal = 0;
    int gap_vertical = 0;

    int Step_X() const { return tile_width + (gap ? gap_horizontal : 0); }
    int Step_Y() const { return tile_height + (gap ? gap_vertical : 0); }
};

// Builds the mosaic of original_path into output_path: every cell of the grid gets a tile drawn
// from tiles by Random_Tile, fitted and shifted onto the mean colour of the original under the cell.
// Gaps and whatever no cell reaches keep the original's pixels. An aborted build is saved like a
// finished one. Image-layer errors propagate with End_Processing not called and no file written.
// Requires a non-empty tile list and a grid that advances (Check_Mosaic_Inputs refuses the rest).
// The cells of a row are drawn on `processors` threads (0: one per processor); the result is
// the same for any number.
void Build_Mosaic(const std::string& original_path, const std::string& output_path,
                  const std::vector<std::string>& tiles, const Mosaic_Settings& settings,
                  Random_Source& random, Mosaic_Progress& progress, unsigned processors = 0);

}  // namespace tilvane
