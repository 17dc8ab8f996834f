#include "mosaic/tile_preparation.h"

#include <gtest/gtest.h>

#include "image/colour_operations.h"
#include "image/raster_drawing.h"

namespace tilvane {
namespace {

Raster_Image uniform(int width, int height, Colour c, Pixel_Format format = Pixel_Format::Bits24) {
    Raster_Image image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.Set_Pixel(x, y, c);
    return image;
}

// Columns alternate between two colours, so which columns survive a reduction is visible.
Raster_Image striped(int width, int height) {
    Raster_Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set_Pixel(x, y, {static_cast<std::uint8_t>(x % 2 ? 100 : 40), static_cast<std::uint8_t>(y * 10), 70});
    return image;
}

void prepare(Tile_Preparer& preparer, const Raster_Image& tile, int width, int height, Fitting_Mode mode, Colour target) {
    preparer.Prepare_Fitted(Fit_Tile(tile, width, height, mode), width, height, target);
}

TEST(PrepareTileTest, ExpandShrinkDropsColumnsAndRepeatsRows) {
    const Raster_Image tile = striped(40, 10);
    Tile_Preparer preparer;
    // The tile's own mean becomes the target, so the fitted pixels come out unshifted.
    const Raster_Image expected_fit = [&] {
        Raster_Image fit(20, 20);
        Stretch_Draw(fit, Rect::At(0, 0, 20, 20), tile);
        return fit;
    }();
    const Colour mean = Average_Colour(expected_fit, Rect::At(0, 0, 20, 20));
    prepare(preparer, tile, 20, 20, Fitting_Mode::Expand_Shrink, mean);
    const Raster_Image& out = preparer.Working_Tile();
    ASSERT_EQ(out.Width(), 20);
    ASSERT_EQ(out.Height(), 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) EXPECT_EQ(out.Pixel(x, y), tile.Pixel(2 * x, y / 2));
}

TEST(PrepareTileTest, CropKeepsTheTopLeftBlockUnscaled) {
    Raster_Image tile = striped(40, 40);
    Tile_Preparer preparer;
    const Colour mean = Average_Colour(tile, Rect::At(0, 0, 20, 20));
    prepare(preparer, tile, 20, 20, Fitting_Mode::Truncate_Crop, mean);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) EXPECT_EQ(preparer.Working_Tile().Pixel(x, y), tile.Pixel(x, y));
}

TEST(PrepareTileTest, CropOfASmallFirstTileLeavesWhiteThatCountsInTheMean) {
    Tile_Preparer preparer;
    // A black 10x10 tile in a white 20x20 tile: mean (255 * 300 / 400) = 191 per channel.
    // Shifting it onto 191 keeps it as it is.
    prepare(preparer, uniform(10, 10, kBlack), 20, 20, Fitting_Mode::Truncate_Crop, {191, 191, 191});
    EXPECT_EQ(preparer.Working_Tile().Pixel(5, 5), kBlack);
    EXPECT_EQ(preparer.Working_Tile().Pixel(15, 15), kWhite);
    // Onto 91: everything moves down by 100.
    Tile_Preparer second;
    prepare(second, uniform(10, 10, kBlack), 20, 20, Fitting_Mode::Truncate_Crop, {91, 91, 91});
    EXPECT_EQ(second.Working_Tile().Pixel(5, 5), kBlack);
    EXPECT_EQ(second.Working_Tile().Pixel(15, 15), (Colour{155, 155, 155}));
}

TEST(PrepareTileTest, CropOfASmallTileKeepsThePreviousCellAroundIt) {
    Tile_Preparer preparer;
    prepare(preparer, uniform(20, 20, {10, 10, 10}), 20, 20, Fitting_Mode::Truncate_Crop, {60, 70, 80});
    prepare(preparer, uniform(10, 10, {200, 200, 200}), 20, 20, Fitting_Mode::Truncate_Crop, {60, 70, 80});
    // Mean of 100 pixels at 200 and 300 at (60,70,80) = (95, 102, 110); shift = target - mean.
    EXPECT_EQ(preparer.Working_Tile().Pixel(3, 3), (Colour{165, 168, 170}));
    EXPECT_EQ(preparer.Working_Tile().Pixel(19, 19), (Colour{25, 38, 50}));
}

TEST(PrepareTileTest, ShiftsUniformTilesOntoTheTarget) {
    struct Case {
        Colour tile;
        Colour target;
    };
    const Case cases[] = {{kBlack, {128, 128, 128}}, {kWhite, kBlack}, {{12, 200, 99}, {12, 200, 99}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tile.Packed());
        for (Fitting_Mode mode : {Fitting_Mode::Expand_Shrink, Fitting_Mode::Truncate_Crop}) {
            Tile_Preparer preparer;
            prepare(preparer, uniform(13, 7, c.tile), 13, 7, mode, c.target);
            EXPECT_EQ(preparer.Working_Tile().Pixel(0, 0), c.target);
            EXPECT_EQ(preparer.Working_Tile().Pixel(12, 6), c.target);
        }
    }
}

// A palette tile keeps its own colour table in the working tile, so at its own mean it comes
// out unchanged even where its colours are not in the standard table.
TEST(PrepareTileTest, WorkingTileTakesTheTilesFormatAndTable) {
    const std::vector<Colour> table{{7, 9, 11}, {130, 1, 250}, {64, 64, 65}};
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 16; ++i) pixels.push_back(static_cast<std::uint8_t>(i % 3));
    const Raster_Image tile = Raster_Image::From_Layout(4, 4, Pixel_Format::Bits8, Colour_Table(table), {}, 8, pixels);
    Tile_Preparer preparer;
    for (const Fitting_Mode mode : {Fitting_Mode::Expand_Shrink, Fitting_Mode::Truncate_Crop}) {
        prepare(preparer, uniform(4, 4, kWhite, Pixel_Format::Bits8), 4, 4, mode, kWhite);
        prepare(preparer, tile, 4, 4, mode, Average_Colour(tile, Rect::At(0, 0, 4, 4)));
        EXPECT_EQ(preparer.Working_Tile().Format(), Pixel_Format::Bits8);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_EQ(preparer.Working_Tile().Pixel(x, y), tile.Pixel(x, y)) << x << "," << y;
    }
}

}  // namespace
}  // namespace tilvane
