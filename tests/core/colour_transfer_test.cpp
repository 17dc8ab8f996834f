#include "mosaic/colour_transfer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>

#include "image/colour_operations.h"
#include "image/oklab.h"

namespace tilvane {
namespace {

constexpr int kSide = 8;

Raster_Image Painted(int width, int height, const std::function<Colour(int, int)>& colour) {
    Raster_Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.Set_Pixel(x, y, colour(x, y));
    return image;
}

std::array<std::uint64_t, 3> Sums(const Raster_Image& image, Rect r, int scale = 1) {
    std::array<std::uint64_t, 3> sums{};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const Colour c = image.Pixel(x / scale, y / scale);
            sums[0] += c.red, sums[1] += c.green, sums[2] += c.blue;
        }
    return sums;
}

Oklab Lab_Of(Colour c) {
    const std::uint8_t bgr[3] = {c.blue, c.green, c.red};
    return Oklab_Of(bgr);
}

// The mean of part of a picture in Oklab.
Oklab Mean_Lab(const Raster_Image& image, Rect r) {
    Oklab sum{0, 0, 0};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const Oklab c = Lab_Of(image.Pixel(x, y));
            sum.l += c.l, sum.a += c.a, sum.b += c.b;
        }
    const auto n = static_cast<float>(r.Width() * r.Height());
    return {sum.l / n, sum.a / n, sum.b / n};
}

Colour Grey(int v) { return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v)}; }

// A grey tile, light on its left half and dark on its right, with a green mark in the middle.
Colour Marked_Tile(int x, int y) {
    if (x >= 3 && x < 5 && y >= 3 && y < 5) return {40, 200, 40};
    return Grey(x < kSide / 2 ? 170 : 90);
}

TEST(ColourCellTest, EveryWayKeepsTheSumsOfTheOriginalUnderTheCellExactly) {
    const std::function<Colour(int, int)> tiles[] = {
        Marked_Tile,
        [](int x, int y) { return (x + y) % 2 ? kWhite : kBlack; },  // every pixel at a bound
        [](int x, int y) { return Colour{static_cast<std::uint8_t>(30 * x), static_cast<std::uint8_t>(255 - 9 * y), 255}; },
        [](int, int) { return kWhite; },
    };
    const std::function<Colour(int, int)> cells[] = {
        [](int, int) { return Colour{20, 60, 200}; },
        [](int, int) { return Grey(252); },  // the tile's dark pixels must carry the whole cell
        [](int x, int) { return Grey(x == 0 ? 9 : 0); },
        [](int x, int y) { return Colour{static_cast<std::uint8_t>(31 * x), static_cast<std::uint8_t>(17 * y), 128}; },
    };
    const std::pair<Tile_Colour, int> ways[] = {
        {Tile_Colour::Transfer, 0}, {Tile_Colour::Transfer, 35}, {Tile_Colour::Shift, 20}, {Tile_Colour::Shift, 100}};
    for (std::size_t t = 0; t < std::size(tiles); ++t)
        for (std::size_t c = 0; c < std::size(cells); ++c)
            for (const auto& [colour, blend] : ways)
                for (int scale : {1, 2}) {
                    SCOPED_TRACE(testing::Message() << "tile " << t << ", cell " << c << ", transfer "
                                                    << (colour == Tile_Colour::Transfer) << ", blend " << blend << ", scale " << scale);
                    // The cell lies one cell in and hangs over the mosaic's right edge by half.
                    const Raster_Image tile = Painted(kSide, kSide, tiles[t]);
                    const Raster_Image original = Painted(3 * kSide / 2 / scale + 1, 2 * kSide / scale, [&](int x, int y) {
                        return x * scale >= kSide ? cells[c](x * scale - kSide, y * scale) : Grey(77);
                    });
                    Raster_Image mosaic = scale == 1 ? original : Painted(original.Width() * 2, original.Height() * 2, [](int, int) { return kBlack; });
                    const Rect cell = Rect::At(kSide, 0, kSide, kSide);
                    Colour_Cell(mosaic, cell, tile, scale == 1 ? mosaic : original, scale, colour, blend);
                    const Rect drawn = Clip_To(cell, mosaic.Width(), mosaic.Height());
                    EXPECT_EQ(Sums(mosaic, drawn), Sums(original, drawn, scale));
                    if (blend != 100) continue;  // the original itself:
                    for (int y = drawn.top; y < drawn.bottom; ++y)
                        for (int x = drawn.left; x < drawn.right; ++x)
                            ASSERT_EQ(mosaic.Pixel(x, y), original.Pixel(x / scale, y / scale)) << x << "," << y;
                }
}

// Clamping a large cell takes a few passes over it, not one per pixel it pins: this one would
// otherwise take many minutes.
TEST(ColourCellTest, ALargeCellThatClipsSettlesItsSumsInFewPasses) {
    constexpr int kLarge = 300;
    const Raster_Image tile = Painted(kLarge, kLarge, [](int x, int y) { return Grey((x * 7 + y * 3) % 256); });
    Raster_Image mosaic = Painted(kLarge, kLarge, [](int x, int) { return Grey(x % 3 ? 255 : 240); });
    const Raster_Image original = mosaic;
    const Rect whole = Rect::At(0, 0, kLarge, kLarge);
    Colour_Cell(mosaic, whole, tile, mosaic, 1, Tile_Colour::Transfer, 30);
    EXPECT_EQ(Sums(mosaic, whole), Sums(original, whole));
}

TEST(ColourCellTest, TransferKeepsTheTilesLightnessAndTakesTheCellsHues) {
    const Raster_Image tile = Painted(kSide, kSide, Marked_Tile);
    const Colour blue{30, 60, 190};
    const Rect whole = Rect::At(0, 0, kSide, kSide), mark = Rect::At(3, 3, 2, 2);
    const Rect light = Rect::At(0, 0, kSide / 2, kSide), dark = Rect::At(kSide / 2, 0, kSide / 2, kSide);
    Raster_Image transferred = Painted(kSide, kSide, [&](int, int) { return blue; });
    Raster_Image shifted = transferred;
    Colour_Cell(transferred, whole, tile, transferred, 1, Tile_Colour::Transfer, 0);
    Shift_Colours(shifted, whole, tile, 0, 0, Average_Colour(tile, whole), blue);

    // The mark takes the blue's hue; the plain shift leaves it green.
    const auto hue_distance = [&](const Raster_Image& image) {
        const Oklab m = Mean_Lab(image, mark);
        return std::abs(m.a - Lab_Of(blue).a) + std::abs(m.b - Lab_Of(blue).b);
    };
    EXPECT_LT(hue_distance(transferred), 0.02f);
    EXPECT_GT(hue_distance(shifted), 0.2f);
    const Colour mark_colour = transferred.Pixel(3, 3);
    EXPECT_GT(mark_colour.blue, mark_colour.green);

    // The light half stays as much lighter than the dark one as it was on the tile.
    const auto contrast = [&](const Raster_Image& image) { return Mean_Lab(image, light).l - Mean_Lab(image, dark).l; };
    EXPECT_NEAR(contrast(transferred), contrast(tile), 0.1f * contrast(tile));
}

}  // namespace
}  // namespace tilvane
