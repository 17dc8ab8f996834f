// The table of picture formats: one record each, a new format's one line of code outside its folder.
#include "codecs/band_writer.h"
#include "codecs/bmp/bmp_codec.h"
#include "codecs/heif/heif_codec.h"
#include "codecs/jpeg/jpeg_codec.h"
#include "codecs/picture_format.h"
#include "codecs/png/png_codec.h"
#include "codecs/png/png_writer.h"
#include "codecs/webp/webp_codec.h"

namespace tilvane {

std::span<const Picture_Format> Picture_Format_Table() {
    static const Picture_Format kFormats[] = {
        {"BMP", "Bitmap", {".BMP", nullptr}, "BM", false, false, true, 0,
         [](std::uint64_t width, std::uint64_t height, const Raster_Image& like) { return Bmp_Layout_Of(width, height, like).Fits(); },
         [](const Byte_Source& source, Load_Hint) { return Decode_Bmp(source); },
         Read_Bmp_Rows,
         [](const Raster_Image& image, const Save_Options&, const Byte_Sink& sink) { Encode_Bmp(image, sink); },
         [](const Band_Target& t) -> std::unique_ptr<Band_Writer> {
             return std::make_unique<Bmp_Writer>(t.width, t.height, t.like, t.file);
         }},
        {kJpeg_Name, kJpeg_Name, {".JPG", ".JPEG"}, "\xFF\xD8\xFF", true, false, true, kLargest_Jpeg_Side, nullptr,
         [](const Byte_Source& source, Load_Hint hint) { return Decode_Jpeg(source, hint); },
         Read_Jpeg_Rows,
         [](const Raster_Image& image, const Save_Options& options, const Byte_Sink& sink) { Encode_Jpeg(image, options.quality, sink); },
         [](const Band_Target& t) -> std::unique_ptr<Band_Writer> {
             return std::make_unique<Jpeg_Writer>(t.width, t.height, t.options.quality, t.file.Sink());
         },
         Jpeg_Upright_Size},
        {kPng_Name, kPng_Name, {".PNG", nullptr}, "\x89PNG\r\n\x1A\n", false, false, false, 0, nullptr,
         [](const Byte_Source& source, Load_Hint) { return Decode_Png(source); },
         Read_Png_Rows,
         [](const Raster_Image& image, const Save_Options&, const Byte_Sink& sink) { Encode_Png(image, sink); },
         [](const Band_Target& t) -> std::unique_ptr<Band_Writer> {
             return std::make_unique<Png_Writer>(t.width, t.height, t.file.Sink(), t.crew);
         },
         [](const Byte_Source& source) {
             const Png_Size size = Png_Upright_Size(source);
             return Picture_Size{size.width, size.height};
         }},
        {kWebp_Name, kWebp_Name, {".WEBP", nullptr}, "RIFF????WEBP", true, true, false, kLargest_Webp_Side, nullptr,
         [](const Byte_Source& source, Load_Hint) { return Decode_Webp(source); },
         Read_Webp_Rows,
         [](const Raster_Image& image, const Save_Options& options, const Byte_Sink& sink) {
             Encode_Webp(image, {options.quality, options.lossless}, sink);
         },
         [](const Band_Target& t) -> std::unique_ptr<Band_Writer> {
             return std::make_unique<Webp_Writer>(t.width, t.height, Webp_Compression{t.options.quality, t.options.lossless},
                                                  t.file.Sink());
         }},
        // Read only: phones' HEIC and the web's AVIF. Each decodes whole, so its rows come from the
        // whole picture.
        {kHeif_Name, "HEIC", {".HEIC", ".HEIF", ".AVIF"}, "????ftyp", false, false, false, 0, nullptr,
         [](const Byte_Source& source, Load_Hint) { return Decode_Heif(source); },
         [](const Byte_Source& source) { return Rows_Of(Decode_Heif(source)); },
         nullptr, nullptr, Read_Heif_Size},
    };
    return kFormats;
}

}  // namespace tilvane
