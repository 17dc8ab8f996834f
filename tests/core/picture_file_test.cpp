#include <gtest/gtest.h>

#include <cstdlib>

#include "codecs/picture_file.h"
#include "shell/error_report.h"
#include "temp_folder.h"

namespace tilvane {
namespace {

using testing_support::Temp_Folder;

// Four flat quadrants, which a JPEG keeps within a few levels away from their edges.
constexpr Colour kQuadrants[4] = {{200, 30, 40}, {20, 180, 60}, {30, 40, 220}, {240, 240, 20}};

Raster_Image quadrants(int width, int height) {
    Raster_Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.Set_Pixel(x, y, kQuadrants[(y >= height / 2) * 2 + (x >= width / 2)]);
    return image;
}

bool near(Colour a, Colour b) {
    return std::abs(a.red - b.red) <= 8 && std::abs(a.green - b.green) <= 8 && std::abs(a.blue - b.blue) <= 8;
}

TEST(PictureFile, FormatIsChosenByExtension) {
    const struct {
        const char* path;
        std::string format;  // its name; empty for none
    } cases[] = {
        {"a.bmp", "BMP"},  {"dir/A.BMP", "BMP"}, {"photo.JPG", "JPEG"}, {"photo.jpeg", "JPEG"}, {"a.Png", "PNG"},
        {"photo.gif", ""}, {"photo", ""},        {"dir.jpg/photo", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const Picture_Format* format = Format_For_Path(c.path);
        EXPECT_EQ(format ? format->name : "", c.format);
    }
}

TEST(PictureFile, JpegRoundTripAndScaledLoads) {
    const Temp_Folder temp;
    const std::string path = temp.Path("q.jpg");
    Save_Picture(path, quadrants(64, 48));

    // The smallest eighth of 64x48 that covers the hint.
    const struct {
        Load_Hint hint;
        int width, height;
    } cases[] = {{{0, 0}, 64, 48}, {{8, 6}, 8, 6}, {{10, 1}, 16, 12}, {{16, 12}, 16, 12}, {{17, 1}, 24, 18},
                 {{1, 47}, 64, 48}, {{500, 500}, 64, 48}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.hint.min_width << "x" << c.hint.min_height);
        const Raster_Image image = Load_Picture(path, c.hint);
        ASSERT_EQ(image.Width(), c.width);
        ASSERT_EQ(image.Height(), c.height);
        for (int q = 0; q < 4; ++q)
            EXPECT_PRED2(near, image.Pixel((q % 2 * 2 + 1) * c.width / 4, (q / 2 * 2 + 1) * c.height / 4), kQuadrants[q]);
    }
}

TEST(PictureFile, UnknownExtensionIsRefusedBeforeAnythingIsWritten) {
    const Temp_Folder temp;
    const std::string path = temp.Path("q.gif");
    try {
        Save_Picture(path, quadrants(4, 4));
        FAIL() << "saved";
    } catch (const Error& e) {
        EXPECT_EQ(shell::Error_Text(e), "Unknown picture file extension (.gif)");
    }
    EXPECT_TRUE(temp.Names().empty());
}

}  // namespace
}  // namespace tilvane
