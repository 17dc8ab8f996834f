#pragma once
// The best match under a cap on every tile's uses, planned a band of rows at a time.
#include <memory>
#include <vector>

#include "mosaic/tile_choice.h"

namespace tilvane {

// For Make_Tile_Chooser: best with rules.max_uses above 0.
std::unique_ptr<Tile_Chooser> Make_Capped_Best_Match(const Tile_Rules& rules, Random_Source& random,
                                                     std::vector<Structure> tile_structures);

}  // namespace tilvane
