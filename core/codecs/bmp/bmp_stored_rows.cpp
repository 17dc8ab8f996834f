#include "bmp_stored_rows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "codecs/decode_limits.h"
#include "codecs/little_endian.h"
#include "support/error.h"

namespace tilvane::bmp {
namespace {

const char* Header_Kind(std::uint32_t size) {
    switch (size) {
        case kCore_Header_Size: return "BITMAPCOREHEADER";
        case kInfo_Header_Size: return "BITMAPINFOHEADER";
        case kV2_Header_Size: return "BITMAPV2INFOHEADER";
        case kV3_Header_Size: return "BITMAPV3INFOHEADER";
        case kV4_Header_Size: return "BITMAPV4HEADER";
        case kV5_Header_Size: return "BITMAPV5HEADER";
        case kOs2_Short_Header_Size:
        case kOs2_Header_Size: return "OS/2 2.x";
        default: throw Error::Not_Valid(Bitmap_Fault::Unknown_Header);
    }
}

const char* Compression_Name(std::uint32_t compression) {
    switch (compression) {
        case Rgb: return "BI_RGB";
        case Rle8: return "BI_RLE8";
        case Rle4: return "BI_RLE4";
        case Bitfields: return "BI_BITFIELDS";
        case Alpha_Bitfields: return "BI_ALPHABITFIELDS";
        case Jpeg: return "BI_JPEG";
        case Png: return "BI_PNG";
        case Os2_Rle24: return "RLE24";
        default: throw Error::Not_Valid(Bitmap_Fault::Unknown_Compression);
    }
}

bool Is_Bitfields(std::uint32_t compression) {
    return compression == Bitfields || compression == Alpha_Bitfields;
}

bool Bits_Fit_Compression(int bits, std::uint32_t compression, bool os2) {
    switch (compression) {
        // 2 bits a pixel come from Windows CE; 64 bits hold four 16-bit channels.
        case Rgb: return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32 || bits == 64;
        case Rle8: return bits == 8;
        case Rle4: return bits == 4;
        case Os2_Rle24: return bits == 24;
        case Jpeg:
        case Png: return !os2 && bits == 0;
        // The bit-field values mean Huffman 1D to OS/2, which is not supported.
        default: return !os2 && (bits == 16 || bits == 32);
    }
}

// Each mask one run of bits inside the pixel, none overlapping another.
void Check_Masks(const Channel_Masks& m, int bits) {
    for (std::uint32_t mask : {m.red, m.green, m.blue})
        if (Channel_Field::From_Mask(mask).bits == 0) throw Error::Not_Valid(Bitmap_Fault::Bad_Masks);
    const std::uint64_t pixel_bits = (std::uint64_t{1} << bits) - 1;
    if ((m.red & m.green) || (m.red & m.blue) || (m.green & m.blue) || ((m.red | m.green | m.blue) & ~pixel_bits))
        throw Error::Not_Valid(Bitmap_Fault::Bad_Masks);
}

Layout Read_Layout(const Little_Endian_View& file, std::uint64_t file_size, Bmp_Description& description) {
    const auto signature = file.Slice(0, 2);
    if (signature[0] != kSignature[0] || signature[1] != kSignature[1]) throw Error::Not_Valid(Bitmap_Fault::Bad_Signature);
    const std::uint32_t header_size = file.U32(kFile_Header_Size);
    description.header_kind = Header_Kind(header_size);
    const std::uint64_t h = kFile_Header_Size;
    const bool core = header_size == kCore_Header_Size;
    const bool os2 = header_size == kOs2_Short_Header_Size || header_size == kOs2_Header_Size;

    Layout l;
    std::int64_t height = 0;
    std::uint16_t planes = 0;
    std::uint64_t colours_used = 0;
    if (core) {
        l.width = file.U16(h + 4);
        height = file.U16(h + 6);
        planes = file.U16(h + 8);
        l.bits = file.U16(h + 10);
        l.table_entry_size = 3;
        if (l.bits == 16 || l.bits == 32 || l.bits == 64) throw Error::Not_Valid(Bitmap_Fault::Bad_Bit_Depth);
    } else {
        const std::int32_t width = file.I32(h + 4);
        if (width <= 0 || width > Raster_Image::kMax_Dimension) throw Error::Not_Valid(Bitmap_Fault::Bad_Dimensions);
        l.width = width;
        height = file.I32(h + 8);
        planes = file.U16(h + 12);
        l.bits = file.U16(h + 14);
        if (header_size > kOs2_Short_Header_Size) {
            l.compression = file.U32(h + 16);
            colours_used = file.U32(h + 32);
            if (os2 && l.compression == Jpeg) l.compression = Os2_Rle24;
        }
    }
    description.compression = Compression_Name(l.compression);
    description.bits_per_pixel = l.bits;
    if (planes != 1 || !Bits_Fit_Compression(l.bits, l.compression, os2 || core)) throw Error::Not_Valid(Bitmap_Fault::Bad_Bit_Depth);

    l.top_down = height < 0;
    if (l.top_down) height = -height;
    if (l.width == 0 || height == 0 || height > Raster_Image::kMax_Dimension) throw Error::Not_Valid(Bitmap_Fault::Bad_Dimensions);
    l.height = static_cast<int>(height);
    if (l.top_down && (Is_Run_Length(l.compression) || Is_Embedded(l.compression))) throw Error::Not_Valid(Bitmap_Fault::Top_Down_Compressed);

    std::uint64_t headers_end = h + header_size;
    if (Is_Bitfields(l.compression)) {
        // From BITMAPV2INFOHEADER on the masks are part of the header; before, they follow it.
        const std::uint64_t at = header_size >= kV2_Header_Size ? h + kInfo_Header_Size : headers_end;
        l.masks = {file.U32(at), file.U32(at + 4), file.U32(at + 8)};
        if (header_size < kV2_Header_Size) headers_end += l.compression == Alpha_Bitfields ? 16 : 12;
        Check_Masks(l.masks, l.bits);
    } else if (l.bits == 16) {
        l.masks = kMasks555;
    }

    const bool palette = l.bits != 0 && l.bits <= 8;
    l.table_offset = headers_end;
    l.table_entries = colours_used != 0 ? colours_used : palette ? std::uint64_t{1} << l.bits : 0;
    // Pixels start where the file says when that is past the headers and inside the file;
    // otherwise right after the colour table, as writers that leave the offset 0 expect.
    const std::uint32_t declared_offset = file.U32(10);
    l.pixel_offset = declared_offset >= headers_end && declared_offset < file_size
                         ? declared_offset
                         : l.table_offset + l.table_entries * static_cast<std::uint64_t>(l.table_entry_size);
    return l;
}

// Unpacks one row of 1-, 4- or 8-bit indexes, most significant bits first.
void Unpack_Indices(const std::uint8_t* src, int bits, int width, std::uint8_t* out) {
    if (bits == 8) {
        std::memcpy(out, src, static_cast<std::size_t>(width));
        return;
    }
    const int per_byte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int x = 0; x < width; ++x)
        out[x] = static_cast<std::uint8_t>(src[x / per_byte] >> (8 - bits - (x % per_byte) * bits) & mask);
}

// Widens the channels of 16- or 32-bit masked pixels to 8 bits.
class Masked_Pixel_Reader {
public:
    Masked_Pixel_Reader(const Channel_Masks& masks, int bits) : red_(masks.red), green_(masks.green), blue_(masks.blue) {
        // Every 16-bit pixel's colour fits a 192 KiB table, which beats three look-ups a pixel.
        if (bits == 16) {
            all_16_bit_.resize(std::size_t{3} << 16);
            for (std::uint32_t v = 0; v < (1u << 16); ++v) Widen(v, &all_16_bit_[v * 3]);
        }
    }

    void Read_Row(const std::uint8_t* src, int width, std::uint8_t* dst) const {
        if (!all_16_bit_.empty()) {
            for (int x = 0; x < width; ++x, src += 2, dst += 3) std::memcpy(dst, &all_16_bit_[Load_U16_Le(src) * 3u], 3);
            return;
        }
        for (int x = 0; x < width; ++x, src += 4, dst += 3) Widen(Load_U32_Le(src), dst);
    }

private:
    void Widen(std::uint32_t pixel, std::uint8_t* bgr) const {
        bgr[0] = blue_(pixel);
        bgr[1] = green_(pixel);
        bgr[2] = red_(pixel);
    }

    class Channel {
    public:
        explicit Channel(std::uint32_t mask) : field_(Channel_Field::From_Mask(mask)) {
            max_ = static_cast<std::uint32_t>((std::uint64_t{1} << field_.bits) - 1);
            // Up to 16 bits a table is cheap; wider channels (only in odd 32-bit layouts) widen
            // on the fly.
            if (field_.bits <= 16) {
                widened_.resize(std::size_t{max_} + 1);
                for (std::uint32_t v = 0; v <= max_; ++v) widened_[v] = field_.Widen(v);
            }
        }
        std::uint8_t operator()(std::uint32_t pixel) const {
            const std::uint32_t v = pixel >> field_.shift & max_;
            return widened_.empty() ? field_.Widen(v) : widened_[v];
        }

    private:
        Channel_Field field_;
        std::uint32_t max_ = 0;
        std::vector<std::uint8_t> widened_;
    };
    Channel red_, green_, blue_;
    std::vector<std::uint8_t> all_16_bit_;
};

// The 8-bit sRGB value of each channel value of a 64-bit pixel: s2.13 fixed point (1.0 is
// 0x2000) in linear light. Values below 0 and above 1 are held to black and full.
class Linear_Channel_Reducer {
public:
    Linear_Channel_Reducer() {
        for (std::size_t v = 0; v < reduced_.size(); ++v) {
            const double linear = static_cast<double>(v) / kOne;
            const double encoded = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
            reduced_[v] = static_cast<std::uint8_t>(std::lround(encoded * 255));
        }
    }
    std::uint8_t operator()(const std::uint8_t* channel) const {
        const auto v = static_cast<std::int16_t>(Load_U16_Le(channel));
        return reduced_[static_cast<std::size_t>(std::clamp<int>(v, 0, kOne))];
    }

private:
    static constexpr int kOne = 0x2000;
    std::array<std::uint8_t, kOne + 1> reduced_{};
};

Pixel_Format Direct_Format(int bits, const Channel_Masks& masks) {
    if (bits == 24) return Pixel_Format::Bits24;
    if (bits == 16 && masks == kMasks555) return Pixel_Format::Bits15;
    if (bits == 16 && masks == kMasks565) return Pixel_Format::Bits16;
    if (bits == 32 && masks == kMasks888) return Pixel_Format::Bits32;
    return Pixel_Format::Custom;
}

// The headers and colour table lie within the first few kilobytes.
constexpr std::uint64_t kHeader_Bytes = 4096;

}  // namespace

Headers Read_Headers(const Byte_Source& source) {
    Headers h;
    h.bytes.resize(static_cast<std::size_t>(std::min(source.size(), kHeader_Bytes)));
    if (!source.Read(0, h.bytes)) throw Error::Not_Valid(Bitmap_Fault::Truncated_Headers);
    h.layout = Read_Layout(Little_Endian_View(h.bytes), source.size(), h.description);
    h.description.width = h.layout.width;
    h.description.height = h.layout.height;
    h.description.pixel_format = Decoded_Format(h.layout);
    h.description.top_down = h.layout.top_down;
    return h;
}

void Check_Pixel_Data(const Layout& l, const Byte_Source& data) {
    const std::uint64_t pixels = static_cast<std::uint64_t>(l.width) * static_cast<std::uint64_t>(l.height);
    if (Is_Run_Length(l.compression)) {
        if (!decode_limits::Plausible_For_Data(pixels, data.size())) throw Error::Not_Valid(Bitmap_Fault::Run_Length_Too_Sparse);
    } else if (!Is_Embedded(l.compression)) {
        // The last row's padding may be missing; everything else must be there.
        const std::uint64_t needed = Row_Stride(static_cast<std::uint64_t>(l.width), l.bits) * (l.height - 1) +
                                     (static_cast<std::uint64_t>(l.width) * l.bits + 7) / 8;
        if (needed > data.size()) throw Error::Not_Valid(Bitmap_Fault::Pixels_Missing);
    }
}

std::vector<Colour> Read_Colour_Table(const Headers& headers) {
    const Layout& l = headers.layout;
    const std::uint64_t room = (l.pixel_offset - l.table_offset) / static_cast<std::uint64_t>(l.table_entry_size);
    const std::uint64_t count = std::min({l.table_entries, std::uint64_t{1} << l.bits, room});
    const auto bytes = Little_Endian_View(headers.bytes).Slice(l.table_offset, count * l.table_entry_size);
    std::vector<Colour> entries(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = bytes.data() + i * l.table_entry_size;
        entries[i] = {e[2], e[1], e[0]};
    }
    return entries;
}

Colour_Table Palette_Table(std::vector<Colour> entries, std::uint8_t highest_index) {
    if (entries.size() <= highest_index) entries.resize(std::size_t{highest_index} + 1, kBlack);
    return Colour_Table(std::move(entries));
}

Pixel_Format Decoded_Format(const Layout& l) {
    if (Is_Embedded(l.compression) || l.compression == Os2_Rle24 || l.bits == 64) return Pixel_Format::Bits24;
    // There is no 2-bit format: its four colours fit a 4-bit image's table.
    if (l.bits <= 8) return l.bits == 2 ? Pixel_Format::Bits4 : static_cast<Pixel_Format>(l.bits);
    return Direct_Format(l.bits, l.masks);
}

Row_Converter::Row_Converter(const Layout& l) : layout_(l) {
    const std::size_t width = static_cast<std::size_t>(l.width);
    const Pixel_Format format = Decoded_Format(l);
    if (l.bits <= 8) {
        convert_ = [width, bits = l.bits](const std::uint8_t* src, std::uint8_t* dst) {
            Unpack_Indices(src, bits, static_cast<int>(width), dst);
        };
    } else if (l.bits == 64) {
        static const Linear_Channel_Reducer reduce;
        convert_ = [width](const std::uint8_t* src, std::uint8_t* dst) {
            for (std::size_t x = 0; x < width; ++x, src += 8, dst += 3)
                for (int c = 0; c < 3; ++c) dst[c] = reduce(src + 2 * c);
        };
    } else if (format == Pixel_Format::Bits24) {
        convert_ = [width](const std::uint8_t* src, std::uint8_t* dst) { std::memcpy(dst, src, width * 3); };
    } else if (format == Pixel_Format::Bits32) {
        convert_ = [width](const std::uint8_t* src, std::uint8_t* dst) {
            for (std::size_t x = 0; x < width; ++x, src += 4, dst += 3) std::memcpy(dst, src, 3);
        };
    } else {
        convert_ = [width, reader = Masked_Pixel_Reader(l.masks, l.bits)](const std::uint8_t* src, std::uint8_t* dst) {
            reader.Read_Row(src, static_cast<int>(width), dst);
        };
    }
}

void Row_Converter::Convert(const Byte_Source& data, int top, int rows, std::uint8_t* out) const {
    constexpr std::size_t kChunk_Bytes = std::size_t{1} << 20;
    const Layout& l = layout_;
    const std::size_t row_bytes = static_cast<std::size_t>(l.width) * Pixel_Bytes(l);
    const std::size_t stride = static_cast<std::size_t>(Row_Stride(static_cast<std::uint64_t>(l.width), l.bits));
    const int rows_per_chunk = static_cast<int>(std::max<std::size_t>(1, kChunk_Bytes / stride));
    // The stored rows of the image rows asked for: the same ones in reverse for a bottom-up file.
    const int stored_top = l.top_down ? top : l.height - top - rows;
    std::vector<std::uint8_t> chunk;
    for (int first = stored_top; first < stored_top + rows; first += rows_per_chunk) {
        const int count = std::min(rows_per_chunk, stored_top + rows - first);
        const std::uint64_t at = static_cast<std::uint64_t>(first) * stride;
        chunk.assign(static_cast<std::size_t>(count) * stride, 0);
        const std::size_t present = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), data.size() - at));
        if (!data.Read(at, std::span(chunk).first(present))) throw Error::Not_Valid(Bitmap_Fault::Pixels_Missing);
        for (int r = first; r < first + count; ++r) {
            const int y = l.top_down ? r : l.height - 1 - r;
            convert_(chunk.data() + static_cast<std::size_t>(r - first) * stride,
                     out + static_cast<std::size_t>(y - top) * row_bytes);
        }
    }
}

}  // namespace tilvane::bmp
