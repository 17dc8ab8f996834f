#pragma once
// The structures that the best choice compares, as people see them: in Oklab, lightness weighted
// above chroma, so that edges and shapes decide the match. Used with the colour transfer, which
// takes the cell's hues anyway and keeps the cell's mean without clipping it away.
#include "image/colour.h"
#include "mosaic/tile_choice.h"

namespace tilvane {

// A structure of blue, green and red grid means less `mean` (Structure_Of) turned into one of
// Oklab L, a and b (times 255) less the mean's, a and b weighted by kPerceptual_Chroma_Weight.
inline constexpr float kPerceptual_Chroma_Weight = 0.5f;
Structure Perceptual_Structure(const Structure& bgr, Colour mean);

// A cell's look made perceptual: its structure, and its measure no longer clips the tile's
// values to 0..255 as the shift would.
void Make_Perceptual(Cell_Look& look);

}  // namespace tilvane
