#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codecs/png/png_codec.h"
#include "codecs/png/png_writer.h"
#include "codecs/bmp/bmp_codec.h"
#include "shell/error_report.h"
#include "support/file_io.h"

namespace tilvane {
namespace {

// Files of every kind, each beside the 24-bit BMP it decodes to (tests/data/png/make_png_fixtures.py).
const std::string kFixtures = TILVANE_PNG_FIXTURES;

std::vector<std::uint8_t> fixture(const std::string& name) { return Read_Whole_File(kFixtures + "/" + name); }

void expect_same_pixels(const Raster_Image& got, const Raster_Image& want) {
    ASSERT_EQ(got.Width(), want.Width());
    ASSERT_EQ(got.Height(), want.Height());
    for (int y = 0; y < got.Height(); ++y)
        for (int x = 0; x < got.Width(); ++x) ASSERT_EQ(got.Pixel(x, y), want.Pixel(x, y)) << x << "," << y;
}

bool refused(std::span<const std::uint8_t> bytes) {
    try {
        Decode_Png(bytes);
        return false;
    } catch (const Error& e) {
        EXPECT_EQ(shell::Error_Text(e), "PNG image is not valid");
        return true;
    }
}

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::uint8_t b : bytes) {
        crc ^= b;
        for (int i = 0; i < 8; ++i) crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

void put_u32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// The file with its header chunk's width and height replaced (its checksum made right).
std::vector<std::uint8_t> with_size(std::vector<std::uint8_t> bytes, std::uint32_t width, std::uint32_t height) {
    put_u32(bytes, 16, width);
    put_u32(bytes, 20, height);
    put_u32(bytes, 29, crc32(std::span(bytes).subspan(12, 17)));
    return bytes;
}

TEST(PngDecode, EveryKindDecodesToItsPicture) {
    for (const char* name : {"grey_1", "grey_2", "grey_4", "grey_8", "grey_16", "grey_alpha_8", "grey_alpha_16",
                             "rgb_8", "rgb_16", "rgba_8", "rgba_16", "grey_8_trns", "rgb_8_trns", "grey_16_trns",
                             "palette_1", "palette_2", "palette_4", "palette_8_trns", "rgba_8_interlaced",
                             "grey_2_interlaced", "rgb_16_interlaced",
                             // An Exif orientation of 1 to 8: the BMP is the picture as Pillow turns it upright.
                             "exif_1", "exif_2", "exif_3", "exif_4", "exif_5", "exif_6", "exif_7", "exif_8", "exif_6_after_data"}) {
        SCOPED_TRACE(name);
        const Input_File file(kFixtures + "/" + name + ".png");
        const Raster_Image got = Decode_Png(file);
        EXPECT_EQ(got.Format(), Pixel_Format::Bits24);
        expect_same_pixels(got, Decode_Bmp(fixture(std::string(name) + ".bmp")));
        const Png_Size size = Png_Upright_Size(file);
        EXPECT_EQ(size.width, got.Width());
        EXPECT_EQ(size.height, got.Height());
    }
}

// Up to the end chunk: libspng does not read that chunk's checksum, which guards no data.
TEST(PngDecode, EveryCutOffFileIsRefused) {
    for (const char* name : {"rgba_8_interlaced.png", "palette_8_trns.png"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> whole = fixture(name);
        for (std::size_t length = 0; length + 4 < whole.size(); ++length) {
            SCOPED_TRACE(length);
            ASSERT_TRUE(refused(std::span(whole).first(length)));
        }
    }
}

// A picture beyond what can be held is called too large, with its upright size, before a row is
// read, and its headers describe it all the same: files whose header claims the size.
TEST(PngDecode, PicturesBeyondTheLimitsAreTooLargeAndStillDescribed) {
    struct Case {
        const char* fixture;
        std::uint32_t width, height;
        const char* text;
    };
    const Case cases[] = {
        {"rgb_8.png", 48000, 32000, "48000x32000 pixels is too large: its pixels need more than 4096 MB"},
        {"exif_6.png", 48000, 32000, "32000x48000 pixels is too large: its pixels need more than 4096 MB"},
        {"grey_1.png", 20000000, 1, "20000000x1 pixels is too large: at most 16777216 pixels a side"},
        {"exif_8.png", 1, 0x7FFFFFFF, "2147483647x1 pixels is too large: at most 16777216 pixels a side"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<std::uint8_t> bytes = with_size(fixture(c.fixture), c.width, c.height);
        try {
            Decode_Png(bytes);
            ADD_FAILURE() << "decoded";
        } catch (const Error& e) {
            EXPECT_EQ(shell::Error_Text(e.About_File("big.png")), std::string("The picture big.png of ") + c.text);
        }
        const Png_Size size = Png_Upright_Size(Memory_Source(bytes));
        EXPECT_TRUE(std::string(c.text).starts_with(std::to_string(size.width) + "x" + std::to_string(size.height) + " "));
    }
}

TEST(PngDecode, HostileHeadersAreRefused) {
    EXPECT_TRUE(refused(fixture("rgb_8.bmp")));
    // The header chunk's width and height (with a correct checksum): sizes no few-hundred-byte
    // file can fill, and beyond what PNG allows.
    const std::uint32_t sides[][2] = {{30000, 30000}, {0x80000000u, 1}};
    for (const auto& side : sides) {
        SCOPED_TRACE(side[0]);
        EXPECT_TRUE(refused(with_size(fixture("grey_1.png"), side[0], side[1])));
    }
    std::vector<std::uint8_t> damaged = fixture("grey_1.png");
    damaged[17] ^= 1;  // the checksum no longer matches
    EXPECT_TRUE(refused(damaged));
}

TEST(PngEncode, WritesWhatTheDecoderReadsBack) {
    Raster_Image image(37, 5);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 50), static_cast<std::uint8_t>(255 - x)});
    Raster_Image two_colours = image;
    two_colours.Set_Format(Pixel_Format::Bits1);
    for (const Raster_Image* original : {&image, &two_colours}) {
        std::vector<std::uint8_t> bytes;
        Encode_Png(*original, [&](std::span<const std::uint8_t> chunk) { bytes.insert(bytes.end(), chunk.begin(), chunk.end()); });
        expect_same_pixels(Decode_Png(bytes), *original);
    }
    // A sink's failure is what the caller sees.
    try {
        Encode_Png(image, [](std::span<const std::uint8_t>) { throw Error::Cannot_Create("out.png"); });
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Kind(), Error_Kind::Cannot_Create);
    }
}

// Rows of 300,000 bytes make bands of 3 rows: crews of 1, 2 and 3 join 1 to 10 bands, the last
// batch and band short, into one stream that reads back as the picture.
TEST(PngEncode, BandsDeflatedApartJoinIntoOneStream) {
    Raster_Image image(100000, 10);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.Set_Pixel(x, y, {static_cast<std::uint8_t>(x / 7 + y), static_cast<std::uint8_t>(x * y), static_cast<std::uint8_t>(x % 13 * 19)});
    for (unsigned members : {1u, 2u, 3u}) {
        SCOPED_TRACE(members);
        Work_Crew crew(members);
        std::vector<std::uint8_t> bytes;
        Png_Writer writer(image.Width(), image.Height(),
                          [&](std::span<const std::uint8_t> chunk) { bytes.insert(bytes.end(), chunk.begin(), chunk.end()); }, crew);
        for (int y = 0; y < image.Height(); ++y) writer.Write_Row(image.Row(y));
        expect_same_pixels(Decode_Png(bytes), image);
    }
}

}  // namespace
}  // namespace tilvane
