#include "image/raster_image.h"

#include <gtest/gtest.h>

#include "image/colour_operations.h"
#include "image/raster_drawing.h"
#include "shell/error_report.h"

namespace tilvane {
namespace {

// An image whose every pixel has a colour made from its position, so moved pixels are visible.
RasterImage numbered(int width, int height, PixelFormat format = PixelFormat::Bits24) {
    RasterImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.set_pixel(x, y, {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                   static_cast<std::uint8_t>(x * 7 + y)});
    return image;
}

TEST(ColourTest, PacksRedInTheLowestByte) {
    EXPECT_EQ((Colour{255, 0, 0}.packed()), 0x0000FFu);
    EXPECT_EQ((Colour{1, 2, 3}.packed()), 0x030201u);
    EXPECT_EQ(Colour::from_packed(0x030201), (Colour{1, 2, 3}));
}

TEST(RasterImageSizeTest, ResizeKeepsTopLeftAndFillsNewAreaWithFillColour) {
    RasterImage image = numbered(5, 4);
    image.set_width(15);
    ASSERT_EQ(image.width(), 15);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(image.pixel(x, y), numbered(5, 4).pixel(x, y));
        for (int x = 5; x < 15; ++x) EXPECT_EQ(image.pixel(x, y), kWhite) << x << "," << y;
    }
    image.set_fill_colour({10, 20, 30});
    image.set_height(6);
    EXPECT_EQ(image.pixel(14, 5), (Colour{10, 20, 30}));
    image.set_size(2, 2);
    EXPECT_EQ(image.pixel(1, 1), numbered(5, 4).pixel(1, 1));
}

TEST(RasterImageSizeTest, SettingTheSameSizeChangesNothing) {
    RasterImage image = numbered(6, 3);
    image.set_fill_colour(kBlack);
    image.set_width(6);
    image.set_height(3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(image.pixel(x, y), numbered(6, 3).pixel(x, y));
}

TEST(RasterImageFormatTest, EveryWriteIsReducedToWhatTheFormatHolds) {
    struct Case {
        PixelFormat format;
        Colour written;
        Colour read;
    };
    const Case cases[] = {
        {PixelFormat::Bits24, {1, 2, 3}, {1, 2, 3}},
        {PixelFormat::Bits32, {200, 100, 7}, {200, 100, 7}},
        // 5-bit channels: 255 -> 31 -> 255, 4 -> round(4*31/255)=0 -> 0, 13 -> 2 -> 16.
        {PixelFormat::Bits15, {255, 4, 13}, {255, 0, 16}},
        // The 6-bit green channel keeps more: 4 -> 1 -> round(255/63) = 4.
        {PixelFormat::Bits16, {255, 4, 13}, {255, 4, 16}},
        {PixelFormat::Bits1, {200, 200, 90}, kWhite},
        {PixelFormat::Bits1, {60, 20, 90}, kBlack},
        {PixelFormat::Bits4, {250, 10, 5}, {255, 0, 0}},
        {PixelFormat::Bits8, {50, 100, 155}, {51, 102, 153}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        RasterImage image(1, 1, c.format);
        image.set_pixel(0, 0, c.written);
        EXPECT_EQ(image.pixel(0, 0), c.read);
    }
}

TEST(RasterImageFormatTest, ConversionRoundsExistingPixelsAndSameFormatKeepsThem) {
    RasterImage image = numbered(8, 8);
    image.set_pixel_format(PixelFormat::Bits24);
    EXPECT_EQ(image.pixel(7, 7), numbered(8, 8).pixel(7, 7));
    image.set_pixel_format(PixelFormat::Bits15);
    EXPECT_EQ(image.pixel(7, 7), (Colour{8, 8, 58}));  // 7->1->8, 56->7->58
    EXPECT_THROW(
        {
            try {
                image.set_pixel_format(PixelFormat::Custom);
            } catch (const Error& e) {
                EXPECT_EQ(shell::Error_Text(e), "Invalid pixel format");
                throw;
            }
        },
        Error);
    EXPECT_EQ(image.pixel_format(), PixelFormat::Bits15);
}

TEST(RasterImageFormatTest, PaletteImagesHoldOnlyTableColours) {
    RasterImage image = numbered(20, 20);
    image.set_pixel_format(PixelFormat::Bits8);
    const auto& table = image.colour_table().entries();
    ASSERT_EQ(table.size(), 256u);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_NE(std::find(table.begin(), table.end(), image.pixel(x, y)), table.end());
}

TEST(CopyRectTest, CopiesOnlyPixelsThatExistOnBothSides) {
    const RasterImage small = numbered(10, 10);
    RasterImage big(30, 30);
    copy_rect(big, Rect::at(0, 0, 20, 20), small, Rect::at(0, 0, 20, 20));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            EXPECT_EQ(big.pixel(x, y), x < 10 && y < 10 ? small.pixel(x, y) : kWhite) << x << "," << y;
}

TEST(CopyRectTest, DropsWhatFallsOutsideTheDestination) {
    const RasterImage tile = numbered(30, 20);
    RasterImage mosaic(100, 50, PixelFormat::Bits24);
    copy_rect(mosaic, Rect::at(72, 40, 30, 20), tile, Rect::at(0, 0, 30, 20));
    EXPECT_EQ(mosaic.pixel(99, 49), tile.pixel(27, 9));
    EXPECT_EQ(mosaic.pixel(71, 40), kWhite);
    copy_rect(mosaic, Rect::at(-5, -5, 30, 20), tile, Rect::at(0, 0, 30, 20));
    EXPECT_EQ(mosaic.pixel(0, 0), tile.pixel(5, 5));
}

TEST(CopyRectTest, ConvertsBetweenFormats) {
    const RasterImage source = numbered(4, 4);
    RasterImage target(4, 4, PixelFormat::Bits16);
    copy_rect(target, Rect::at(0, 0, 4, 4), source, Rect::at(0, 0, 4, 4));
    EXPECT_EQ(target.pixel(3, 3), target.representable(source.pixel(3, 3)));
}

TEST(StretchDrawTest, RepeatsWhenEnlargingAndDropsWhenReducing) {
    const RasterImage two = numbered(2, 2);
    RasterImage four(4, 4);
    stretch_draw(four, Rect::at(0, 0, 4, 4), two);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(four.pixel(x, y), two.pixel(x / 2, y / 2));

    const RasterImage sixteen = numbered(4, 4);
    RasterImage reduced(2, 2);
    stretch_draw(reduced, Rect::at(0, 0, 2, 2), sixteen);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(reduced.pixel(x, y), sixteen.pixel(x * 2, y * 2));
}

TEST(StretchDrawTest, ScalesEachAxisOnItsOwn) {
    const RasterImage wide = numbered(40, 10);
    RasterImage cell(20, 20);
    stretch_draw(cell, Rect::at(0, 0, 20, 20), wide);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) EXPECT_EQ(cell.pixel(x, y), wide.pixel(2 * x, y / 2));
}

TEST(AverageColourTest, ClipsToTheImage) {
    RasterImage image(100, 10);
    for (int x = 90; x < 100; ++x)
        for (int y = 0; y < 10; ++y) image.set_pixel(x, y, {10, 20, static_cast<std::uint8_t>(x - 90)});
    // Columns 90..99 only: 100 pixels, blue averages (0+...+9)/10 = 4.5 -> 4.
    EXPECT_EQ(Average_Colour(image, {90, 0, 120, 10}), (Colour{10, 20, 4}));
}

TEST(AverageColourTest, EmptyOrOutsideRectanglesAreBlack) {
    const RasterImage image(10, 10);
    const Rect rects[] = {{20, 20, 30, 30}, {-10, -10, 0, 0}, {3, 3, 3, 8}, {3, 3, 8, 3}, {8, 8, 3, 3}};
    for (const Rect& r : rects) {
        SCOPED_TRACE(testing::Message() << r.left << "," << r.top << "," << r.right << "," << r.bottom);
        EXPECT_EQ(Average_Colour(image, r), kBlack);
    }
}

TEST(AverageColourTest, TruncatesTheMean) {
    RasterImage image(2, 1);
    image.set_pixel(0, 0, {1, 255, 0});
    image.set_pixel(1, 0, {2, 254, 1});
    EXPECT_EQ(Average_Colour(image, Rect::at(0, 0, 2, 1)), (Colour{1, 254, 0}));
    // Columns too tall for narrow sums of 255s.
    const RasterImage tall(2, 300);
    EXPECT_EQ(Average_Colour(tall, Rect::at(0, 0, 2, 300)), kWhite);
}

TEST(AlignAverageColourTest, ShiftsEachChannelAndClamps) {
    RasterImage image(3, 1);
    image.set_pixel(0, 0, {180, 30, 77});
    image.set_pixel(1, 0, {0, 255, 128});
    Align_Average_Colour(image, Rect::at(0, 0, 2, 1), {100, 100, 100}, {200, 50, 100});
    EXPECT_EQ(image.pixel(0, 0), (Colour{255, 0, 77}));
    EXPECT_EQ(image.pixel(1, 0), (Colour{100, 205, 128}));
    EXPECT_EQ(image.pixel(2, 0), kWhite);  // outside the rectangle
}

TEST(AlignAverageColourTest, EqualColoursChangeNothing) {
    RasterImage image = numbered(7, 5);
    Align_Average_Colour(image, {-3, -3, 50, 50}, {9, 9, 9}, {9, 9, 9});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(image.pixel(x, y), numbered(7, 5).pixel(x, y));
}

TEST(AlignAverageColourTest, PaletteImagesStayInTheirTable) {
    RasterImage image(4, 4, PixelFormat::Bits4);
    Align_Average_Colour(image, Rect::at(0, 0, 4, 4), kWhite, {100, 30, 200});
    EXPECT_EQ(image.pixel(0, 0), image.colour_table().nearest({100, 30, 200}));
}

}  // namespace
}  // namespace tilvane
