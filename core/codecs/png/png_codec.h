#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "codecs/picture_rows.h"
#include "image/raster_image.h"
#include "support/byte_stream.h"

namespace tilvane {

// The format's name in its own words ("PNG image is not valid").
inline constexpr char kPng_Name[] = "PNG";

// Decodes a PNG file of any standard kind (1- to 16-bit; grey, grey with alpha, RGB, RGBA or
// palette; transparency chunk; interlaced or not) into a 24-bit image. Transparent and
// translucent pixels are laid onto white; 16-bit channels are rounded to 8 bits. Gamma and
// colour-profile chunks are not applied. The picture is turned upright as the orientation tag of
// an eXIf chunk before the image data says (all 8 values, as a JPEG's).
// Throws a Picture_Not_Valid error for anything libspng refuses and for a file that ends before its
// end chunk, and a Too_Large one (naming the size) for an image beyond the decoders' limits; the
// pixel buffer grows only as rows arrive, and the chunks kept beside the image are bounded.
Raster_Image Decode_Png(const Byte_Source& source);
Raster_Image Decode_Png(std::span<const std::uint8_t> bytes);

// The size of the picture Decode_Png gives, upright, from the file's chunks before its image data
// alone: any size the header can state, however large. Throws a Picture_Not_Valid error for chunks
// that libspng refuses.
struct Png_Size {
    int width;
    int height;
};
Png_Size Png_Upright_Size(const Byte_Source& source);

// Reads a PNG file a band of rows at a time (Picture_Rows); an interlaced or turned one whole.
std::unique_ptr<Picture_Rows> Read_Png_Rows(const Byte_Source& source);

// Encodes an image as an 8-bit RGB PNG, whatever its pixel format, on every processor
// (Png_Writer). Throws a Not_Valid error for an image without pixels, before writing anything;
// a failing sink's error propagates.
void Encode_Png(const Raster_Image& image, const Byte_Sink& sink);

}  // namespace tilvane
