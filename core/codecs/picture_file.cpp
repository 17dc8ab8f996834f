#include "picture_file.h"

#include "codecs/bmp/bmp_codec.h"
#include "codecs/bmp/bmp_file.h"
#include "codecs/jpeg/jpeg_codec.h"
#include "codecs/png/png_codec.h"
#include "support/error.h"
#include "support/file_io.h"
#include "support/path_text.h"

namespace tilvane {
namespace {

Picture_Format Known_Format(const std::string& path) {
    const std::optional<Picture_Format> format = Format_For_Path(path);
    if (!format) throw Error::Unknown_Extension(path);
    return *format;
}

}  // namespace

std::optional<Picture_Format> Format_For_Path(std::string_view path) {
    struct Claim {
        std::string_view extension;
        Picture_Format format;
    };
    // Each format's extensions; a new format adds its own here.
    static constexpr Claim kClaims[] = {
        {".BMP", Picture_Format::Bmp},
        {".JPG", Picture_Format::Jpeg},
        {".JPEG", Picture_Format::Jpeg},
        {".PNG", Picture_Format::Png},
    };
    const std::string extension = tilvane::Ascii_Upper(tilvane::Extension_Part(path));
    for (const Claim& claim : kClaims)
        if (extension == claim.extension) return claim.format;
    return std::nullopt;
}

const char* Format_Name(Picture_Format format) {
    switch (format) {
        case Picture_Format::Bmp: return "BMP";
        case Picture_Format::Jpeg: return "JPEG";
        case Picture_Format::Png: return "PNG";
    }
    return "";
}

std::optional<Picture_Format> Output_Format(std::string_view path, Picture_Formats formats) {
    if (formats == Picture_Formats::Bmp_Only) return Picture_Format::Bmp;
    return Format_For_Path(path);
}

Raster_Image Load_Picture(const std::string& path, Picture_Formats formats, Load_Hint hint) {
    if (formats == Picture_Formats::By_Extension) return Load_Picture(path, hint);
    return Load_Bitmap_File(path);
}

Raster_Image Load_Picture(const std::string& path, Load_Hint hint) {
    // Opened first, so that a name that is missing or a folder is called so, whatever its extension.
    const Input_File file(path);
    const Picture_Format format = Known_Format(path);
    try {
        switch (format) {
            case Picture_Format::Bmp: return Decode_Bmp(file);
            case Picture_Format::Jpeg: return Decode_Jpeg(file, hint);
            case Picture_Format::Png: return Decode_Png(file);
        }
    } catch (...) {
        Rethrow_Naming_File(path);
    }
    throw Error::Unknown_Extension(path);
}

void Save_Picture(const std::string& path, const Raster_Image& image, Save_Options options) {
    const Picture_Format format = Known_Format(path);
    try {
        Write_File_Atomically(
            path,
            [&](const Byte_Sink& sink) {
                switch (format) {
                    case Picture_Format::Bmp: return Encode_Bmp(image, sink);
                    case Picture_Format::Jpeg: return Encode_Jpeg(image, options.quality, sink);
                    case Picture_Format::Png: return Encode_Png(image, sink);
                }
            },
            options.flush);
    } catch (...) {
        Rethrow_Naming_File(path);
    }
}

}  // namespace tilvane
