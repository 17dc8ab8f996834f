#pragma once
#include "raster_image.h"

namespace tilvane {

// A plain copy: destination pixels outside dst are dropped, those whose source lies outside src
// are left as they were. Each pixel is reduced to what dst can hold.
void Copy_Rect(Raster_Image& dst, Rect dst_rect, const Raster_Image& src, Rect src_rect);

// Scales the whole of src into dst_rect, one source pixel per destination pixel, no blending.
void Stretch_Draw(Raster_Image& dst, Rect dst_rect, const Raster_Image& src);

}  // namespace tilvane
