#pragma once
// Builds small BMP files byte by byte for the codec tests, independently of the encoder.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/colour.h"
#include "image/raster_image.h"

namespace tilvane::test {

// Appends little-endian fields.
class ByteWriter {
public:
    ByteWriter& u8(std::uint32_t v) {
        bytes_.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    ByteWriter& u16(std::uint32_t v) { return u8(v).u8(v >> 8); }
    ByteWriter& u32(std::uint32_t v) { return u16(v).u16(v >> 16); }
    ByteWriter& bytes(const std::vector<std::uint8_t>& b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    ByteWriter& zeros(std::size_t n) {
        bytes_.resize(bytes_.size() + n);
        return *this;
    }
    std::size_t size() const { return bytes_.size(); }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

// The fields of a BMP file. Pixel data is given as stored (rows padded, bottom-up unless the
// height is negative); everything else is laid out as the header size implies.
struct BmpFields {
    std::uint32_t header_size = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t colours_used = 0;
    std::vector<std::uint32_t> masks;  // inside V2+ headers, else written after the header
    std::vector<Colour> table;         // RGBTRIPLEs for the 12-byte header, RGBQUADs otherwise
    std::vector<std::uint8_t> pixels;
    std::optional<std::uint32_t> pixel_offset;  // default: right after the table
};

inline std::vector<std::uint8_t> build_bmp(const BmpFields& f) {
    ByteWriter header;
    header.u32(f.header_size);
    if (f.header_size == 12) {
        header.u16(static_cast<std::uint32_t>(f.width)).u16(static_cast<std::uint32_t>(f.height));
        header.u16(f.planes).u16(f.bits);
    } else {
        header.u32(static_cast<std::uint32_t>(f.width)).u32(static_cast<std::uint32_t>(f.height));
        header.u16(f.planes).u16(f.bits);
        if (f.header_size > 16) {
            header.u32(f.compression).u32(static_cast<std::uint32_t>(f.pixels.size())).u32(0).u32(0);
            header.u32(f.colours_used).u32(0);
        }
        if (f.header_size >= 52)
            for (std::uint32_t m : f.masks) header.u32(m);
    }
    header.zeros(f.header_size - std::min<std::size_t>(f.header_size, header.size()));
    if (f.header_size < 52)
        for (std::uint32_t m : f.masks) header.u32(m);
    for (const Colour& c : f.table) {
        header.u8(c.blue).u8(c.green).u8(c.red);
        if (f.header_size != 12) header.u8(0);
    }

    const auto offset = static_cast<std::uint32_t>(14 + header.size());
    ByteWriter file;
    file.u8('B').u8('M').u32(static_cast<std::uint32_t>(offset + f.pixels.size())).u32(0);
    file.u32(f.pixel_offset.value_or(offset));
    file.bytes(header.take()).bytes(f.pixels);
    return file.take();
}

// Checks every pixel against rows of colours listed top to bottom.
inline void expect_pixels(const Raster_Image& image, const std::vector<std::vector<Colour>>& rows) {
    ASSERT_EQ(image.Height(), static_cast<int>(rows.size()));
    for (int y = 0; y < image.Height(); ++y) {
        const auto& row = rows[static_cast<std::size_t>(y)];
        ASSERT_EQ(image.Width(), static_cast<int>(row.size()));
        for (int x = 0; x < image.Width(); ++x) {
            const Colour want = row[static_cast<std::size_t>(x)], got = image.Pixel(x, y);
            EXPECT_EQ(got, want) << "pixel (" << x << ", " << y << ") is " << int{got.red} << ","
                                 << int{got.green} << "," << int{got.blue};
        }
    }
}

inline constexpr Colour kRed{255, 0, 0};
inline constexpr Colour kGreen{0, 255, 0};
inline constexpr Colour kBlue{0, 0, 255};

}  // namespace tilvane::test
