#include <gtest/gtest.h>

#include <algorithm>

#include "bmp_builder.h"
#include "codecs/bmp/bmp_codec.h"
#include "codecs/jpeg/jpeg_codec.h"
#include "codecs/png/png_codec.h"
#include "support/file_io.h"

namespace tilvane {
namespace {

using test::BmpFields;
using test::build_bmp;
using test::expect_pixels;
using test::kBlue;
using test::kGreen;
using test::kRed;

constexpr Colour kGrey{128, 128, 128};

Raster_Image decode(const BmpFields& f, Bmp_Description* d = nullptr) { return Decode_Bmp(build_bmp(f), d); }

// A 3x2 24-bit picture: red green blue over white black grey, rows padded to 12 bytes.
BmpFields three_by_two(std::uint32_t header_size) {
    BmpFields f;
    f.header_size = header_size;
    f.width = 3;
    f.height = 2;
    f.pixels = {255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0,   0,  // bottom row first
                0,   0,   255, 0, 255, 0, 255, 0, 0,   0,   0, 0};
    return f;
}
const std::vector<std::vector<Colour>> kThree_By_Two = {{kRed, kGreen, kBlue}, {kWhite, kBlack, kGrey}};

TEST(BmpDecode, EveryHeaderKindReadsTheSamePicture) {
    const struct {
        std::uint32_t size;
        const char* kind;
    } cases[] = {{12, "BITMAPCOREHEADER"},   {16, "OS/2 2.x"},           {40, "BITMAPINFOHEADER"},
                 {52, "BITMAPV2INFOHEADER"}, {56, "BITMAPV3INFOHEADER"}, {64, "OS/2 2.x"},
                 {108, "BITMAPV4HEADER"},    {124, "BITMAPV5HEADER"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        SCOPED_TRACE(c.size);
        Bmp_Description d;
        const Raster_Image image = decode(three_by_two(c.size), &d);
        EXPECT_EQ(image.Format(), Pixel_Format::Bits24);
        expect_pixels(image, kThree_By_Two);
        EXPECT_EQ(d.header_kind, c.kind);
        EXPECT_EQ(d.compression, "BI_RGB");
        EXPECT_EQ(d.bits_per_pixel, 24);
        EXPECT_FALSE(d.top_down);
    }
}

TEST(BmpDecode, NegativeHeightMeansTopDown) {
    BmpFields f = three_by_two(40);
    f.height = -2;
    std::rotate(f.pixels.begin(), f.pixels.begin() + 12, f.pixels.end());
    Bmp_Description d;
    expect_pixels(decode(f, &d), kThree_By_Two);
    EXPECT_TRUE(d.top_down);
}

TEST(BmpDecode, PaletteDepthsUnpackEdgePixels) {
    const std::vector<Colour> table = {kBlack, kRed, kGreen, kBlue, kWhite};
    const struct {
        const char* name;
        std::uint16_t bits;
        int width;
        std::vector<std::uint8_t> pixels;  // one row
        std::vector<Colour> want;
    } cases[] = {
        // Nine pixels spill one bit into a second byte.
        {"1-bit", 1, 9, {0b10110010, 0b10000000, 0, 0}, {kRed, kBlack, kRed, kRed, kBlack, kBlack, kRed, kBlack, kRed}},
        {"4-bit", 4, 3, {0x34, 0x20, 0, 0}, {kBlue, kWhite, kGreen}},
        {"8-bit", 8, 5, {4, 3, 2, 1, 0, 0, 0, 0}, {kWhite, kBlue, kGreen, kRed, kBlack}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields f;
        f.bits = c.bits;
        f.width = c.width;
        f.table = c.bits == 1 ? std::vector<Colour>{kBlack, kRed} : table;
        f.colours_used = static_cast<std::uint32_t>(f.table.size());
        f.pixels = c.pixels;
        Bmp_Description d;
        const Raster_Image image = decode(f, &d);
        EXPECT_EQ(image.Format(), static_cast<Pixel_Format>(c.bits));
        EXPECT_EQ(image.Table().Entries(), f.table);
        EXPECT_EQ(d.colour_table_entries, static_cast<int>(f.table.size()));
        expect_pixels(image, {c.want});
    }
}

TEST(BmpDecode, CoreHeaderTableHoldsTriples) {
    BmpFields f;
    f.header_size = 12;
    f.bits = 1;
    f.width = 2;
    f.table = {kBlue, kRed};
    f.pixels = {0b01000000, 0, 0, 0};
    const Raster_Image image = decode(f);
    EXPECT_EQ(image.Table().Entries(), f.table);
    expect_pixels(image, {{kBlue, kRed}});
}

TEST(BmpDecode, DirectFormatsWidenChannelsByRounding) {
    const struct {
        const char* name;
        std::uint32_t header_size;
        std::uint16_t bits;
        std::uint32_t compression;
        std::vector<std::uint32_t> masks;
        std::vector<std::uint8_t> pixels;  // two pixels, padded
        Pixel_Format format;
        std::vector<Colour> want;
    } cases[] = {
        // 5-bit 1 -> 8, 16 -> 132; 6-bit 1 -> 4, 32 -> 130.
        {"16-bit BI_RGB is 5-5-5", 40, 16, 0, {}, {0x01, 0x7C, 0x10, 0x42}, Pixel_Format::Bits15,
         {{255, 0, 8}, {132, 132, 132}}},
        {"5-5-5 masks", 40, 16, 3, {0x7C00, 0x03E0, 0x001F}, {0xFF, 0x7F, 0x00, 0x00}, Pixel_Format::Bits15,
         {kWhite, kBlack}},
        {"5-6-5 masks", 40, 16, 3, {0xF800, 0x07E0, 0x001F}, {0x20, 0x00, 0x00, 0x04}, Pixel_Format::Bits16,
         {{0, 4, 0}, {0, 130, 0}}},
        {"5-6-5 masks in a V3 header", 56, 16, 3, {0xF800, 0x07E0, 0x001F}, {0x1F, 0xF8, 0xE0, 0x07},
         Pixel_Format::Bits16, {{255, 0, 255}, kGreen}},
        {"32-bit BI_RGB ignores the top byte", 40, 32, 0, {}, {1, 2, 3, 0xFF, 4, 5, 6, 7}, Pixel_Format::Bits32,
         {{3, 2, 1}, {6, 5, 4}}},
        {"8-8-8 masks in a V5 header", 124, 32, 3, {0xFF0000, 0xFF00, 0xFF}, {1, 2, 3, 0, 4, 5, 6, 0},
         Pixel_Format::Bits32, {{3, 2, 1}, {6, 5, 4}}},
        {"alpha bitfields carry a fourth mask", 40, 32, 6, {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         {1, 2, 3, 9, 4, 5, 6, 9}, Pixel_Format::Bits32, {{3, 2, 1}, {6, 5, 4}}},
        {"4-4-4 is custom", 40, 16, 3, {0x0F00, 0x00F0, 0x000F}, {0x21, 0x03, 0xFF, 0xFF}, Pixel_Format::Custom,
         {{51, 34, 17}, {255, 255, 255}}},
        // 10-bit 512 -> 128; swapped channel order.
        {"10-10-10 is custom", 40, 32, 3, {0x3FF, 0xFFC00, 0x3FF00000}, {0x00, 0x02, 0xF0, 0x3F, 0xFF, 0x03, 0, 0},
         Pixel_Format::Custom, {{128, 0, 255}, {255, 0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields f;
        f.header_size = c.header_size;
        f.width = 2;
        f.bits = c.bits;
        f.compression = c.compression;
        f.masks = c.masks;
        f.pixels = c.pixels;
        Bmp_Description d;
        const Raster_Image image = decode(f, &d);
        EXPECT_EQ(image.Format(), c.format);
        EXPECT_EQ(image.Stored_Bits_Per_Pixel(), c.bits);
        if (c.format == Pixel_Format::Custom) {
            EXPECT_EQ(image.Masks(), (Channel_Masks{c.masks[0], c.masks[1], c.masks[2]}));
        }
        expect_pixels(image, {c.want});
    }
}

TEST(BmpDecode, RarerLayoutsThatRealProgramsWrite) {
    {
        SCOPED_TRACE("2 bits a pixel");
        BmpFields f;
        f.width = 5;
        f.bits = 2;
        f.table = {kRed, kGreen, kBlue, kWhite};
        f.pixels = {0b00011011, 0b01000000, 0, 0};
        const Raster_Image image = decode(f);
        EXPECT_EQ(image.Format(), Pixel_Format::Bits4);
        EXPECT_EQ(image.Table().Entries(), f.table);
        expect_pixels(image, {{kRed, kGreen, kBlue, kWhite, kGreen}});
    }
    {
        SCOPED_TRACE("OS/2 RLE24");
        BmpFields f;
        f.header_size = 64;
        f.width = 4;
        f.height = 2;
        f.compression = 4;
        f.pixels = {3, 0, 0, 255, 1, 255, 0, 0, 0, 0,                        // bottom: a run of 3, a run of 1
                    0, 3, 255, 255, 255, 0, 0, 0, 0, 255, 0, 0 /* pad */,  // top: a literal of 3
                    1, 128, 128, 128, 0, 1};
        Bmp_Description d;
        const Raster_Image image = decode(f, &d);
        EXPECT_EQ(d.compression, "RLE24");
        EXPECT_EQ(image.Format(), Pixel_Format::Bits24);
        expect_pixels(image, {{kWhite, kBlack, kGreen, kGrey}, {kRed, kRed, kRed, kBlue}});
    }
    {
        // Channels in s2.13 fixed point (0x2000 is full), linear light: 0x1000 is sRGB 188;
        // values below zero and above full are held.
        SCOPED_TRACE("64 bits a pixel");
        BmpFields f;
        f.width = 2;
        f.bits = 64;
        f.pixels = {0x00, 0x20, 0x00, 0x10, 0x00, 0xE0, 0x00, 0x20,   // blue, green, red, alpha
                    0x00, 0x00, 0x00, 0x30, 0x10, 0x00, 0x00, 0x20};
        const Raster_Image image = decode(f);
        EXPECT_EQ(image.Format(), Pixel_Format::Bits24);
        expect_pixels(image, {{{0, 188, 255}, {6, 255, 0}}});
    }
    for (const bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "70,000 x 1" : "1 x 70,000");
        BmpFields f;
        f.width = wide ? 70000 : 1;
        f.height = wide ? 1 : 70000;
        f.pixels.assign(static_cast<std::size_t>(wide ? 70000 * 3 : 70000 * 4), 0);
        f.pixels[wide ? 69999 * 3 + 2 : 2] = 255;  // the far end is red (the bottom row comes first)
        const Raster_Image image = decode(f);
        ASSERT_EQ(image.Width(), f.width);
        ASSERT_EQ(image.Height(), f.height);
        EXPECT_EQ(image.Pixel(f.width - 1, f.height - 1), kRed);
    }
    const struct {
        std::uint32_t compression;
        std::string file;
        const char* name;
    } embedded[] = {{4, std::string(TILVANE_JPEG_FIXTURES) + "/baseline_420.jpg", "BI_JPEG"},
                    {5, std::string(TILVANE_PNG_FIXTURES) + "/rgba_8_interlaced.png", "BI_PNG"}};
    for (const auto& c : embedded) {
        SCOPED_TRACE(c.name);
        BmpFields f;
        f.width = 45;  // as the file inside says or not: its own size counts
        f.height = 29;
        f.bits = 0;
        f.compression = c.compression;
        f.pixels = Read_Whole_File(c.file);
        Bmp_Description d;
        const Raster_Image image = decode(f, &d);
        EXPECT_EQ(d.compression, c.name);
        const Raster_Image inside = c.compression == 4 ? Decode_Jpeg(f.pixels) : Decode_Png(f.pixels);
        ASSERT_EQ(image.Width(), inside.Width());
        ASSERT_EQ(image.Height(), inside.Height());
        for (int y = 0; y < image.Height(); ++y)
            ASSERT_TRUE(std::equal(image.Row(y), image.Row(y) + image.Row_Bytes(), inside.Row(y)));
    }
}

TEST(BmpDecode, ColourTableSizes) {
    const struct {
        const char* name;
        std::uint32_t colours_used;
        std::size_t table_in_file;
        std::optional<std::uint32_t> pixel_offset;
        int entries_read;
    } cases[] = {
        {"clrUsed 0 means a full table", 0, 16, {}, 16},
        {"a short table", 3, 3, {}, 3},
        {"a long table is cut to 2^bits", 20, 20, {}, 16},
        {"the pixel offset cuts the table", 16, 16, 14 + 40 + 2 * 4, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields f;
        f.bits = 4;
        f.width = 2;
        f.colours_used = c.colours_used;
        for (std::size_t i = 0; i < c.table_in_file; ++i) f.table.push_back({static_cast<std::uint8_t>(i + 1), 0, 0});
        f.pixel_offset = c.pixel_offset;
        f.pixels = {0x01, 0, 0, 0};
        std::vector<std::uint8_t> file = build_bmp(f);
        if (c.pixel_offset) {
            // The bytes from the offset on are the pixels, whatever the table would have held.
            std::copy(f.pixels.begin(), f.pixels.end(), file.begin() + *c.pixel_offset);
            file.resize(*c.pixel_offset + f.pixels.size());
        }
        Bmp_Description d;
        const Raster_Image image = Decode_Bmp(file, &d);
        EXPECT_EQ(d.colour_table_entries, c.entries_read);
        EXPECT_EQ(image.Table().size(), c.entries_read);
        expect_pixels(image, {{{1, 0, 0}, {2, 0, 0}}});
    }
}

TEST(BmpDecode, IndexesPastAShortTableReadAsBlackTableEntries) {
    BmpFields f;
    f.bits = 8;
    f.width = 3;
    f.colours_used = 2;
    f.table = {kRed, kGreen};
    f.pixels = {1, 7, 0, 0};
    const Raster_Image image = decode(f);
    expect_pixels(image, {{kGreen, kBlack, kRed}});
    // The table grows to cover index 7, so every pixel is its own entry's colour.
    ASSERT_EQ(image.Table().size(), 8);
    EXPECT_EQ(image.Table()[7], kBlack);
}

TEST(BmpDecode, PixelOffset) {
    const struct {
        const char* name;
        std::uint32_t offset;
        std::size_t gap;  // bytes between the headers and the pixels
    } cases[] = {
        {"a gap before the pixels is skipped", 14 + 40 + 6, 6},
        {"zero means right after the headers", 0, 0},
        {"past the file's end is ignored", 1000, 0},
        {"inside the header is ignored", 20, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields f = three_by_two(40);
        f.pixels.insert(f.pixels.begin(), c.gap, 0xAB);
        f.pixel_offset = c.offset;
        expect_pixels(decode(f), kThree_By_Two);
    }
}

TEST(BmpDecode, MissingPaddingAfterTheLastRowIsTolerated) {
    BmpFields f = three_by_two(40);
    f.pixels.resize(f.pixels.size() - 3);
    expect_pixels(decode(f), kThree_By_Two);
}

// RLE pictures 4 wide, 3 high, on the table black red green blue.
Raster_Image decode_rle(std::uint16_t bits, std::vector<std::uint8_t> data) {
    BmpFields f;
    f.bits = bits;
    f.compression = bits == 8 ? 1 : 2;
    f.width = 4;
    f.height = 3;
    f.colours_used = 4;
    f.table = {kBlack, kRed, kGreen, kBlue};
    f.pixels = std::move(data);
    return decode(f);
}

TEST(BmpDecode, RunLengthEncoding) {
    const auto K = kBlack, R = kRed, G = kGreen, B = kBlue;
    const struct {
        const char* name;
        std::uint16_t bits;
        std::vector<std::uint8_t> data;
        std::vector<std::vector<Colour>> want;
    } cases[] = {
        {"RLE8 runs and end of line", 8, {4, 1, 0, 0, 2, 2, 2, 3, 0, 0, 4, 3, 0, 1}, {{B, B, B, B}, {G, G, B, B}, {R, R, R, R}}},
        {"RLE8 literal with its pad byte", 8, {0, 3, 1, 2, 3, 0, 1, 1, 0, 1}, {{K, K, K, K}, {K, K, K, K}, {R, G, B, R}}},
        {"RLE8 early end of line and unreached pixels", 8, {1, 2, 0, 0, 0, 0, 2, 3, 0, 1}, {{B, B, K, K}, {K, K, K, K}, {G, K, K, K}}},
        {"RLE8 delta skips right and up", 8, {0, 2, 1, 1, 2, 1, 0, 1}, {{K, K, K, K}, {K, R, R, K}, {K, K, K, K}}},
        {"RLE8 run past the row end is clipped", 8, {9, 1, 0, 0, 1, 2, 0, 1}, {{K, K, K, K}, {G, K, K, K}, {R, R, R, R}}},
        {"RLE8 delta past the top ends the picture", 8, {1, 1, 0, 2, 0, 9, 4, 3}, {{K, K, K, K}, {K, K, K, K}, {R, K, K, K}}},
        {"data ending between codes ends the picture", 8, {4, 2}, {{K, K, K, K}, {K, K, K, K}, {G, G, G, G}}},
        {"RLE4 runs alternate two indexes", 4, {4, 0x12, 0, 0, 3, 0x30, 0, 1}, {{K, K, K, K}, {B, K, B, K}, {R, G, R, G}}},
        {"RLE4 odd literal with its pad", 4, {0, 3, 0x12, 0x30, 1, 0x33, 0, 1}, {{K, K, K, K}, {K, K, K, K}, {R, G, B, B}}},
        {"RLE4 delta and clipped run", 4, {0, 2, 3, 1, 5, 0x11, 0, 1}, {{K, K, K, K}, {K, K, K, R}, {K, K, K, K}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expect_pixels(decode_rle(c.bits, c.data), c.want);
    }
}

TEST(BmpDecode, RleDescription) {
    BmpFields f;
    f.bits = 4;
    f.compression = 2;
    f.table = {kBlack, kWhite};
    f.colours_used = 2;
    f.pixels = {0, 1};
    Bmp_Description d;
    decode(f, &d);
    EXPECT_EQ(d.compression, "BI_RLE4");
    EXPECT_EQ(d.bits_per_pixel, 4);
    EXPECT_EQ(d.colour_table_entries, 2);
}

}  // namespace
}  // namespace tilvane
