#pragma once
#include <span>

#include "raster_image.h"

namespace tilvane {

// Mean colour of the part of r inside the image, truncated per channel; black when empty.
Colour Average_Colour(const Raster_Image& image, Rect r);

// Average_Colour of a row of cells at once, each cell k being the rectangle
// (lefts[k], top, lefts[k] + width, top + height); lefts in increasing order. One pass over the
// rows, so a mosaic's cell means cost little more than reading the picture once.
void Average_Colours(const Raster_Image& image, int top, int height, std::span<const int> lefts, int width,
                     std::span<Colour> means);

// Moves each pixel of r (clipped) by (to - from) per channel, held within 0..255.
void Align_Average_Colour(Raster_Image& image, Rect r, Colour from, Colour to);

// The same shift, written elsewhere: the pixels of src from (src_left, src_top) on, shifted,
// go to dst_rect of dst, reduced to what dst holds. Pixels missing on either side are skipped.
// src may be dst itself at the same place.
void Shift_Colours(Raster_Image& dst, Rect dst_rect, const Raster_Image& src, int src_left, int src_top, Colour from,
                   Colour to);

}  // namespace tilvane
