#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "raster_image.h"
#include "support/byte_stream.h"

namespace tilvane {

// Decodes a JPEG file (baseline, progressive or arithmetic-coded; greyscale, colour or CMYK)
// into a 24-bit image, pixels as stored: an orientation tag is not applied.
// Throws a Jpeg_Not_Valid error for anything libjpeg refuses, for a file that ends before
// its image does, and for an image larger than the decoders' limits; memory stays bounded and
// nothing is written to the console.
RasterImage decode_jpeg(const Byte_Source& source);
RasterImage decode_jpeg(std::span<const std::uint8_t> bytes);

// Reads a JPEG file from disk. Throws Error::Cannot_Open(path) when it cannot be opened.
RasterImage load_jpeg_file(const std::string& path);

}  // namespace tilvane
