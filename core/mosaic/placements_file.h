#pragma once
#include <string>
#include <vector>

#include "mosaic/mosaic_build.h"

namespace tilvane {

// The record of where each tile went, as comma-separated text: the header line
// "column,row,x,y,width,height,tile", then one line per placement with the tile's path as the
// list gave it, in double quotes (inner ones doubled) when it holds a comma, a quote or a line
// break. Lines end with CR LF.
std::string Placements_Csv(const std::vector<Tile_Placement>& placements, const std::vector<std::string>& tiles);

}  // namespace tilvane
