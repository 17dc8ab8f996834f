#include "codecs/picture_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "codecs/bmp_codec.h"
#include "codecs/picture_file.h"
#include "support/error.h"
#include "support/file_io.h"
#include "temp_folder.h"

namespace tilvane {
namespace {

using testing_support::Temp_Folder;

// Every pixel's colour and (in a palette image) index, and the layout a tile cut from it keeps.
void Expect_Same_Rows(const RasterImage& whole, const RasterImage& band, int top) {
    ASSERT_EQ(band.width(), whole.width());
    EXPECT_EQ(band.pixel_format(), whole.pixel_format());
    EXPECT_EQ(band.colour_table().entries(), whole.colour_table().entries());
    EXPECT_EQ(band.channel_masks(), whole.channel_masks());
    EXPECT_EQ(band.stored_bits_per_pixel(), whole.stored_bits_per_pixel());
    for (int y = 0; y < band.height(); ++y) {
        ASSERT_EQ(std::memcmp(band.row(y), whole.row(top + y), whole.row_bytes()), 0) << "row " << top + y;
        if (whole.index_row(top + y)) {
            ASSERT_EQ(std::memcmp(band.index_row(y), whole.index_row(top + y), static_cast<std::size_t>(whole.width())), 0);
        }
    }
}

// Bands of several heights, every other band skipped, against the picture read whole.
void Expect_Bands_Match(const std::string& path) {
    SCOPED_TRACE(path);
    const RasterImage whole = Load_Picture(path);
    for (int band_height : {1, 3, 7, whole.height()}) {
        SCOPED_TRACE(band_height);
        const auto rows = Open_Picture_Rows(path);
        ASSERT_EQ(rows->Width(), whole.width());
        ASSERT_EQ(rows->Height(), whole.height());
        for (int top = 0, band = 0; top < whole.height(); top += band_height, ++band) {
            if (band % 2 == 1 && band_height > 1) {
                rows->Skip_Rows(band_height);
                continue;
            }
            const RasterImage read = rows->Read_Rows(band_height);
            ASSERT_EQ(read.height(), std::min(band_height, whole.height() - top));
            Expect_Same_Rows(whole, read, top);
        }
        EXPECT_EQ(rows->Read_Rows(5).height(), 0);
        const RasterImage blank = rows->Blank(3, 2);
        EXPECT_EQ(blank.pixel_format(), whole.pixel_format());
        EXPECT_EQ(blank.pixel(2, 1), kBlack);
    }
}

TEST(PictureRowsTest, BandsHoldThePixelsOfThePictureReadWhole) {
    std::vector<std::string> paths;
    for (const char* folder : {TILVANE_BMP_FIXTURES, TILVANE_PNG_FIXTURES, TILVANE_JPEG_FIXTURES})
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (Format_For_Path(entry.path().string()) && entry.path().stem() != "info_jpeg")
                paths.push_back(entry.path().string());
    // Odd sizes in every pixel format the encoder writes, bottom-up as it writes them.
    Temp_Folder folder;
    for (PixelFormat format : {PixelFormat::Bits1, PixelFormat::Bits4, PixelFormat::Bits8, PixelFormat::Bits15,
                               PixelFormat::Bits16, PixelFormat::Bits24, PixelFormat::Bits32}) {
        RasterImage image(37, 23, format);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.set_pixel(x, y, {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11), static_cast<std::uint8_t>(x * y)});
        paths.push_back(folder.Path("odd" + std::to_string(static_cast<int>(format)) + ".bmp"));
        image.save_to_file(paths.back(), Flush_To_Disk::No);
    }
    ASSERT_GT(paths.size(), 60u);
    for (const std::string& path : paths) Expect_Bands_Match(path);
}

TEST(PictureRowsTest, ErrorsNameTheFileAndAreFoundAsTheBandsAreRead) {
    Temp_Folder folder;
    const std::string missing = folder.Path("missing.png");
    try {
        Open_Picture_Rows(missing);
        FAIL() << "a missing file was opened";
    } catch (const Error& error) {
        EXPECT_EQ(error.Kind(), Error_Kind::Cannot_Open);
    }
    // A PNG cut short opens (its headers are whole) and fails at the band that is missing.
    RasterImage noise(200, 300);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) noise.set_pixel(x, y, {static_cast<std::uint8_t>(x * y * 31 >> 3), 0, 0});
    const std::string cut = folder.Path("cut.png");
    Save_Picture(cut, noise, {.flush = Flush_To_Disk::No});
    const std::vector<std::uint8_t> png = read_whole_file(cut);
    write_file_new_or_replacing(cut, std::span(png).first(png.size() * 2 / 3));
    const auto rows = Open_Picture_Rows(cut);
    EXPECT_EQ(rows->Read_Rows(10).height(), 10);
    try {
        rows->Read_Rows(rows->Height());
        FAIL() << "a cut PNG was read";
    } catch (const Error& error) {
        EXPECT_EQ(error.Kind(), Error_Kind::Png_Not_Valid);
        EXPECT_EQ(error.Path(), cut);
    }
}

}  // namespace
}  // namespace tilvane
