#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "codecs/bmp/bmp_codec.h"
#include "support/error.h"

namespace tilvane {
namespace {

using test::BmpFields;
using test::build_bmp;

std::uint32_t u32_at(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
           std::uint32_t{b[at + 3]} << 24;
}
std::uint16_t u16_at(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// Colours that differ in every channel from pixel to pixel, reduced to what the image holds.
void paint(Raster_Image& image) {
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * 37 + y * 101), static_cast<std::uint8_t>(x * 59 + 7),
                                   static_cast<std::uint8_t>(y * 83 + x * 13)});
}

void expect_same_image(const Raster_Image& got, const Raster_Image& want) {
    ASSERT_EQ(got.Width(), want.Width());
    ASSERT_EQ(got.Height(), want.Height());
    EXPECT_EQ(got.Format(), want.Format());
    EXPECT_EQ(got.Stored_Bits_Per_Pixel(), want.Stored_Bits_Per_Pixel());
    if (Has_Colour_Table(want.Format()))
        EXPECT_EQ(got.Table().Entries(), want.Table().Entries());
    else
        EXPECT_EQ(got.Masks(), want.Masks());
    for (int y = 0; y < want.Height(); ++y)
        for (int x = 0; x < want.Width(); ++x) {
            ASSERT_EQ(got.Pixel(x, y), want.Pixel(x, y)) << x << "," << y;
            if (want.Index_Row(y)) {
                ASSERT_EQ(got.Index_Row(y)[x], want.Index_Row(y)[x]) << x << "," << y;
            }
        }
}

TEST(BmpEncode, EveryFormatRoundTrips) {
    const Pixel_Format formats[] = {Pixel_Format::Bits1,  Pixel_Format::Bits4,  Pixel_Format::Bits8, Pixel_Format::Bits15,
                                   Pixel_Format::Bits16, Pixel_Format::Bits24, Pixel_Format::Bits32};
    for (Pixel_Format format : formats) {
        // Widths that leave every possible amount of row padding.
        for (int width : {1, 2, 3, 5, 7, 9, 33}) {
            SCOPED_TRACE(static_cast<int>(format));
            SCOPED_TRACE(width);
            Raster_Image image(width, 3, format);
            paint(image);
            expect_same_image(Decode_Bmp(Encode_Bmp(image)), image);
        }
    }
}

TEST(BmpEncode, CustomLayoutsRoundTrip) {
    const struct {
        const char* name;
        std::uint16_t bits;
        std::vector<std::uint32_t> masks;
    } cases[] = {
        {"4-4-4", 16, {0x0F00, 0x00F0, 0x000F}},
        {"1-5-10 reversed", 16, {0x0001, 0x003E, 0xFFC0}},
        {"10-10-10", 32, {0x3FF00000, 0xFFC00, 0x3FF}},
        {"5-5-5 at 32 bits", 32, {0x7C00, 0x03E0, 0x001F}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields f;
        f.width = 3;
        f.height = 2;
        f.bits = c.bits;
        f.compression = 3;
        f.masks = c.masks;
        for (int i = 0; i < 32; ++i) f.pixels.push_back(static_cast<std::uint8_t>(i * 73 + 5));
        const Raster_Image image = Decode_Bmp(build_bmp(f));
        ASSERT_EQ(image.Format(), Pixel_Format::Custom);
        expect_same_image(Decode_Bmp(Encode_Bmp(image)), image);
    }
}

TEST(BmpEncode, HeaderAndRowLayout) {
    const struct {
        Pixel_Format format;
        std::uint16_t bits;
        std::uint32_t compression;
        std::uint32_t colours;
        std::uint32_t red_mask;  // 0 when no masks are written
        std::size_t stride;      // of a 3-pixel row
    } cases[] = {
        {Pixel_Format::Bits1, 1, 0, 2, 0, 4},        {Pixel_Format::Bits4, 4, 0, 16, 0, 4},
        {Pixel_Format::Bits8, 8, 0, 256, 0, 4},      {Pixel_Format::Bits15, 16, 0, 0, 0, 8},
        {Pixel_Format::Bits16, 16, 3, 0, 0xF800, 8}, {Pixel_Format::Bits24, 24, 0, 0, 0, 12},
        {Pixel_Format::Bits32, 32, 0, 0, 0, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        Raster_Image image(3, 2, c.format);
        image.Set_Pixel(0, 1, kWhite);  // bottom-left, stored first
        for (int x = 1; x < 3; ++x) image.Set_Pixel(x, 1, kBlack);
        for (int x = 0; x < 3; ++x) image.Set_Pixel(x, 0, kBlack);
        const std::vector<std::uint8_t> file = Encode_Bmp(image);

        const std::size_t masks = c.red_mask ? 12 : 0;
        const std::size_t offset = 14 + 40 + masks + c.colours * 4;
        ASSERT_EQ(file.size(), offset + 2 * c.stride);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(u32_at(file, 2), file.size());
        EXPECT_EQ(u32_at(file, 10), offset);
        EXPECT_EQ(u32_at(file, 14), 40u);
        EXPECT_EQ(u32_at(file, 18), 3u);
        EXPECT_EQ(u32_at(file, 22), 2u);  // positive: bottom-up
        EXPECT_EQ(u16_at(file, 26), 1);
        EXPECT_EQ(u16_at(file, 28), c.bits);
        EXPECT_EQ(u32_at(file, 30), c.compression);
        EXPECT_EQ(u32_at(file, 34), 2 * c.stride);
        EXPECT_EQ(u32_at(file, 46), c.colours);
        if (c.red_mask) {
            EXPECT_EQ(u32_at(file, 54), c.red_mask);
        }

        // The first stored row is the bottom one and starts with white's non-zero bits; the
        // second stored row is black; padding is zero.
        EXPECT_NE(file[offset], 0);
        for (std::size_t i = offset + c.stride; i < file.size(); ++i) EXPECT_EQ(file[i], 0) << i;
        const std::size_t used = (3 * c.bits + 7) / 8;
        for (std::size_t i = used; i < c.stride; ++i) EXPECT_EQ(file[offset + i], 0) << i;
    }
}

TEST(BmpEncode, PaletteFileSavedAgainKeepsItsTable) {
    BmpFields f;
    f.bits = 8;
    f.width = 3;
    f.colours_used = 16;
    for (int i = 0; i < 16; ++i) f.table.push_back({static_cast<std::uint8_t>(i * 16), 0, static_cast<std::uint8_t>(255 - i)});
    f.pixels = {15, 0, 7, 0};
    const Raster_Image image = Decode_Bmp(build_bmp(f));
    Bmp_Description d;
    const Raster_Image again = Decode_Bmp(Encode_Bmp(image), &d);
    EXPECT_EQ(d.bits_per_pixel, 8);
    EXPECT_EQ(d.colour_table_entries, 16);
    expect_same_image(again, image);
}

// A table that repeats its colours: each pixel keeps the index it was stored with, through
// decoding and saving again, whether the file packs its indexes or runs them.
TEST(BmpEncode, RepeatedTableColoursKeepTheirIndexes) {
    const struct {
        const char* name;
        std::uint16_t bits;
        std::uint32_t compression;
        int entries;
    } cases[] = {{"1 bit", 1, 0, 2}, {"4 bits", 4, 0, 16}, {"8 bits", 8, 0, 16}, {"RLE8", 8, 1, 16}, {"RLE4", 4, 2, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields f;
        f.bits = c.bits;
        f.compression = c.compression;
        f.width = 8;
        f.height = 2;
        for (int i = 0; i < c.entries; ++i) f.table.push_back(i < c.entries / 2 ? kBlack : kWhite);
        const auto index = [&](int x, int y) { return static_cast<std::uint8_t>((x + 3 * y) % c.entries); };
        for (int y = f.height - 1; y >= 0; --y) {  // bottom-up, 4-byte rows or RLE literals of 8
            std::vector<std::uint8_t> packed(c.compression != 0 ? c.bits : std::max(4, int{c.bits}), 0);
            for (int x = 0; x < 8; ++x)
                packed[static_cast<std::size_t>(x * c.bits / 8)] |= static_cast<std::uint8_t>(index(x, y) << (8 - c.bits - x * c.bits % 8));
            if (c.compression != 0) f.pixels.insert(f.pixels.end(), {0, 8});
            f.pixels.insert(f.pixels.end(), packed.begin(), packed.end());
            if (c.compression != 0) f.pixels.insert(f.pixels.end(), {0, 0});
        }
        const Raster_Image image = Decode_Bmp(build_bmp(f));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 8; ++x) ASSERT_EQ(image.Index_Row(y)[x], index(x, y)) << x << "," << y;
        expect_same_image(Decode_Bmp(Encode_Bmp(image)), image);
    }
}

TEST(BmpEncode, EmptyImageIsRefused) {
    for (const Raster_Image& empty : {Raster_Image(), Raster_Image(0, 5)}) {
        try {
            Encode_Bmp(empty);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.Fault(), Bitmap_Fault::Empty_Image);
        }
    }
}

}  // namespace
}  // namespace tilvane
