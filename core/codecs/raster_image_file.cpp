#include "image/raster_image.h"

#include "bmp_codec.h"
#include "support/error.h"
#include "support/file_io.h"

namespace tilvane {

void Raster_Image::Load_From_File(const std::string& path) {
    // Decode into a new image first, so a failure leaves this one as it was.
    try {
        Raster_Image loaded = Decode_Bmp(Input_File(path));
        loaded.fill_ = fill_;
        *this = std::move(loaded);
    } catch (...) {
        Rethrow_Naming_File(path);
    }
}

void Raster_Image::Save_To_File(const std::string& path, Flush_To_Disk flush) const {
    Write_File_Atomically(path, [this](const Byte_Sink& sink) { Encode_Bmp(*this, sink); }, flush);
}

}  // namespace tilvane
