#include "mosaic/scaled_original.h"

#include <gtest/gtest.h>

#include "image/colour_operations.h"

namespace tilvane {
namespace {

// A cell of a mosaic K times the original sees what it would see on the original enlarged, each
// pixel repeated K times: an original pixel the cell covers a part of counts for that part. The
// first cells are a black | white original's under cells of 4 x 6 at K = 3: two thirds black
// and one third white, mean 63 (a pixel counted whole would give 127); the others fall across,
// along and beyond the edges of a 7 x 5 gradient's.
TEST(ScaledOriginalTest, ACellWeighsEachPixelOfTheOriginalByThePartItCovers) {
    Raster_Image black_white(2, 2);
    for (int y = 0; y < 2; ++y) {
        black_white.Set_Pixel(0, y, kBlack);
        black_white.Set_Pixel(1, y, kWhite);
    }
    Raster_Image gradient(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            gradient.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * 37), static_cast<std::uint8_t>(y * 53), static_cast<std::uint8_t>(x * y * 11)});
    struct Case {
        const Raster_Image& original;
        int scale;
        Rect cell;
        int red;  // -1: only as on the enlarged original
    };
    const Case cases[] = {
        {black_white, 3, Rect::At(0, 0, 4, 6), 63},  {black_white, 3, Rect::At(4, 0, 4, 6), 255},
        {gradient, 3, Rect::At(2, 1, 5, 5), -1},     {gradient, 3, Rect::At(19, 13, 5, 5), -1},
        {gradient, 4, Rect::At(1, 3, 1, 1), -1},     {gradient, 4, Rect::At(5, 0, 22, 3), -1},
        {gradient, 16, Rect::At(17, 9, 33, 47), -1}, {gradient, 2, Rect::At(4, 2, 6, 4), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scale << " " << c.cell.left << "," << c.cell.top);
        const Scaled_Original source(c.original, c.scale);
        Raster_Image enlarged(c.original.Width() * c.scale, c.original.Height() * c.scale);
        source.Enlarge_Into(enlarged, 0, enlarged.Height());
        Colour target;
        const int left = c.cell.left;
        source.Targets(c.cell.top, c.cell.Height(), {&left, 1}, c.cell.Width(), {&target, 1});
        EXPECT_EQ(target, Average_Colour(enlarged, c.cell));
        if (c.red >= 0) {
            EXPECT_EQ(target.red, c.red);
        }
        Cell_Look look;
        source.Look_At(c.cell, target, look);
        std::array<bool, kStructure_Grid * kStructure_Grid> visible;
        EXPECT_EQ(look.structure, Structure_Of(enlarged, c.cell, target, 1, &visible));
        EXPECT_EQ(look.visible, visible);
    }
}

}  // namespace
}  // namespace tilvane
