#include "image/raster_image.h"

#include <gtest/gtest.h>

#include "image/colour_operations.h"
#include "image/raster_drawing.h"
#include "shell/error_report.h"

namespace tilvane {
namespace {

// An image whose every pixel has a colour made from its position, so moved pixels are visible.
Raster_Image numbered(int width, int height, Pixel_Format format = Pixel_Format::Bits24) {
    Raster_Image image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set_Pixel(x, y, {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                   static_cast<std::uint8_t>(x * 7 + y)});
    return image;
}

TEST(ColourTest, PacksRedInTheLowestByte) {
    EXPECT_EQ((Colour{255, 0, 0}.Packed()), 0x0000FFu);
    EXPECT_EQ((Colour{1, 2, 3}.Packed()), 0x030201u);
    EXPECT_EQ(Colour::From_Packed(0x030201), (Colour{1, 2, 3}));
}

TEST(RasterImageSizeTest, ResizeKeepsTopLeftAndFillsNewAreaWithFillColour) {
    Raster_Image image = numbered(5, 4);
    image.Set_Width(15);
    ASSERT_EQ(image.Width(), 15);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(image.Pixel(x, y), numbered(5, 4).Pixel(x, y));
        for (int x = 5; x < 15; ++x) EXPECT_EQ(image.Pixel(x, y), kWhite) << x << "," << y;
    }
    image.Set_Fill_Colour({10, 20, 30});
    image.Set_Height(6);
    EXPECT_EQ(image.Pixel(14, 5), (Colour{10, 20, 30}));
    image.Set_Size(2, 2);
    EXPECT_EQ(image.Pixel(1, 1), numbered(5, 4).Pixel(1, 1));
}

TEST(RasterImageSizeTest, SettingTheSameSizeChangesNothing) {
    Raster_Image image = numbered(6, 3);
    image.Set_Fill_Colour(kBlack);
    image.Set_Width(6);
    image.Set_Height(3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(image.Pixel(x, y), numbered(6, 3).Pixel(x, y));
}

TEST(RasterImageFormatTest, EveryWriteIsReducedToWhatTheFormatHolds) {
    struct Case {
        Pixel_Format format;
        Colour written;
        Colour read;
    };
    const Case cases[] = {
        {Pixel_Format::Bits24, {1, 2, 3}, {1, 2, 3}},
        {Pixel_Format::Bits32, {200, 100, 7}, {200, 100, 7}},
        // 5-bit channels: 255 -> 31 -> 255, 4 -> round(4*31/255)=0 -> 0, 13 -> 2 -> 16.
        {Pixel_Format::Bits15, {255, 4, 13}, {255, 0, 16}},
        // The 6-bit green channel keeps more: 4 -> 1 -> round(255/63) = 4.
        {Pixel_Format::Bits16, {255, 4, 13}, {255, 4, 16}},
        {Pixel_Format::Bits1, {200, 200, 90}, kWhite},
        {Pixel_Format::Bits1, {60, 20, 90}, kBlack},
        {Pixel_Format::Bits4, {250, 10, 5}, {255, 0, 0}},
        {Pixel_Format::Bits8, {50, 100, 155}, {51, 102, 153}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        Raster_Image image(1, 1, c.format);
        image.Set_Pixel(0, 0, c.written);
        EXPECT_EQ(image.Pixel(0, 0), c.read);
    }
}

TEST(RasterImageFormatTest, ConversionRoundsExistingPixelsAndSameFormatKeepsThem) {
    Raster_Image image = numbered(8, 8);
    image.Set_Format(Pixel_Format::Bits24);
    EXPECT_EQ(image.Pixel(7, 7), numbered(8, 8).Pixel(7, 7));
    image.Set_Format(Pixel_Format::Bits15);
    EXPECT_EQ(image.Pixel(7, 7), (Colour{8, 8, 58}));  // 7->1->8, 56->7->58
    EXPECT_THROW(
        {
            try {
                image.Set_Format(Pixel_Format::Custom);
            } catch (const Error& e) {
                EXPECT_EQ(shell::Error_Text(e), "Invalid pixel format");
                throw;
            }
        },
        Error);
    EXPECT_EQ(image.Format(), Pixel_Format::Bits15);
}

TEST(RasterImageFormatTest, PaletteImagesHoldOnlyTableColours) {
    Raster_Image image = numbered(20, 20);
    image.Set_Format(Pixel_Format::Bits8);
    const auto& table = image.Table().Entries();
    ASSERT_EQ(table.size(), 256u);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_NE(std::find(table.begin(), table.end(), image.Pixel(x, y)), table.end());
}

TEST(CopyRectTest, CopiesOnlyPixelsThatExistOnBothSides) {
    const Raster_Image small = numbered(10, 10);
    Raster_Image big(30, 30);
    Copy_Rect(big, Rect::At(0, 0, 20, 20), small, Rect::At(0, 0, 20, 20));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            EXPECT_EQ(big.Pixel(x, y), x < 10 && y < 10 ? small.Pixel(x, y) : kWhite) << x << "," << y;
}

TEST(CopyRectTest, DropsWhatFallsOutsideTheDestination) {
    const Raster_Image tile = numbered(30, 20);
    Raster_Image mosaic(100, 50, Pixel_Format::Bits24);
    Copy_Rect(mosaic, Rect::At(72, 40, 30, 20), tile, Rect::At(0, 0, 30, 20));
    EXPECT_EQ(mosaic.Pixel(99, 49), tile.Pixel(27, 9));
    EXPECT_EQ(mosaic.Pixel(71, 40), kWhite);
    Copy_Rect(mosaic, Rect::At(-5, -5, 30, 20), tile, Rect::At(0, 0, 30, 20));
    EXPECT_EQ(mosaic.Pixel(0, 0), tile.Pixel(5, 5));
}

TEST(CopyRectTest, ConvertsBetweenFormats) {
    const Raster_Image source = numbered(4, 4);
    Raster_Image target(4, 4, Pixel_Format::Bits16);
    Copy_Rect(target, Rect::At(0, 0, 4, 4), source, Rect::At(0, 0, 4, 4));
    EXPECT_EQ(target.Pixel(3, 3), target.Representable(source.Pixel(3, 3)));
}

TEST(StretchDrawTest, RepeatsWhenEnlargingAndDropsWhenReducing) {
    const Raster_Image two = numbered(2, 2);
    Raster_Image four(4, 4);
    Stretch_Draw(four, Rect::At(0, 0, 4, 4), two);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(four.Pixel(x, y), two.Pixel(x / 2, y / 2));

    const Raster_Image sixteen = numbered(4, 4);
    Raster_Image reduced(2, 2);
    Stretch_Draw(reduced, Rect::At(0, 0, 2, 2), sixteen);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(reduced.Pixel(x, y), sixteen.Pixel(x * 2, y * 2));
}

TEST(StretchDrawTest, ScalesEachAxisOnItsOwn) {
    const Raster_Image wide = numbered(40, 10);
    Raster_Image cell(20, 20);
    Stretch_Draw(cell, Rect::At(0, 0, 20, 20), wide);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) EXPECT_EQ(cell.Pixel(x, y), wide.Pixel(2 * x, y / 2));
}

TEST(AverageColourTest, ClipsToTheImage) {
    Raster_Image image(100, 10);
    for (int x = 90; x < 100; ++x)
        for (int y = 0; y < 10; ++y) image.Set_Pixel(x, y, {10, 20, static_cast<std::uint8_t>(x - 90)});
    // Columns 90..99 only: 100 pixels, blue averages (0+...+9)/10 = 4.5 -> 4.
    EXPECT_EQ(Average_Colour(image, {90, 0, 120, 10}), (Colour{10, 20, 4}));
}

TEST(AverageColourTest, EmptyOrOutsideRectanglesAreBlack) {
    const Raster_Image image(10, 10);
    const Rect rects[] = {{20, 20, 30, 30}, {-10, -10, 0, 0}, {3, 3, 3, 8}, {3, 3, 8, 3}, {8, 8, 3, 3}};
    for (const Rect& r : rects) {
        SCOPED_TRACE(testing::Message() << r.left << "," << r.top << "," << r.right << "," << r.bottom);
        EXPECT_EQ(Average_Colour(image, r), kBlack);
    }
}

TEST(AverageColourTest, TruncatesTheMean) {
    Raster_Image image(2, 1);
    image.Set_Pixel(0, 0, {1, 255, 0});
    image.Set_Pixel(1, 0, {2, 254, 1});
    EXPECT_EQ(Average_Colour(image, Rect::At(0, 0, 2, 1)), (Colour{1, 254, 0}));
    // Columns too tall for narrow sums of 255s.
    const Raster_Image tall(2, 300);
    EXPECT_EQ(Average_Colour(tall, Rect::At(0, 0, 2, 300)), kWhite);
}

TEST(AlignAverageColourTest, ShiftsEachChannelAndClamps) {
    Raster_Image image(3, 1);
    image.Set_Pixel(0, 0, {180, 30, 77});
    image.Set_Pixel(1, 0, {0, 255, 128});
    Align_Average_Colour(image, Rect::At(0, 0, 2, 1), {100, 100, 100}, {200, 50, 100});
    EXPECT_EQ(image.Pixel(0, 0), (Colour{255, 0, 77}));
    EXPECT_EQ(image.Pixel(1, 0), (Colour{100, 205, 128}));
    EXPECT_EQ(image.Pixel(2, 0), kWhite);  // outside the rectangle
}

TEST(AlignAverageColourTest, EqualColoursChangeNothing) {
    Raster_Image image = numbered(7, 5);
    Align_Average_Colour(image, {-3, -3, 50, 50}, {9, 9, 9}, {9, 9, 9});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(image.Pixel(x, y), numbered(7, 5).Pixel(x, y));
}

TEST(AlignAverageColourTest, PaletteImagesStayInTheirTable) {
    Raster_Image image(4, 4, Pixel_Format::Bits4);
    Align_Average_Colour(image, Rect::At(0, 0, 4, 4), kWhite, {100, 30, 200});
    EXPECT_EQ(image.Pixel(0, 0), image.Table().Nearest({100, 30, 200}));
}

}  // namespace
}  // namespace tilvane
