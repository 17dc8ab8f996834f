#pragma once
#include <string>
#include <vector>

#include "image/raster_image.h"

namespace tilvane::demo {

// A photo-like 24-bit picture: smooth gradients, a soft sun and mild noise, so mean colours
// vary from cell to cell the way they do in real pictures. The same seed gives the same picture.
Raster_Image Synthetic_Photo(int width, int height, unsigned seed);

// A small tile with a texture of its own (stripes, checks, rings, ...), chosen by index.
Raster_Image Demo_Tile(int index);

// Writes a demo original "Demo_Original.bmp", a folder "Demo_Tiles" of tiles and a
// "Mosaic_Tiles.lst" that lists those tiles by their full paths into folder, which must exist.
// Returns the tiles' paths.
std::vector<std::string> Write_Demo(const std::string& folder);

}  // namespace tilvane::demo
