#include <algorithm>

#include "bmp_stored_rows.h"
#include "codecs/picture_rows.h"
#include "support/error.h"

namespace tilvane {
namespace {

using namespace bmp;

// A BMP file stored row by row: each band's rows are read where they lie, so a bottom-up file
// reads as well as a top-down one.
class Bmp_Rows final : public Picture_Rows {
public:
    Bmp_Rows(const Layout& l, std::unique_ptr<Slice_Source> data, Colour_Table table)
        : Picture_Rows(l.width, l.height, Raster_Image::From_Layout(0, 0, Decoded_Format(l), table, l.masks, l.bits, {})),
          layout_(l),
          data_(std::move(data)),
          converter_(l),
          table_(std::move(table)) {}

private:
    Raster_Image Band(int top, int rows) override {
        const std::size_t row_bytes = static_cast<std::size_t>(Width()) * Pixel_Bytes(layout_);
        std::vector<std::uint8_t> pixels(row_bytes * static_cast<std::size_t>(rows));
        converter_.Convert(*data_, top, rows, pixels.data());
        return Raster_Image::From_Layout(Width(), rows, Decoded_Format(layout_), table_, layout_.masks, layout_.bits,
                                        std::move(pixels));
    }

    Layout layout_;
    std::unique_ptr<Slice_Source> data_;
    Row_Converter converter_;
    Colour_Table table_;
};

// The highest colour index of a palette file's pixels, found a band at a time.
std::uint8_t Highest_Index(const Byte_Source& data, const Layout& l) {
    constexpr int kBand_Pixels = 1 << 20;
    const int band = std::max(1, kBand_Pixels / l.width);
    const Row_Converter converter(l);
    std::vector<std::uint8_t> indexes;
    std::uint8_t highest = 0;
    for (int top = 0; top < l.height; top += band) {
        const int rows = std::min(band, l.height - top);
        indexes.resize(static_cast<std::size_t>(l.width) * static_cast<std::size_t>(rows));
        converter.Convert(data, top, rows, indexes.data());
        highest = std::max(highest, *std::max_element(indexes.begin(), indexes.end()));
    }
    return highest;
}

}  // namespace

std::unique_ptr<Picture_Rows> Read_Bmp_Rows(const Byte_Source& source) {
    const Headers headers = Read_Headers(source);
    const Layout& l = headers.layout;
    if (!Stored_Row_By_Row(l)) return Rows_Of(Decode_Bmp(source));
    if (l.pixel_offset >= source.size()) throw Error::Not_Valid(Bitmap_Fault::Pixels_Missing);
    auto data = std::make_unique<Slice_Source>(source, l.pixel_offset);
    Check_Pixel_Data(l, *data);
    Colour_Table table;
    if (l.bits <= 8) {
        std::vector<Colour> entries = Read_Colour_Table(headers);
        // A short table gains black entries up to the highest index the pixels use, as when the
        // picture is read whole: only then do the pixels have to be looked at first.
        const bool short_table = entries.size() < (std::size_t{1} << l.bits);
        table = Palette_Table(std::move(entries), short_table ? Highest_Index(*data, l) : 0);
    }
    return std::make_unique<Bmp_Rows>(l, std::move(data), std::move(table));
}

}  // namespace tilvane
