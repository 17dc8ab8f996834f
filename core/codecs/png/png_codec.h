#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "image/raster_image.h"
#include "support/byte_stream.h"

namespace tilvane {

// Decodes a PNG file of any standard kind (1- to 16-bit; grey, grey with alpha, RGB, RGBA or
// palette; transparency chunk; interlaced or not) into a 24-bit image. Transparent and
// translucent pixels are laid onto white; 16-bit channels are rounded to 8 bits. Gamma and
// colour-profile chunks are not applied.
// Throws a Png_Not_Valid error for anything libspng refuses, for a file that ends before its
// end chunk, and for an image larger than the decoders' limits; the pixel buffer grows only as
// rows arrive, and the chunks kept beside the image are bounded.
Raster_Image Decode_Png(const Byte_Source& source);
Raster_Image Decode_Png(std::span<const std::uint8_t> bytes);

// Encodes an image as an 8-bit RGB PNG, whatever its pixel format, on every processor
// (Png_Writer). Throws a Not_Valid error for an image without pixels, before writing anything;
// a failing sink's error propagates.
void Encode_Png(const Raster_Image& image, const Byte_Sink& sink);

}  // namespace tilvane
