#pragma once
#include <string>

#include "image/raster_image.h"
#include "support/flush_to_disk.h"

namespace tilvane {

// Reads a BMP file, whatever its name. Errors name the file, a refused bitmap's included.
Raster_Image Load_Bitmap_File(const std::string& path);
// Writes image as a BMP in its own pixel format, replacing path safely (Write_File_Atomically).
void Save_Bitmap_File(const Raster_Image& image, const std::string& path, Flush_To_Disk flush = Flush_To_Disk::Yes);

}  // namespace tilvane
