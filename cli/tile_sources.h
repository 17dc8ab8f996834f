#pragma once
#include <string>
#include <vector>

namespace tilvane::cli {

// The tile paths that the command line's --tiles arguments name, in order: a BMP file as it is,
// a folder as its *.bmp files (not its subfolders) sorted by name, a tile list file (*.lst) as
// its lines. Throws Error::Cannot_Open for a path that is none of these or cannot be read.
std::vector<std::string> Expand_Tile_Sources(const std::vector<std::string>& sources);

}  // namespace tilvane::cli
