#pragma once
#include "raster_image.h"

namespace tilvane {

// Mean colour of the part of r inside the image, truncated per channel; black when empty.
Colour Average_Colour(const RasterImage& image, Rect r);

// Moves each pixel of r (clipped) by (to - from) per channel, held within 0..255.
void Align_Average_Colour(RasterImage& image, Rect r, Colour from, Colour to);

}  // namespace tilvane
