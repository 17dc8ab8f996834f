#pragma once
#include "raster_image.h"

namespace tilvane {

// A plain copy: destination pixels outside dst are dropped, those whose source lies outside src
// are left as they were. Each pixel is reduced to what dst can hold.
void copy_rect(RasterImage& dst, Rect dst_rect, const RasterImage& src, Rect src_rect);

// Scales the whole of src into dst_rect, one source pixel per destination pixel, no blending.
void stretch_draw(RasterImage& dst, Rect dst_rect, const RasterImage& src);

}  // namespace tilvane
