#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "image/raster_image.h"
#include "codecs/jpeg/jpeg_codec.h"  // Load_Hint
#include "support/flush_to_disk.h"

namespace tilvane {

// The picture file formats the core reads and writes, chosen by a file name's extension.
enum class Picture_Format {
    Bmp,   // .bmp
    Jpeg,  // .jpg, .jpeg
    Png,   // .png
};

// The format a path's extension names, letters in any case; nothing for any other extension.
std::optional<Picture_Format> Format_For_Path(std::string_view path);

// The format's name as reports show it: "BMP", "JPEG", "PNG".
const char* Format_Name(Picture_Format format);

// Which pictures a job takes: BMP files only, whatever their names (the program's way by
// default), or every format by its file name's extension.
enum class Picture_Formats { Bmp_Only, By_Extension };

// The format a picture written to path takes under formats; nothing for an extension no
// format claims.
std::optional<Picture_Format> Output_Format(std::string_view path, Picture_Formats formats);

// Reads a picture in the format its extension names; a JPEG may come smaller, down to the hint
// (Decode_Jpeg). Throws Error::Cannot_Open(path) for a file that cannot be read (a folder
// included), then Error::Unknown_Extension(path) for an extension no format claims,
// Error::Too_Large(path) for a picture beyond the decoders' limits or the memory there is, and
// the format's own not-valid error for content its decoder refuses.
Raster_Image Load_Picture(const std::string& path, Load_Hint hint = {});
// Reads a picture as formats allows: with Bmp_Only, a BMP file whatever its name.
Raster_Image Load_Picture(const std::string& path, Picture_Formats formats, Load_Hint hint = {});

inline constexpr int kDefault_Jpeg_Quality = 92;

struct Save_Options {
    int quality = kDefault_Jpeg_Quality;  // JPEG quality, 1 to 100
    Flush_To_Disk flush = Flush_To_Disk::Yes;
};

// Writes image in the format path's extension names, replacing the file safely
// (Write_File_Atomically). A BMP keeps the image's pixel format; JPEG and PNG are 24-bit colour.
// Throws Error::Unknown_Extension(path) before creating anything for another extension, and
// Error::Too_Large(path) for an image the format cannot store.
void Save_Picture(const std::string& path, const Raster_Image& image, Save_Options options = {});

}  // namespace tilvane
