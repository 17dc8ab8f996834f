#pragma once
#include <string>

#include "codecs/picture_format.h"
#include "image/raster_image.h"

namespace tilvane {

// Reads a picture in the format its extension names (or, when the file starts as another
// format's files do, in that one); a format that can shrink while decoding may return it
// smaller, down to the hint. Throws Error::Cannot_Open(path) for a file that cannot be read (a
// folder included), then Error::Unknown_Extension(path) for an extension no format claims,
// Error::Too_Large(path) for a picture beyond the decoders' limits or the memory there is, and
// the format's own not-valid error for content its decoder refuses.
Raster_Image Load_Picture(const std::string& path, Load_Hint hint = {});
// Reads a picture as formats allows: with Bmp_Only, a BMP file whatever its name.
Raster_Image Load_Picture(const std::string& path, Picture_Formats formats, Load_Hint hint = {});

// Writes image in the format path's extension names, replacing the file safely
// (Write_File_Atomically). A BMP keeps the image's pixel format; the others are 24-bit colour.
// Throws Error::Unknown_Extension(path) before creating anything for another extension, and
// Error::Too_Large(path) for an image the format cannot store.
void Save_Picture(const std::string& path, const Raster_Image& image, Save_Options options = {});

}  // namespace tilvane
