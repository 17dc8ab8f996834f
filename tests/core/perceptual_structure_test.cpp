#include "mosaic/perceptual_structure.h"

#include <gtest/gtest.h>

#include "image/colour_operations.h"
#include "support/random_source.h"

namespace tilvane {
namespace {

// A cell dark on its left and light on its right, in grey. Tile 0 has the same edge of
// lightness in strong hues (a dark red, a light cyan); tile 1 is an even grey. Channel by channel
// the grey is nearer; as people see it, the edge is what matters, and the colour transfer gives
// the cell's hues anyway.
TEST(PerceptualStructureTest, LightnessDecidesTheBestMatchOverHue) {
    const auto halves = [](Colour left, Colour right) {
        Raster_Image image(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) image.Set_Pixel(x, y, x < 4 ? left : right);
        return image;
    };
    const Rect whole = Rect::At(0, 0, 8, 8);
    const Raster_Image cell = halves({70, 70, 70}, {170, 170, 170});
    const Raster_Image tiles[] = {halves({160, 30, 40}, {90, 205, 200}), halves({120, 120, 120}, {120, 120, 120})};
    for (const bool perceptual : {false, true}) {
        SCOPED_TRACE(perceptual);
        std::vector<Structure> structures;
        for (const Raster_Image& tile : tiles) {
            const Colour mean = Average_Colour(tile, whole);
            structures.push_back(Structure_Of(tile, whole, mean));
            if (perceptual) structures.back() = Perceptual_Structure(structures.back(), mean);
        }
        Cell_Look look{Average_Colour(cell, whole), {}, {}, {}};
        look.structure = Structure_Of(cell, whole, look.target, 1, &look.visible);
        if (perceptual) Make_Perceptual(look);
        Twister_Random_Source random;
        const auto chooser = Make_Tile_Chooser(Tile_Choice::Best, {}, 2, random, structures);
        chooser->Find_Nearest(look);
        EXPECT_EQ(chooser->Choose(0, 0, &look), perceptual ? 0 : 1);
    }
}

}  // namespace
}  // namespace tilvane
