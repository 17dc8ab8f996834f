#include "picture_file.h"

#include "support/error.h"
#include "support/file_io.h"

namespace tilvane {

Raster_Image Load_Picture(const std::string& path, Load_Hint hint) {
    return Load_Picture(path, Picture_Formats::By_Extension, hint);
}

Raster_Image Load_Picture(const std::string& path, Picture_Formats formats, Load_Hint hint) {
    // Opened first, so that a name that is missing or a folder is called so, whatever its extension.
    const Input_File file(path);
    const Picture_Format& format = Format_To_Read(path, file, formats);
    try {
        return format.decode(file, hint);
    } catch (...) {
        Rethrow_Naming_File(path);
    }
}

void Save_Picture(const std::string& path, const Raster_Image& image, Save_Options options) {
    const Picture_Format* format = Output_Format(path, Picture_Formats::By_Extension);
    if (!format) throw Error::Unknown_Extension(path);
    try {
        Write_File_Atomically(
            path, [&](const Byte_Sink& sink) { format->encode(image, options, sink); }, options.flush);
    } catch (...) {
        Rethrow_Naming_File(path);
    }
}

}  // namespace tilvane
