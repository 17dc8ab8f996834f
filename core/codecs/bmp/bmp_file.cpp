#include "bmp_file.h"

#include "bmp_codec.h"
#include "support/error.h"
#include "support/file_io.h"

namespace tilvane {

Raster_Image Load_Bitmap_File(const std::string& path) {
    try {
        return Decode_Bmp(Input_File(path));
    } catch (...) {
        Rethrow_Naming_File(path);
    }
}

void Save_Bitmap_File(const Raster_Image& image, const std::string& path, Flush_To_Disk flush) {
    Write_File_Atomically(path, [&image](const Byte_Sink& sink) { Encode_Bmp(image, sink); }, flush);
}

}  // namespace tilvane
