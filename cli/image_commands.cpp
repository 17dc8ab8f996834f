#include <charconv>
#include <cstdio>

#include "arguments.h"
#include "commands.h"
#include "file_refusals.h"
#include "codecs/bmp/bmp_codec.h"
#include "codecs/picture_file.h"
#include "support/error.h"
#include "support/file_io.h"

namespace tilvane::cli {
namespace {

int Parse_Bits(const std::string& text) {
    int bits = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bits);
    if (error != std::errc{} || end != text.data() + text.size() || !Pixel_Format_From_Bits(bits))
        throw Usage_Error("--bits takes 1, 4, 8, 15, 16, 24 or 32, not \"" + text + "\"");
    return bits;
}

// What describe reads from the headers of the file at path, with errors that name the file.
template <typename Description>
Description Read_Headers(const std::string& path, Description (*describe)(const Byte_Source&)) {
    try {
        return describe(Input_File(path));
    } catch (...) {
        Rethrow_Naming_File(path);
    }
}

}  // namespace

int Run_Info(const std::vector<std::string>& args) {
    const std::vector<std::string> positional = Parse_Arguments(args, {});
    if (positional.size() != 1) throw Usage_Error("info takes one FILE");
    const Picture_Format* format = Format_For_Path(positional[0]);
    if (format && format != &Bitmap_Format()) {
        // A format whose headers tell the size is described from them, so that any size is; the
        // others are read.
        Picture_Size size{};
        if (format->read_size) {
            size = Read_Headers(positional[0], format->read_size);
        } else {
            const Raster_Image image = Load_Picture(positional[0]);
            size = {image.Width(), image.Height()};
        }
        std::printf("%dx%d 24 %s\n", size.width, size.height, format->name);
        return 0;
    }
    const Bmp_Description description = Read_Headers(positional[0], Describe_Bmp);  // the headers only
    const bool custom = description.pixel_format == Pixel_Format::Custom;
    const int bits = custom ? description.bits_per_pixel : static_cast<int>(description.pixel_format);
    std::printf("%dx%d %d %s %s%s%s\n", description.width, description.height, bits, description.header_kind.c_str(),
                description.compression.c_str(), description.top_down ? " top-down" : "", custom ? " custom-masks" : "");
    return 0;
}

int Run_Convert(const std::vector<std::string>& args) {
    int bits = 0;
    Save_Options save;
    bool quality_given = false;
    const std::vector<std::string> paths = Parse_Arguments(
        args, {{"--bits", Option::One_Value, [&](const std::string& value) { bits = Parse_Bits(value); }},
               {"--quality", Option::One_Value, [&](const std::string& value) {
                   save.quality = Parse_Quality(value);
                   quality_given = true;
               }},
               {"--lossless", Option::Nothing, [&](const std::string&) { save.lossless = true; }}});
    if (paths.size() != 2) throw Usage_Error("convert takes IN and OUT");
    // An output of no known format is refused before anything is read.
    Check_Output_Format(paths[1], quality_given, save.lossless);
    Raster_Image image = Load_Picture(paths[0]);
    if (bits != 0) image.Set_Format(*Pixel_Format_From_Bits(bits));
    Save_Picture(paths[1], image, save);
    return 0;
}

}  // namespace tilvane::cli
