#include "codecs/picture_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "codecs/bmp/bmp_codec.h"
#include "codecs/bmp/bmp_file.h"
#include "codecs/picture_file.h"
#include "support/error.h"
#include "support/file_io.h"
#include "temp_folder.h"

namespace tilvane {
namespace {

using testing_support::Temp_Folder;

// Every pixel's colour and (in a palette image) index, and the layout a tile cut from it keeps.
void Expect_Same_Rows(const Raster_Image& whole, const Raster_Image& band, int top) {
    ASSERT_EQ(band.Width(), whole.Width());
    EXPECT_EQ(band.Format(), whole.Format());
    EXPECT_EQ(band.Table().Entries(), whole.Table().Entries());
    EXPECT_EQ(band.Masks(), whole.Masks());
    EXPECT_EQ(band.Stored_Bits_Per_Pixel(), whole.Stored_Bits_Per_Pixel());
    for (int y = 0; y < band.Height(); ++y) {
        ASSERT_EQ(std::memcmp(band.Row(y), whole.Row(top + y), whole.Row_Bytes()), 0) << "row " << top + y;
        if (whole.Index_Row(top + y)) {
            ASSERT_EQ(std::memcmp(band.Index_Row(y), whole.Index_Row(top + y), static_cast<std::size_t>(whole.Width())), 0);
        }
    }
}

// Bands of several heights, every other band skipped, against the picture read whole.
void Expect_Bands_Match(const std::string& path) {
    SCOPED_TRACE(path);
    const Raster_Image whole = Load_Picture(path);
    for (int band_height : {1, 3, 7, whole.Height()}) {
        SCOPED_TRACE(band_height);
        const auto rows = Open_Picture_Rows(path);
        ASSERT_EQ(rows->Width(), whole.Width());
        ASSERT_EQ(rows->Height(), whole.Height());
        for (int top = 0, band = 0; top < whole.Height(); top += band_height, ++band) {
            if (band % 2 == 1 && band_height > 1) {
                rows->Skip_Rows(band_height);
                continue;
            }
            const Raster_Image read = rows->Read_Rows(band_height);
            ASSERT_EQ(read.Height(), std::min(band_height, whole.Height() - top));
            Expect_Same_Rows(whole, read, top);
        }
        EXPECT_EQ(rows->Read_Rows(5).Height(), 0);
        const Raster_Image blank = rows->Blank(3, 2);
        EXPECT_EQ(blank.Format(), whole.Format());
        EXPECT_EQ(blank.Pixel(2, 1), kBlack);
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
    for (Pixel_Format format : {Pixel_Format::Bits1, Pixel_Format::Bits4, Pixel_Format::Bits8, Pixel_Format::Bits15,
                               Pixel_Format::Bits16, Pixel_Format::Bits24, Pixel_Format::Bits32}) {
        Raster_Image image(37, 23, format);
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                image.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11), static_cast<std::uint8_t>(x * y)});
        paths.push_back(folder.Path("odd" + std::to_string(static_cast<int>(format)) + ".bmp"));
        Save_Bitmap_File(image, paths.back(), Flush_To_Disk::No);
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
    Raster_Image noise(200, 300);
    for (int y = 0; y < noise.Height(); ++y)
        for (int x = 0; x < noise.Width(); ++x) noise.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * y * 31 >> 3), 0, 0});
    const std::string cut = folder.Path("cut.png");
    Save_Picture(cut, noise, {.flush = Flush_To_Disk::No});
    const std::vector<std::uint8_t> png = Read_Whole_File(cut);
    Write_File_New_Or_Replacing(cut, std::span(png).first(png.size() * 2 / 3));
    const auto rows = Open_Picture_Rows(cut);
    EXPECT_EQ(rows->Read_Rows(10).Height(), 10);
    try {
        rows->Read_Rows(rows->Height());
        FAIL() << "a cut PNG was read";
    } catch (const Error& error) {
        EXPECT_EQ(error.Kind(), Error_Kind::Picture_Not_Valid);
        EXPECT_EQ(error.Path(), cut);
    }
}

}  // namespace
}  // namespace tilvane
