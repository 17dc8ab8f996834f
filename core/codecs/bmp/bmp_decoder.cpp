#include "bmp_codec.h"
#include "bmp_rle.h"
#include "bmp_stored_rows.h"
#include "codecs/png/png_codec.h"
#include "codecs/decode_limits.h"
#include "codecs/jpeg/jpeg_codec.h"
#include "support/error.h"

#include <algorithm>

namespace tilvane {
namespace {

using namespace bmp;

std::vector<std::uint8_t> Read_All(const Byte_Source& data) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(data.size()));
    if (!data.Read(0, bytes)) throw Error::Not_Valid(Bitmap_Fault::Pixels_Missing);
    return bytes;
}

std::vector<std::uint8_t> convert_all_rows(const Byte_Source& data, const Layout& l) {
    const std::size_t row_bytes = static_cast<std::size_t>(l.width) * Pixel_Bytes(l);
    std::vector<std::uint8_t> pixels(row_bytes * static_cast<std::size_t>(l.height));
    Row_Converter(l).Convert(data, 0, l.height, pixels.data());
    return pixels;
}

Raster_Image Decode_Palette(const Byte_Source& data, const Layout& l, std::vector<Colour> entries) {
    std::vector<std::uint8_t> indexes =
        l.compression == Rgb ? convert_all_rows(data, l) : Expand_Rle(Read_All(data), l.bits, l.width, l.height);
    const std::uint8_t highest = indexes.empty() ? 0 : *std::max_element(indexes.begin(), indexes.end());
    return Raster_Image::From_Layout(l.width, l.height, Decoded_Format(l), Palette_Table(std::move(entries), highest),
                                    kMasks888, l.bits, std::move(indexes));
}

// The picture of a BI_JPEG or BI_PNG file is the JPEG or PNG file its pixel data holds.
Raster_Image Decode_Embedded(const Byte_Source& data, std::uint32_t compression) {
    try {
        return compression == Jpeg ? Decode_Jpeg(data) : Decode_Png(data);
    } catch (const Error& error) {
        if (error.Kind() == Error_Kind::Too_Large) throw;
        throw Error::Not_Valid(compression == Jpeg ? Bitmap_Fault::Bad_Embedded_Jpeg : Bitmap_Fault::Bad_Embedded_Png);
    }
}

}  // namespace

Bmp_Description Describe_Bmp(const Byte_Source& source) {
    return Read_Headers(source).description;
}

Raster_Image Decode_Bmp(const Byte_Source& source, Bmp_Description* description) {
    Headers headers = Read_Headers(source);
    const Layout& l = headers.layout;
    if (l.pixel_offset >= source.size()) throw Error::Not_Valid(Bitmap_Fault::Pixels_Missing);
    const Slice_Source data(source, l.pixel_offset);
    Check_Pixel_Data(l, data);
    // Only a file whose data could hold its pixels gets this far: a few hostile bytes are not
    // valid, a real picture beyond the cap is too large.
    if (!Is_Embedded(l.compression) &&
        !decode_limits::Fits_Memory(static_cast<std::uint64_t>(l.width), static_cast<std::uint64_t>(l.height)))
        throw Error::Too_Many_Pixels();

    Raster_Image image;
    if (Is_Embedded(l.compression)) {
        image = Decode_Embedded(data, l.compression);
    } else if (l.compression == Os2_Rle24) {
        image = Raster_Image::From_Layout(l.width, l.height, Pixel_Format::Bits24, {}, kMasks888, 24,
                                         Expand_Rle(Read_All(data), 24, l.width, l.height));
    } else if (l.bits <= 8) {
        std::vector<Colour> entries = Read_Colour_Table(headers);
        headers.description.colour_table_entries = static_cast<int>(entries.size());
        image = Decode_Palette(data, l, std::move(entries));
    } else {
        image = Raster_Image::From_Layout(l.width, l.height, Decoded_Format(l), {}, l.masks, l.bits, convert_all_rows(data, l));
    }
    if (description) *description = std::move(headers.description);
    return image;
}

Raster_Image Decode_Bmp(std::span<const std::uint8_t> bytes, Bmp_Description* description) {
    return Decode_Bmp(Memory_Source(bytes), description);
}

}  // namespace tilvane
