#include "mosaic/fitted_tile_cache.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "codecs/bmp/bmp_file.h"
#include "shell/error_report.h"
#include "temp_folder.h"

namespace tilvane {
namespace {

Raster_Image uniform(int width, int height, Colour c) {
    Raster_Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.Set_Pixel(x, y, c);
    return image;
}

class FittedTileCacheTest : public testing::Test {
protected:
    Fitted_Tile_Cache Cache(std::size_t budget = 1 << 20) {
        return Fitted_Tile_Cache(4, 4, Fitting_Mode::Expand_Shrink, budget, [this] { return now_; });
    }
    void Wait(int milliseconds) { now_ += std::chrono::milliseconds(milliseconds); }

    testing_support::Temp_Folder folder_;
    std::chrono::steady_clock::time_point now_{};
};

TEST_F(FittedTileCacheTest, ATileChangedOnDiskIsReadAgain) {
    const std::string path = folder_.Path("tile.bmp");
    Save_Bitmap_File(uniform(8, 8, {10, 20, 30}), path);
    Fitted_Tile_Cache cache = Cache();
    EXPECT_EQ(cache.Fitted(path)->block.Pixel(0, 0), (Colour{10, 20, 30}));
    Save_Bitmap_File(uniform(6, 2, {90, 80, 70}), path);  // another size, so the stamp surely differs
    Wait(300);
    EXPECT_EQ(cache.Fitted(path)->block.Pixel(3, 3), (Colour{90, 80, 70}));
}

TEST_F(FittedTileCacheTest, ATileThatHasGoneStopsWithTheLoadersError) {
    const std::string path = folder_.Path("tile.bmp");
    Save_Bitmap_File(uniform(8, 8, kBlack), path);
    for (std::size_t budget : {std::size_t{1} << 20, std::size_t{0}}) {  // cached, and over budget
        SCOPED_TRACE(budget);
        Save_Bitmap_File(uniform(8, 8, kBlack), path);
        Fitted_Tile_Cache cache = Cache(budget);
        cache.Fitted(path);
        std::filesystem::remove(path);
        Wait(300);
        try {
            cache.Fitted(path);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(shell::Error_Text(e), "Cannot open file " + path);
        }
    }
}

// Looks that take longer than the build between them (a busy machine, Wine's server) are held
// to a tenth of the time: a file that changes before every use is seen changed now and then,
// not at every use.
TEST_F(FittedTileCacheTest, LookingAtFilesAgainTakesATenthOfTheTimeAtMost) {
    const std::string path = folder_.Path("tile.bmp");
    Save_Bitmap_File(uniform(8, 8, kBlack), path);
    Fitted_Tile_Cache cache(4, 4, Fitting_Mode::Expand_Shrink, 1 << 20, [this] { return now_ += std::chrono::seconds(1); });
    cache.Fitted(path);
    int seen = 0;
    for (std::uint8_t round = 1; round <= 60; ++round) {
        Save_Bitmap_File(uniform(round % 2 ? 6 : 8, 2, {round, 0, 0}), path);  // another size each time
        if (cache.Fitted(path)->block.Pixel(0, 0).red == round) ++seen;
    }
    EXPECT_GE(seen, 1);
    EXPECT_LE(seen, 6);
}

TEST_F(FittedTileCacheTest, ATileThatIsNotABitmapFailsAsTheLoaderDoes) {
    const std::string path = folder_.Path("tile.bmp");
    std::ofstream(std::filesystem::path(folder_.Folder() / "tile.bmp"), std::ios::binary) << "not a picture";
    Fitted_Tile_Cache cache = Cache();
    EXPECT_THROW(cache.Fitted(path), Error);
}

}  // namespace
}  // namespace tilvane
