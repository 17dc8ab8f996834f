#include <algorithm>
#include <array>
#include <cstring>

#include "bmp_codec.h"
#include "bmp_format.h"
#include "support/error.h"
#include "little_endian.h"

namespace tilvane {
namespace {

using namespace bmp;

constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch

// Packs 8-bit channels into a 16- or 32-bit masked pixel through per-channel tables.
class MaskedPixelWriter {
public:
    explicit MaskedPixelWriter(const ChannelMasks& masks) {
        fill(red_, masks.red);
        fill(green_, masks.green);
        fill(blue_, masks.blue);
    }

    void write_row(const std::uint8_t* bgr, int width, int bytes_per_pixel, std::uint8_t* dst) const {
        for (int x = 0; x < width; ++x, bgr += 3, dst += bytes_per_pixel) {
            const std::uint32_t v = blue_[bgr[0]] | green_[bgr[1]] | red_[bgr[2]];
            if (bytes_per_pixel == 2)
                store_u16le(dst, static_cast<std::uint16_t>(v));
            else
                store_u32le(dst, v);
        }
    }

private:
    using Table = std::array<std::uint32_t, 256>;
    static void fill(Table& table, std::uint32_t mask) {
        const ChannelField field = ChannelField::from_mask(mask);
        for (int v = 0; v < 256; ++v) table[v] = field.narrow(static_cast<std::uint8_t>(v)) << field.shift;
    }
    Table red_{}, green_{}, blue_{};
};

// Packs colour indexes most significant bits first; the row must start zeroed.
void write_index_row(const std::uint8_t* indexes, int width, int bits, std::uint8_t* dst) {
    if (bits == 8) {
        std::memcpy(dst, indexes, static_cast<std::size_t>(width));
        return;
    }
    const int per_byte = 8 / bits;
    for (int x = 0; x < width; ++x)
        dst[x / per_byte] |= static_cast<std::uint8_t>(indexes[x] << (8 - bits - (x % per_byte) * bits));
}

// The colour table a file of the image holds.
std::span<const Colour> Table_Of(const RasterImage& image) {
    if (!has_colour_table(image.pixel_format())) return {};
    return image.colour_table().entries();
}

bool Has_Bitfields(PixelFormat format) { return format == PixelFormat::Bits16 || format == PixelFormat::Custom; }

}  // namespace

Bmp_File_Layout Bmp_Layout_Of(std::uint64_t width, std::uint64_t height, const RasterImage& like) {
    Bmp_File_Layout layout;
    layout.pixel_offset = kFileHeaderSize + kInfoHeaderSize + (Has_Bitfields(like.pixel_format()) ? 12 : 0) + Table_Of(like).size() * 4;
    layout.row_stride = row_stride(width, like.stored_bits_per_pixel());
    layout.file_size = layout.pixel_offset + layout.row_stride * height;
    return layout;
}

namespace {

// The headers, masks and colour table of a width x height file of like's layout. Images with no
// pixels, and those whose file would not fit the 32-bit size fields, cannot be stored as a
// bitmap and are refused as not valid.
std::vector<std::uint8_t> Headers_Of(int width, int height, const RasterImage& like, Bmp_File_Layout& layout) {
    if (width <= 0 || height <= 0) throw Error::Not_Valid(Bitmap_Fault::Empty_Image);
    const PixelFormat format = like.pixel_format();
    const std::span<const Colour> table = Table_Of(like);
    if (table.size() > static_cast<std::size_t>(colour_table_capacity(format))) throw Error::Invalid_Pixel_Format();
    const bool bitfields = Has_Bitfields(format);
    layout = Bmp_Layout_Of(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), like);
    if (!layout.Fits()) throw Error::Not_Valid(Bitmap_Fault::File_Too_Large);

    std::vector<std::uint8_t> headers(static_cast<std::size_t>(layout.pixel_offset));
    std::uint8_t* p = headers.data();
    std::memcpy(p, kSignature, 2);
    store_u32le(p + 2, static_cast<std::uint32_t>(layout.file_size));
    store_u32le(p + 10, static_cast<std::uint32_t>(layout.pixel_offset));
    p += kFileHeaderSize;
    store_u32le(p, kInfoHeaderSize);
    store_u32le(p + 4, static_cast<std::uint32_t>(width));
    store_u32le(p + 8, static_cast<std::uint32_t>(height));
    store_u16le(p + 12, 1);
    store_u16le(p + 14, static_cast<std::uint16_t>(like.stored_bits_per_pixel()));
    store_u32le(p + 16, bitfields ? kBitfields : kRgb);
    store_u32le(p + 20, static_cast<std::uint32_t>(layout.file_size - layout.pixel_offset));
    store_u32le(p + 24, kPixelsPerMetre);
    store_u32le(p + 28, kPixelsPerMetre);
    store_u32le(p + 32, static_cast<std::uint32_t>(table.size()));
    p += kInfoHeaderSize;
    if (bitfields) {
        const ChannelMasks& masks = like.channel_masks();
        store_u32le(p, masks.red);
        store_u32le(p + 4, masks.green);
        store_u32le(p + 8, masks.blue);
        p += 12;
    }
    for (const Colour& c : table) {
        p[0] = c.blue;
        p[1] = c.green;
        p[2] = c.red;
        p += 4;
    }
    return headers;
}

// Rows first .. end - 1 of image as the file stores them: bottom-up (row end - 1 first), each
// padded to the stride.
void Encode_Rows(const RasterImage& image, int first, int end, const MaskedPixelWriter& masked, std::size_t stride,
                 std::vector<std::uint8_t>& out) {
    const PixelFormat format = image.pixel_format();
    const int width = image.width(), bits = image.stored_bits_per_pixel();
    out.assign(static_cast<std::size_t>(end - first) * stride, 0);
    for (int y = end - 1; y >= first; --y) {
        std::uint8_t* dst = out.data() + static_cast<std::size_t>(end - 1 - y) * stride;
        const std::uint8_t* src = image.row(y);
        if (has_colour_table(format)) {
            write_index_row(image.index_row(y), width, bits, dst);
        } else if (bits == 24) {
            std::memcpy(dst, src, image.row_bytes());
        } else if (format == PixelFormat::Bits32) {
            for (int x = 0; x < width; ++x, src += 3, dst += 4) std::memcpy(dst, src, 3);
        } else {
            masked.write_row(src, width, bits / 8, dst);
        }
    }
}

}  // namespace

void encode_bmp(const RasterImage& image, const Byte_Sink& sink) {
    Bmp_File_Layout layout;
    sink(Headers_Of(image.width(), image.height(), image, layout));
    // Rows go out bottom-up, a chunk of about a megabyte at a time.
    const MaskedPixelWriter masked(image.channel_masks());
    const std::size_t stride = static_cast<std::size_t>(layout.row_stride);
    const int rows_per_chunk = static_cast<int>(std::max<std::size_t>(1, (std::size_t{1} << 20) / stride));
    std::vector<std::uint8_t> chunk;
    for (int end = image.height(); end > 0; end -= rows_per_chunk) {
        Encode_Rows(image, std::max(0, end - rows_per_chunk), end, masked, stride, chunk);
        sink(chunk);
    }
}

Bmp_Writer::Bmp_Writer(int width, int height, const RasterImage& like, Replacing_File& file)
    : file_(file), masks_(like.channel_masks()), width_(width) {
    const std::vector<std::uint8_t> headers = Headers_Of(width, height, like, layout_);
    file_.Write(headers);
    rows_left_ = height;
}

void Bmp_Writer::Write_Band(const RasterImage& band) {
    if (band.width() != width_ || band.height() > rows_left_) throw Error::Not_Valid(Bitmap_Fault::Bad_Dimensions);
    // The band's rows lie in the file just below the rows still to come, last row first.
    rows_left_ -= band.height();
    std::vector<std::uint8_t> rows;
    Encode_Rows(band, 0, band.height(), MaskedPixelWriter(masks_), static_cast<std::size_t>(layout_.row_stride), rows);
    file_.Write_At(layout_.pixel_offset + static_cast<std::uint64_t>(rows_left_) * layout_.row_stride, rows);
}

std::vector<std::uint8_t> encode_bmp(const RasterImage& image) {
    std::vector<std::uint8_t> out;
    encode_bmp(image, [&](std::span<const std::uint8_t> chunk) { out.insert(out.end(), chunk.begin(), chunk.end()); });
    return out;
}

}  // namespace tilvane
