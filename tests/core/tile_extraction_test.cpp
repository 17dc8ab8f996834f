#include "extract/tile_extraction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "codecs/bmp/bmp_codec.h"
#include "codecs/bmp/bmp_file.h"
#include "codecs/picture_file.h"
#include "extract/extract_inputs.h"
#include "image/raster_drawing.h"
#include "image/raster_image.h"
#include "shell/error_report.h"
#include "shell/progress_text.h"
#include "support/file_io.h"
#include "temp_folder.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace tilvane {
namespace {

using testing_support::Temp_Folder;

struct Recording_Progress final : Run_Progress {
    std::vector<std::string> calls;
    int reads_before_abort = -1;  // -1: never abort
    int abort_reads = 0;

    void Initialise_Processing(int start, int minimum, int maximum) override {
        calls.push_back("Initialise " + std::to_string(start) + " " + std::to_string(minimum) + " " + std::to_string(maximum));
    }
    // What the progress dialog shows for each report.
    void Update_Processing(int row) override {
        const shell::Progress_Texts texts = shell::Row_Progress_Texts(row);
        calls.push_back(texts.major + "|" + texts.minor + "|" + std::to_string(row));
    }
    void End_Processing() override { calls.push_back("End"); }
    bool Abort_Requested() override { return reads_before_abort >= 0 && abort_reads++ >= reads_before_abort; }
};

Raster_Image Gradient(int width, int height, Pixel_Format format = Pixel_Format::Bits24) {
    Raster_Image image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * 2 + 1), static_cast<std::uint8_t>(y * 3 + 1), 200});
    return image;
}

class TileExtractionTest : public testing::Test {
protected:
    std::string Mosaic(const Raster_Image& image) {
        const std::string path = folder_.Path("mosaic.bmp");
        Save_Bitmap_File(image, path);
        return path;
    }
    std::string Tiles_Directory() {
        std::filesystem::create_directories(folder_.Folder() / "tiles");
        return folder_.Path("tiles") + "/";
    }
    std::vector<std::string> Written() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Folder() / "tiles"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    Raster_Image Tile(const std::string& name) {
        Raster_Image image;
        image = Load_Bitmap_File(folder_.Path("tiles/" + name));
        return image;
    }

    Temp_Folder folder_;
    Recording_Progress progress_;
};

TEST_F(TileExtractionTest, TheGridAndTheLimitsChooseTheTiles) {
    struct Case {
        const char* name;
        int width, height;
        Extract_Settings settings;
        std::vector<std::string> files;
    };
    const auto names = [](int columns, int rows) {
        std::vector<std::string> files;
        for (int c = 1; c <= columns; ++c)
            for (int r = 1; r <= rows; ++r) files.push_back(Extracted_Tile_Name("", c, r));
        return files;
    };
    const Case cases[] = {
        {"edge tiles that do not fit are still cut", 100, 100, {{30, 30, false, 10, 10}, Extract_Limit::All}, names(4, 4)},
        {"gaps between tiles only", 100, 100, {{30, 30, true, 10, 10}, Extract_Limit::All}, names(3, 3)},
        {"no tile starts on the edge", 60, 60, {{30, 30, false, 0, 0}, Extract_Limit::All}, names(2, 2)},
        {"first tile", 100, 100, {{30, 30, false, 0, 0}, Extract_Limit::First_Tile}, names(1, 1)},
        {"first row", 100, 100, {{30, 30, false, 0, 0}, Extract_Limit::First_Row}, names(4, 1)},
        {"first column", 100, 100, {{30, 30, false, 0, 0}, Extract_Limit::First_Column}, names(1, 4)},
        {"four-digit columns", 1200, 2, {{1, 5, false, 0, 0}, Extract_Limit::First_Row}, names(1200, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder_.Folder() / "tiles");
        Recording_Progress progress;
        Extract_Tiles(Mosaic(Gradient(c.width, c.height)), Tiles_Directory(), c.settings, progress);
        std::vector<std::string> expected = c.files;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Written(), expected);
        const Raster_Image last = Tile(expected.back());
        EXPECT_EQ(last.Width(), c.settings.tile_width);
        EXPECT_EQ(last.Height(), c.settings.tile_height);
    }
    EXPECT_EQ(Extracted_Tile_Name("D\\", 1200, 1), "D\\1200,001.bmp");
    EXPECT_EQ(Extract_Limit_From_Index(-1), Extract_Limit::All);
    EXPECT_EQ(Extract_Limit_From_Index(7), Extract_Limit::All);
}

TEST(ExtractInputsTest, NoFolderIsRefused) {
    struct Case {
        const char* directory;
        Extract_Input_Problem problem;
    };
    for (const Case& c : {Case{"", Extract_Input_Problem::Directory_Blank}, Case{" \t", Extract_Input_Problem::Directory_Blank},
                          Case{"\\", Extract_Input_Problem::Directory_Blank}, Case{"/", Extract_Input_Problem::Directory_Blank},
                          Case{"C:\\Tiles\\", Extract_Input_Problem::None}, Case{".", Extract_Input_Problem::None}}) {
        SCOPED_TRACE(c.directory);
        EXPECT_EQ(Check_Extract_Inputs(c.directory), c.problem);
    }
}

TEST_F(TileExtractionTest, TilesHoldTheMosaicsPixelsAndBlackBeyondIt) {
    // Palette mosaics keep their table, so every tile holds exactly the mosaic's pixels: the
    // same indexes too where the table repeats a colour.
    std::vector<Colour> black_then_white(8, kBlack);
    black_then_white.resize(16, kWhite);
    std::vector<std::uint8_t> indexes(25 * 17);
    for (std::size_t i = 0; i < indexes.size(); ++i) indexes[i] = static_cast<std::uint8_t>(i % 16);
    const Raster_Image mosaics[] = {
        Gradient(25, 17), Gradient(25, 17, Pixel_Format::Bits8), Gradient(25, 17, Pixel_Format::Bits16),
        Raster_Image::From_Layout(25, 17, Pixel_Format::Bits8, Colour_Table(black_then_white), {}, 8, indexes)};
    for (const Raster_Image& mosaic : mosaics) {
        const Pixel_Format format = mosaic.Format();
        SCOPED_TRACE(static_cast<int>(format));
        std::filesystem::remove_all(folder_.Folder() / "tiles");
        Extract_Tiles(Mosaic(mosaic), Tiles_Directory(), {{10, 10, true, 2, 1}, Extract_Limit::All}, progress_);
        ASSERT_EQ(Written().size(), 6u);
        for (int row = 1; row <= 2; ++row)
            for (int column = 1; column <= 3; ++column) {
                const Raster_Image tile = Tile(Extracted_Tile_Name("", column, row));
                EXPECT_EQ(tile.Format(), format);
                EXPECT_EQ(tile.Table().Entries(), mosaic.Table().Entries());
                for (int y = 0; y < 10; ++y)
                    for (int x = 0; x < 10; ++x) {
                        const int mx = (column - 1) * 12 + x, my = (row - 1) * 11 + y;
                        const bool inside = mx < 25 && my < 17;
                        const Colour expected = inside ? mosaic.Pixel(mx, my) : mosaic.Representable(kBlack);
                        ASSERT_EQ(tile.Pixel(x, y), expected) << column << "," << row << " at " << x << "," << y;
                        if (inside && tile.Index_Row(y)) {
                            ASSERT_EQ(tile.Index_Row(y)[x], mosaic.Index_Row(my)[mx]) << column << "," << row << " at " << x << "," << y;
                        }
                    }
            }
    }
}

// The mosaic is read in bands (or whole where its file cannot be): every format's tiles are the
// bytes of tiles cut from the picture read whole.
TEST_F(TileExtractionTest, TilesOfEveryFormatAreThoseOfThePictureReadWhole) {
    const std::string bmp = TILVANE_BMP_FIXTURES, png = TILVANE_PNG_FIXTURES, jpeg = TILVANE_JPEG_FIXTURES;
    const std::string mosaics[] = {bmp + "/info_8_short_table.bmp", bmp + "/info_4_top_down.bmp", bmp + "/os2_rle4.bmp",
                                   bmp + "/info_565.bmp", png + "/rgb_16.png", png + "/rgba_8_interlaced.png",
                                   jpeg + "/progressive.jpg", jpeg + "/exif_rotated.jpg"};
    const Extract_Settings settings{{7, 5, true, 1, 2}, Extract_Limit::All};
    for (const std::string& path : mosaics) {
        SCOPED_TRACE(path);
        std::filesystem::remove_all(folder_.Folder() / "tiles");
        Extract_Tiles(path, Tiles_Directory(), settings, progress_, Picture_Formats::By_Extension);
        Raster_Image whole = Load_Picture(path);
        whole.Set_Fill_Colour(kBlack);
        std::size_t tiles = 0;
        for (int y = 0, row = 1; y < whole.Height(); y += settings.Step_Y(), ++row)
            for (int x = 0, column = 1; x < whole.Width(); x += settings.Step_X(), ++column, ++tiles) {
                Raster_Image tile = whole.Blank_With_Layout(7, 5);
                Copy_Rect(tile, Rect::At(0, 0, 7, 5), whole, Rect::At(x, y, 7, 5));
                ASSERT_EQ(Read_Whole_File(folder_.Path("tiles/" + Extracted_Tile_Name("", column, row))), Encode_Bmp(tile))
                    << column << "," << row;
            }
        EXPECT_EQ(Written().size(), tiles);
    }
}

TEST_F(TileExtractionTest, ReportsEachRowAndStopsAtAnAbort) {
    const std::string mosaic = Mosaic(Gradient(100, 100));
    // The vertical gap counts in the maximum even with the gap switch off.
    Extract_Tiles(mosaic, Tiles_Directory(), {{30, 40, false, 0, 7}, Extract_Limit::All}, progress_);
    EXPECT_EQ(progress_.calls, (std::vector<std::string>{"Initialise 0 0 147", "Processing Column at Pixel : 40|40|40",
                                                         "Processing Column at Pixel : 80|80|80",
                                                         "Processing Column at Pixel : 120|120|120", "End"}));

    Recording_Progress first_row;
    Extract_Tiles(mosaic, Tiles_Directory(), {{30, 40, false, 0, 0}, Extract_Limit::First_Row}, first_row);
    EXPECT_EQ(first_row.calls[1], "Processing Column at Pixel : 100|100|100");

    // The flag is read before each row and each tile: abort at the second tile of row 2.
    std::filesystem::remove_all(folder_.Folder() / "tiles");
    Recording_Progress aborted;
    aborted.reads_before_abort = 1 + 4 + 1 + 1;
    Extract_Tiles(mosaic, Tiles_Directory(), {{30, 40, false, 0, 0}, Extract_Limit::All}, aborted);
    EXPECT_EQ(Written(), (std::vector<std::string>{"001,001.bmp", "001,002.bmp", "002,001.bmp", "003,001.bmp", "004,001.bmp"}));
    EXPECT_EQ(aborted.calls.back(), "End");
}

TEST_F(TileExtractionTest, FailuresStopTheRunAndKeepWhatWasWritten) {
    const std::string directory = Tiles_Directory();
    try {
        Extract_Tiles(folder_.Path("missing.bmp"), directory, {10, 10}, progress_);
        FAIL() << "a missing mosaic must fail";
    } catch (const Error& e) {
        EXPECT_EQ(e.Kind(), Error_Kind::Cannot_Open);
    }
    EXPECT_TRUE(progress_.calls.empty()) << "nothing starts before the mosaic is loaded";

    // A tile file that cannot be created: a folder stands where the second tile would go.
    const std::string mosaic = Mosaic(Gradient(30, 10));
    std::filesystem::create_directory(folder_.Folder() / "tiles" / "002,001.bmp");
    try {
        Extract_Tiles(mosaic, directory, {10, 10}, progress_);
        FAIL() << "the second tile must fail";
    } catch (const Error& e) {
        EXPECT_EQ(shell::Error_Text(e), "Cannot create file " + directory + "002,001.bmp");
    }
    EXPECT_EQ(Written(), (std::vector<std::string>{"001,001.bmp", "002,001.bmp"}));
    EXPECT_NE(progress_.calls.back(), "End");

    // An existing tile file is replaced.
    std::filesystem::remove(folder_.Folder() / "tiles" / "002,001.bmp");
    Write_File_Atomically(directory + "001,001.bmp", std::vector<std::uint8_t>{'o', 'l', 'd'});
    Extract_Tiles(mosaic, directory, {10, 10}, progress_);
    EXPECT_EQ(Tile("001,001.bmp").Pixel(9, 9), Gradient(30, 10).Pixel(9, 9));
    EXPECT_EQ(Written().size(), 3u);
}

#ifndef _WIN32
// A disk that fills up in the middle of a tile: the tile file is removed, not left half written.
TEST_F(TileExtractionTest, AWriteThatFailsPartWayLeavesNoFile) {
    const std::string path = folder_.Path("tile.bmp");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &limited);
    const std::vector<std::uint8_t> bytes(1000, 7);
    EXPECT_THROW(Write_File_New_Or_Replacing(path, bytes), Error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_FALSE(std::filesystem::exists(path));
}
#endif

}  // namespace
}  // namespace tilvane
