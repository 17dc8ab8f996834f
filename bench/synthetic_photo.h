#pragma once
#include "image/raster_image.h"

namespace tilvane::bench {

// A photo-like 24-bit picture: smooth gradients, soft shapes and mild noise, so averages vary
// from cell to cell the way they do in real pictures. Deterministic for a given seed.
RasterImage synthetic_photo(int width, int height, unsigned seed);

}  // namespace tilvane::bench
