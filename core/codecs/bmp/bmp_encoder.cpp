#include <algorithm>
#include <array>
#include <cstring>

#include "bmp_codec.h"
#include "bmp_format.h"
#include "support/error.h"
#include "codecs/little_endian.h"

namespace tilvane {
namespace {

using namespace bmp;

constexpr std::uint32_t kPixels_Per_Metre = 3780;  // 96 dots per inch

// Packs 8-bit channels into a 16- or 32-bit masked pixel through per-channel tables.
class Masked_Pixel_Writer {
public:
    explicit Masked_Pixel_Writer(const Channel_Masks& masks) {
        Fill(red_, masks.red);
        Fill(green_, masks.green);
        Fill(blue_, masks.blue);
    }

    void Write_Row(const std::uint8_t* bgr, int width, int bytes_per_pixel, std::uint8_t* dst) const {
        for (int x = 0; x < width; ++x, bgr += 3, dst += bytes_per_pixel) {
            const std::uint32_t v = blue_[bgr[0]] | green_[bgr[1]] | red_[bgr[2]];
            if (bytes_per_pixel == 2)
                Store_U16_Le(dst, static_cast<std::uint16_t>(v));
            else
                Store_U32_Le(dst, v);
        }
    }

private:
    using Table = std::array<std::uint32_t, 256>;
    static void Fill(Table& table, std::uint32_t mask) {
        const Channel_Field field = Channel_Field::From_Mask(mask);
        for (int v = 0; v < 256; ++v) table[v] = field.Narrow(static_cast<std::uint8_t>(v)) << field.shift;
    }
    Table red_{}, green_{}, blue_{};
};

// Packs colour indexes most significant bits first; the row must start zeroed.
void Write_Index_Row(const std::uint8_t* indexes, int width, int bits, std::uint8_t* dst) {
    if (bits == 8) {
        std::memcpy(dst, indexes, static_cast<std::size_t>(width));
        return;
    }
    const int per_byte = 8 / bits;
    for (int x = 0; x < width; ++x)
        dst[x / per_byte] |= static_cast<std::uint8_t>(indexes[x] << (8 - bits - (x % per_byte) * bits));
}

// The colour table a file of the image holds.
std::span<const Colour> Table_Of(const Raster_Image& image) {
    if (!Has_Colour_Table(image.Format())) return {};
    return image.Table().Entries();
}

bool Has_Bitfields(Pixel_Format format) { return format == Pixel_Format::Bits16 || format == Pixel_Format::Custom; }

}  // namespace

Bmp_File_Layout Bmp_Layout_Of(std::uint64_t width, std::uint64_t height, const Raster_Image& like) {
    Bmp_File_Layout layout;
    layout.pixel_offset = kFile_Header_Size + kInfo_Header_Size + (Has_Bitfields(like.Format()) ? 12 : 0) + Table_Of(like).size() * 4;
    layout.Row_Stride = Row_Stride(width, like.Stored_Bits_Per_Pixel());
    layout.file_size = layout.pixel_offset + layout.Row_Stride * height;
    return layout;
}

namespace {

// The headers, masks and colour table of a width x height file of like's layout. Images with no
// pixels, and those whose file would not fit the 32-bit size fields, cannot be stored as a
// bitmap and are refused as not valid.
std::vector<std::uint8_t> Headers_Of(int width, int height, const Raster_Image& like, Bmp_File_Layout& layout) {
    if (width <= 0 || height <= 0) throw Error::Not_Valid(Bitmap_Fault::Empty_Image);
    const Pixel_Format format = like.Format();
    const std::span<const Colour> table = Table_Of(like);
    if (table.size() > static_cast<std::size_t>(Colour_Table_Capacity(format))) throw Error::Invalid_Pixel_Format();
    const bool bitfields = Has_Bitfields(format);
    layout = Bmp_Layout_Of(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), like);
    if (!layout.Fits()) throw Error::Not_Valid(Bitmap_Fault::File_Too_Large);

    std::vector<std::uint8_t> headers(static_cast<std::size_t>(layout.pixel_offset));
    std::uint8_t* p = headers.data();
    std::memcpy(p, kSignature, 2);
    Store_U32_Le(p + 2, static_cast<std::uint32_t>(layout.file_size));
    Store_U32_Le(p + 10, static_cast<std::uint32_t>(layout.pixel_offset));
    p += kFile_Header_Size;
    Store_U32_Le(p, kInfo_Header_Size);
    Store_U32_Le(p + 4, static_cast<std::uint32_t>(width));
    Store_U32_Le(p + 8, static_cast<std::uint32_t>(height));
    Store_U16_Le(p + 12, 1);
    Store_U16_Le(p + 14, static_cast<std::uint16_t>(like.Stored_Bits_Per_Pixel()));
    Store_U32_Le(p + 16, bitfields ? Bitfields : Rgb);
    Store_U32_Le(p + 20, static_cast<std::uint32_t>(layout.file_size - layout.pixel_offset));
    Store_U32_Le(p + 24, kPixels_Per_Metre);
    Store_U32_Le(p + 28, kPixels_Per_Metre);
    Store_U32_Le(p + 32, static_cast<std::uint32_t>(table.size()));
    p += kInfo_Header_Size;
    if (bitfields) {
        const Channel_Masks& masks = like.Masks();
        Store_U32_Le(p, masks.red);
        Store_U32_Le(p + 4, masks.green);
        Store_U32_Le(p + 8, masks.blue);
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
void Encode_Rows(const Raster_Image& image, int first, int end, const Masked_Pixel_Writer& masked, std::size_t stride,
                 std::vector<std::uint8_t>& out) {
    const Pixel_Format format = image.Format();
    const int width = image.Width(), bits = image.Stored_Bits_Per_Pixel();
    out.assign(static_cast<std::size_t>(end - first) * stride, 0);
    for (int y = end - 1; y >= first; --y) {
        std::uint8_t* dst = out.data() + static_cast<std::size_t>(end - 1 - y) * stride;
        const std::uint8_t* src = image.Row(y);
        if (Has_Colour_Table(format)) {
            Write_Index_Row(image.Index_Row(y), width, bits, dst);
        } else if (bits == 24) {
            std::memcpy(dst, src, image.Row_Bytes());
        } else if (format == Pixel_Format::Bits32) {
            for (int x = 0; x < width; ++x, src += 3, dst += 4) std::memcpy(dst, src, 3);
        } else {
            masked.Write_Row(src, width, bits / 8, dst);
        }
    }
}

}  // namespace

void Encode_Bmp(const Raster_Image& image, const Byte_Sink& sink) {
    Bmp_File_Layout layout;
    sink(Headers_Of(image.Width(), image.Height(), image, layout));
    // Rows go out bottom-up, a chunk of about a megabyte at a time.
    const Masked_Pixel_Writer masked(image.Masks());
    const std::size_t stride = static_cast<std::size_t>(layout.Row_Stride);
    const int rows_per_chunk = static_cast<int>(std::max<std::size_t>(1, (std::size_t{1} << 20) / stride));
    std::vector<std::uint8_t> chunk;
    for (int end = image.Height(); end > 0; end -= rows_per_chunk) {
        Encode_Rows(image, std::max(0, end - rows_per_chunk), end, masked, stride, chunk);
        sink(chunk);
    }
}

Bmp_Writer::Bmp_Writer(int width, int height, const Raster_Image& like, Replacing_File& file)
    : file_(file), masks_(like.Masks()), width_(width) {
    const std::vector<std::uint8_t> headers = Headers_Of(width, height, like, layout_);
    file_.Write(headers);
    rows_left_ = height;
}

Bmp_Writer::~Bmp_Writer() {
    if (writing_.valid()) writing_.wait();
}

void Bmp_Writer::Write_Band(const Raster_Image& band) {
    if (band.Width() != width_ || band.Height() > rows_left_) throw Error::Not_Valid(Bitmap_Fault::Bad_Dimensions);
    // The band's rows lie in the file just below the rows still to come, last row first.
    rows_left_ -= band.Height();
    std::vector<std::uint8_t>& rows = rows_[next_];
    next_ ^= 1;
    Encode_Rows(band, 0, band.Height(), Masked_Pixel_Writer(masks_), static_cast<std::size_t>(layout_.Row_Stride), rows);
    Finish();
    const std::uint64_t offset = layout_.pixel_offset + static_cast<std::uint64_t>(rows_left_) * layout_.Row_Stride;
    writing_ = std::async(std::launch::async, [this, offset, &rows] { file_.Write_At(offset, rows); });
}

void Bmp_Writer::Finish() {
    if (writing_.valid()) writing_.get();
}

std::vector<std::uint8_t> Encode_Bmp(const Raster_Image& image) {
    std::vector<std::uint8_t> out;
    Encode_Bmp(image, [&](std::span<const std::uint8_t> chunk) { out.insert(out.end(), chunk.begin(), chunk.end()); });
    return out;
}

}  // namespace tilvane
