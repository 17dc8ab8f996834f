#include "mosaic/mosaic_build.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "bmp_builder.h"
#include "codecs/bmp/bmp_codec.h"
#include "codecs/bmp/bmp_file.h"
#include "image/colour_operations.h"
#include "image/raster_drawing.h"
#include "mosaic/placements_file.h"
#include "mosaic/scaled_original.h"
#include "shell/error_report.h"
#include "shell/progress_text.h"
#include "support/file_io.h"
#include "temp_folder.h"

namespace tilvane {
namespace {

using testing_support::Temp_Folder;

struct Recording_Progress final : Run_Progress {
    std::vector<std::string> calls;
    std::vector<int> values;
    int cells_before_abort = -1;  // -1: never abort
    int abort_reads = 0;

    void Initialise_Processing(int start, int minimum, int maximum) override {
        calls.push_back("Initialise " + std::to_string(start) + " " + std::to_string(minimum) + " " + std::to_string(maximum));
    }
    // What the progress dialog shows for each report.
    void Update_Processing(int row) override {
        const shell::Progress_Texts texts = shell::Row_Progress_Texts(row);
        calls.push_back(texts.major + "|" + texts.minor);
        values.push_back(row);
    }
    void Update_Reading(int done, int count) override {
        const shell::Progress_Texts texts = shell::Reading_Progress_Texts(done, count);
        calls.push_back(texts.major + "|" + texts.minor);
    }
    void End_Processing() override { calls.push_back("End"); }
    bool Abort_Requested() override { return cells_before_abort >= 0 && abort_reads++ >= cells_before_abort; }
};

// Draws 0, 1, 2, ... in turn, wrapping at the list's size, so each cell's tile is known; or
// whatever pick says for the n-th draw.
struct Cycling_Random final : Random_Source {
    int next = 0;
    std::function<int(int n, int count)> pick = [](int n, int count) { return n % count; };
    void Seed(std::uint64_t) override {}
    int Uniform_Below(int count) override { return pick(next++, count); }
};

Raster_Image filled(int width, int height, const std::function<Colour(int, int)>& colour,
                   Pixel_Format format = Pixel_Format::Bits24) {
    Raster_Image image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.Set_Pixel(x, y, colour(x, y));
    return image;
}

Colour gradient(int x, int y) {
    return {static_cast<std::uint8_t>(x * 2), static_cast<std::uint8_t>(y * 3), static_cast<std::uint8_t>((x + y) % 256)};
}

class MosaicBuildTest : public testing::Test {
protected:
    std::string Save(const std::string& name, const Raster_Image& image) {
        const std::string path = folder_.Path(name);
        Save_Bitmap_File(image, path);
        return path;
    }
    Raster_Image Load(const std::string& path) {
        Raster_Image image;
        image = Load_Bitmap_File(path);
        return image;
    }
    // The mosaic made the plain way: every cell's tile prepared from its file and copied in.
    Raster_Image Reference_Mosaic(const std::string& original, const std::vector<std::string>& tiles,
                                 const Mosaic_Settings& settings, const std::function<int(int, int)>& pick) {
        Raster_Image expected = Load(original);
        Tile_Preparer preparer;
        const int w = settings.tile_width, h = settings.tile_height;
        int draw = 0;
        for (int y = 0; y < expected.Height(); y += settings.Step_Y())
            for (int x = 0; x < expected.Width(); x += settings.Step_X()) {
                const Rect cell = Rect::At(x, y, w, h);
                const std::string& tile = tiles[static_cast<std::size_t>(pick(draw++, static_cast<int>(tiles.size())))];
                preparer.Prepare_Tile(tile, w, h, settings.mode, Average_Colour(expected, cell));
                Copy_Rect(expected, cell, preparer.Working_Tile(), Rect::At(0, 0, w, h));
            }
        return expected;
    }
    static void Expect_Same_Pixels(const Raster_Image& built, const Raster_Image& expected) {
        ASSERT_EQ(built.Width(), expected.Width());
        ASSERT_EQ(built.Height(), expected.Height());
        for (int y = 0; y < expected.Height(); ++y)
            for (int x = 0; x < expected.Width(); ++x) ASSERT_EQ(built.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
    }

    Temp_Folder folder_;
    Recording_Progress progress_;
    Cycling_Random random_;
};

TEST_F(MosaicBuildTest, ReportsEveryRowAgainstTheMaximum) {
    const std::string original = Save("original.bmp", filled(100, 100, gradient));
    const std::vector<std::string> tiles{Save("tile.bmp", filled(7, 9, gradient))};
    Build_Mosaic({original, tiles, folder_.Path("out.bmp"), {{20, 20, false, 0, 3}, Fitting_Mode::Expand_Shrink}}, random_, progress_);
    EXPECT_EQ(progress_.calls,
              (std::vector<std::string>{"Initialise 0 0 123", "Processing Column at Pixel : 20|20",
                                        "Processing Column at Pixel : 40|40", "Processing Column at Pixel : 60|60",
                                        "Processing Column at Pixel : 80|80", "Processing Column at Pixel : 100|100",
                                        "End"}));
    EXPECT_EQ(random_.next, 25);
}

TEST_F(MosaicBuildTest, GapsAndUnreachedPixelsKeepTheOriginal) {
    const Raster_Image source = filled(100, 50, gradient);
    const std::string original = Save("original.bmp", source);
    const std::vector<std::string> tiles{Save("tile.bmp", filled(30, 20, [](int, int) { return Colour{200, 10, 10}; }))};
    struct Case {
        bool gap;
        std::vector<int> kept_columns;
        std::vector<int> kept_rows;
        int cells;
        std::vector<int> row_values;
    };
    const Case cases[] = {
        {true, {30, 35, 66, 71}, {20, 25, 46, 49}, 6, {26, 52}},
        {false, {}, {}, 12, {20, 40, 60}},  // gap values set but not used
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gap);
        Recording_Progress progress;
        Cycling_Random random;
        const std::string output = folder_.Path("out.bmp");
        Build_Mosaic({original, tiles, output, {{30, 20, c.gap, 6, 6}, Fitting_Mode::Expand_Shrink}}, random, progress);
        const Raster_Image mosaic = Load(output);
        ASSERT_EQ(mosaic.Width(), 100);
        ASSERT_EQ(mosaic.Height(), 50);
        EXPECT_EQ(progress.calls.front(), "Initialise 0 0 76");
        EXPECT_EQ(progress.values, c.row_values);
        EXPECT_EQ(random.next, c.cells);
        for (int x : c.kept_columns) EXPECT_EQ(mosaic.Pixel(x, 5), source.Pixel(x, 5)) << x;
        for (int y : c.kept_rows) EXPECT_EQ(mosaic.Pixel(5, y), source.Pixel(5, y)) << y;
        // A drawn cell is a uniform tile shifted onto the cell's mean: uniform too.
        EXPECT_EQ(mosaic.Pixel(0, 0), mosaic.Pixel(29, 19));
        EXPECT_EQ(mosaic.Pixel(99, 0), mosaic.Pixel(c.gap ? 72 : 90, 0));
    }
}

// At scale 3 a 10 x 8 original gives a 30 x 24 mosaic in cells of 5 x 5 of the mosaic; a cell
// takes the mean of the enlarged original under it, and what no cell covers (gaps, the rows
// an abort leaves) shows the original enlarged. The record names every drawn cell.
TEST_F(MosaicBuildTest, AScaledMosaicTakesItsTargetsFromTheOriginalUnderTheCell) {
    const Raster_Image source = filled(10, 8, gradient);
    const std::string original = Save("original.bmp", source);
    const std::vector<std::string> tiles{Save("tile.bmp", filled(4, 4, [](int, int) { return Colour{9, 9, 9}; }))};
    Raster_Image enlarged(30, 24);
    Scaled_Original(source, 3).Enlarge_Into(enlarged, 0, 24);
    struct Case {
        bool gap;
        int cells_before_abort;
        std::size_t drawn;
    };
    const Case cases[] = {{false, -1, 30}, {true, -1, 20}, {false, 7 + 3, 8}};  // the last aborts in the second row
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.gap << " " << c.cells_before_abort);
        Mosaic_Settings settings{{5, 5, c.gap, 1, 1}, Fitting_Mode::Expand_Shrink};
        settings.scale = 3;
        Recording_Progress progress;
        progress.cells_before_abort = c.cells_before_abort;
        std::vector<Tile_Placement> placements;
        Build_Mosaic({original, tiles, folder_.Path("out.bmp"), settings}, random_, progress, {.placements = &placements});
        const Raster_Image mosaic = Load(folder_.Path("out.bmp"));
        ASSERT_EQ(mosaic.Width(), 30);
        ASSERT_EQ(mosaic.Height(), 24);
        ASSERT_EQ(placements.size(), c.drawn);
        EXPECT_EQ(mosaic.Pixel(4, 4), Average_Colour(enlarged, Rect::At(0, 0, 5, 5)));
        const Tile_Placement& second = placements[1];
        EXPECT_EQ(second.area, Rect::At(c.gap ? 6 : 5, 0, 5, 5));
        EXPECT_EQ(mosaic.Pixel(second.area.left, 0), Average_Colour(enlarged, second.area));
        if (c.gap) {
            EXPECT_EQ(mosaic.Pixel(5, 3), source.Pixel(1, 1));
        }
        if (c.cells_before_abort >= 0) {
            EXPECT_EQ(placements.back().column, 2);
            EXPECT_EQ(placements.back().row, 2);
            EXPECT_EQ(mosaic.Pixel(17, 7), source.Pixel(5, 2));
            EXPECT_EQ(mosaic.Pixel(29, 23), source.Pixel(9, 7));
        }
    }
}

// Transfer and blending give every drawn cell the original's sums under it (the enlarged
// original's at a scale), whether a cell's tile goes straight in or through the working tile
// (a cropped tile smaller than the cell); a blend beyond 100 % is refused before anything is read.
TEST_F(MosaicBuildTest, TransferAndBlendKeepEveryCellsSumsOfTheOriginal) {
    const Raster_Image source = filled(20, 14, gradient);
    const std::string original = Save("original.bmp", source);
    const std::vector<std::string> tiles{
        Save("big.bmp", filled(9, 7, [](int x, int y) { return Colour{static_cast<std::uint8_t>(28 * x), 250, static_cast<std::uint8_t>(36 * y)}; })),
        Save("small.bmp", filled(3, 3, [](int x, int) { return x == 1 ? kWhite : kBlack; }))};
    struct Case {
        Tile_Colour colour;
        int blend, scale;
        Fitting_Mode mode;
        bool gap;
    };
    const Case cases[] = {{Tile_Colour::Transfer, 0, 1, Fitting_Mode::Expand_Shrink, true},
                          {Tile_Colour::Shift, 40, 3, Fitting_Mode::Expand_Shrink, false},
                          {Tile_Colour::Transfer, 10, 2, Fitting_Mode::Truncate_Crop, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.blend << " " << c.scale);
        Mosaic_Settings settings{{6, 5, c.gap, 1, 2}, c.mode};
        settings.colour = c.colour;
        settings.blend = c.blend;
        settings.scale = c.scale;
        std::vector<Tile_Placement> placements;
        Build_Mosaic({original, tiles, folder_.Path("out.bmp"), settings}, random_, progress_, {.processors = 2, .placements = &placements});
        const Raster_Image mosaic = Load(folder_.Path("out.bmp"));
        ASSERT_FALSE(placements.empty());
        for (const Tile_Placement& p : placements) {
            std::array<int, 3> drawn{}, under{};  // red, green, blue
            for (int y = p.area.top; y < p.area.bottom; ++y)
                for (int x = p.area.left; x < p.area.right; ++x) {
                    const Colour m = mosaic.Pixel(x, y), o = source.Pixel(x / c.scale, y / c.scale);
                    drawn[0] += m.red, drawn[1] += m.green, drawn[2] += m.blue;
                    under[0] += o.red, under[1] += o.green, under[2] += o.blue;
                }
            EXPECT_EQ(drawn, under) << p.column << "," << p.row;
        }
    }
    Mosaic_Settings too_much{{6, 5, false, 0, 0}, Fitting_Mode::Expand_Shrink};
    too_much.blend = 101;
    try {
        Build_Mosaic({folder_.Path("missing.bmp"), tiles, folder_.Path("out.bmp"), too_much}, random_, progress_);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Kind(), Error_Kind::Option_Out_Of_Range);
        EXPECT_EQ(shell::Error_Text(e), "Error: The share of the Original laid over the Tiles must be from 0 to 100 %.");
    }
}

TEST_F(MosaicBuildTest, ATileLargerThanTheOriginalMakesOneCell) {
    const Raster_Image source = filled(10, 8, gradient);
    const std::string original = Save("original.bmp", source);
    const Raster_Image tile = filled(16, 16, [](int x, int y) { return Colour{static_cast<std::uint8_t>(x * 10), 50, static_cast<std::uint8_t>(y * 10)}; });
    const std::vector<std::string> tiles{Save("tile.bmp", tile)};
    const std::string output = folder_.Path("out.bmp");
    Build_Mosaic({original, tiles, output, {{16, 16, false, 0, 0}, Fitting_Mode::Truncate_Crop}}, random_, progress_);
    EXPECT_EQ(random_.next, 1);
    const Colour whole_original = Average_Colour(source, Rect::At(0, 0, 10, 8));
    const Colour whole_tile = Average_Colour(tile, Rect::At(0, 0, 16, 16));
    Raster_Image expected = tile;
    Align_Average_Colour(expected, Rect::At(0, 0, 16, 16), whole_tile, whole_original);
    const Raster_Image mosaic = Load(output);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(mosaic.Pixel(x, y), expected.Pixel(x, y));
}

// The build's fast drawing (fitted tiles kept, rows shared among threads, shifted tiles written
// straight into the mosaic) must not change a single pixel: compare with Prepare_Tile for every
// cell from its file, in both modes, on one thread and on two, with originals and tiles of
// several formats and sizes (crop carries pixels over), a palette tile with its own table too.
TEST_F(MosaicBuildTest, MatchesPreparingEveryTileFromItsFile) {
    std::vector<std::uint8_t> own_table_pixels;
    for (int i = 0; i < 6 * 5; ++i) own_table_pixels.push_back(static_cast<std::uint8_t>(i % 2));
    std::vector<std::string> tiles{
        Save("a.bmp", filled(5, 4, [](int x, int y) { return Colour{static_cast<std::uint8_t>(40 * x), 90, static_cast<std::uint8_t>(50 * y)}; }, Pixel_Format::Bits8)),
        Save("b.bmp", filled(23, 17, gradient, Pixel_Format::Bits16)),
        Save("c.bmp", filled(13, 30, gradient)),
        Save("d.bmp", filled(3, 3, [](int, int) { return Colour{250, 250, 0}; }, Pixel_Format::Bits4)),
        Save("e.bmp", filled(4, 3, [](int x, int) { return Colour{static_cast<std::uint8_t>(60 * x), 30, 220}; })),
        Save("f.bmp", Raster_Image::From_Layout(6, 5, Pixel_Format::Bits8, Colour_Table({{140, 77, 3}, {140, 77, 250}}), {}, 8,
                                               own_table_pixels)),
    };
    // Rows of tiles that cover their cells can be drawn in any order; a cropped tile smaller
    // than the cell carries the previous cell over. The last case switches between the two.
    const std::function<int(int, int)> cycle = [](int n, int count) { return n % count; };
    const std::function<int(int, int)> large_then_small = [](int n, int) { return n < 16 || n % 8 ? 2 : 4; };
    struct Case {
        Fitting_Mode mode;
        std::function<int(int, int)> pick;
    };
    for (const Pixel_Format format : {Pixel_Format::Bits24, Pixel_Format::Bits16, Pixel_Format::Bits8, Pixel_Format::Bits4, Pixel_Format::Bits1})
    for (const unsigned processors : {1u, 2u})
    for (const Case& c : {Case{Fitting_Mode::Expand_Shrink, cycle}, Case{Fitting_Mode::Truncate_Crop, cycle},
                          Case{Fitting_Mode::Truncate_Crop, large_then_small}}) {
        const Fitting_Mode mode = c.mode;
        SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(format) << ", " << processors
                                        << " processors, mode " << static_cast<int>(mode));
        const std::string original = Save("original.bmp", filled(97, 61, gradient, format));
        const Mosaic_Settings settings{{12, 10, true, 1, 2}, mode};
        Cycling_Random random;
        random.pick = c.pick;
        Recording_Progress progress;
        Build_Mosaic({original, tiles, folder_.Path("built.bmp"), settings}, random, progress, {.processors = processors});

        Expect_Same_Pixels(Load(folder_.Path("built.bmp")), Reference_Mosaic(original, tiles, settings, c.pick));
    }
}

// A mosaic is stored as its original was, in every format, palette ones with their colour
// table, and its pixels are the plain build's.
TEST_F(MosaicBuildTest, KeepsTheOriginalsFormat) {
    const std::vector<std::string> tiles{Save("a.bmp", filled(9, 7, gradient)),
                                         Save("b.bmp", filled(6, 6, gradient, Pixel_Format::Bits8))};
    test::BmpFields custom;  // 16 bits in 4-4-4 fields
    custom.width = 37;
    custom.height = 23;
    custom.bits = 16;
    custom.compression = 3;
    custom.masks = {0xF00, 0xF0, 0xF};
    for (int i = 0; i < 23 * 76; ++i) custom.pixels.push_back(static_cast<std::uint8_t>(i * 7 % 251));
    const std::string custom_path = folder_.Path("custom.bmp");
    Write_File_Atomically(custom_path, test::build_bmp(custom));
    const std::function<int(int, int)> cycle = [](int n, int count) { return n % count; };
    for (const Pixel_Format format : {Pixel_Format::Bits1, Pixel_Format::Bits4, Pixel_Format::Bits8, Pixel_Format::Bits15,
                                     Pixel_Format::Bits16, Pixel_Format::Bits32, Pixel_Format::Custom}) {
        SCOPED_TRACE(static_cast<int>(format));
        const std::string original =
            format == Pixel_Format::Custom ? custom_path : Save("original.bmp", filled(37, 23, gradient, format));
        for (const Fitting_Mode mode : {Fitting_Mode::Expand_Shrink, Fitting_Mode::Truncate_Crop}) {
            const Mosaic_Settings settings{{8, 6, true, 1, 0}, mode};
            Cycling_Random random;
            Recording_Progress progress;
            Build_Mosaic({original, tiles, folder_.Path("built.bmp"), settings}, random, progress);
            Bmp_Description stored, built_as;
            Decode_Bmp(Read_Whole_File(original), &stored);
            const Raster_Image built = Decode_Bmp(Read_Whole_File(folder_.Path("built.bmp")), &built_as);
            EXPECT_EQ(built_as.bits_per_pixel, stored.bits_per_pixel);
            EXPECT_EQ(built_as.compression, format == Pixel_Format::Bits16 || format == Pixel_Format::Custom ? "BI_BITFIELDS" : "BI_RGB");
            EXPECT_EQ(built.Format(), format);
            EXPECT_EQ(built.Masks(), Load(original).Masks());
            Expect_Same_Pixels(built, Reference_Mosaic(original, tiles, settings, cycle));
        }
    }
}

// A tile of custom layout cannot be prepared, wherever it comes up and however the cells are
// shared out: the build always ends with the same error and writes nothing.
TEST_F(MosaicBuildTest, ACustomLayoutTileAlwaysEndsTheBuild) {
    const std::vector<std::uint8_t> pixels(8 * 8 * 3, 90);
    const std::vector<std::string> tiles{
        Save("plain.bmp", filled(8, 8, gradient)),
        Save("custom.bmp", Raster_Image::From_Layout(8, 8, Pixel_Format::Custom, {}, {0x0000FF, 0x00FF00, 0xFF0000}, 32, pixels)),
    };
    ASSERT_EQ(Load(tiles[1]).Format(), Pixel_Format::Custom);
    for (const Pixel_Format format : {Pixel_Format::Bits24, Pixel_Format::Bits8})
    for (const unsigned processors : {1u, 2u})
    for (const Fitting_Mode mode : {Fitting_Mode::Expand_Shrink, Fitting_Mode::Truncate_Crop})
    for (const int custom_cell : {0, 4}) {  // the first or the last cell of the first row
        SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(format) << ", " << processors
                                        << " processors, mode " << static_cast<int>(mode) << ", cell " << custom_cell);
        const std::string original = Save("original.bmp", filled(40, 16, gradient, format));
        const std::string output = folder_.Path("out.bmp");
        Cycling_Random random;
        random.pick = [custom_cell](int n, int) { return n == custom_cell ? 1 : 0; };
        Recording_Progress progress;
        try {
            Build_Mosaic({original, tiles, output, {{8, 8, false, 0, 0}, mode}}, random, progress, {.processors = processors});
            ADD_FAILURE() << "built";
        } catch (const Error& e) {
            EXPECT_EQ(e.Kind(), Error_Kind::Invalid_Pixel_Format);
        }
        EXPECT_FALSE(std::filesystem::exists(output));
        EXPECT_NE(progress.calls.back(), "End");
    }
}

TEST_F(MosaicBuildTest, AnAbortedBuildIsSavedWithTheRowInHandPartDrawn) {
    const Raster_Image source = filled(100, 100, gradient);
    const std::string original = Save("original.bmp", source);
    const std::vector<std::string> tiles{Save("tile.bmp", filled(10, 10, [](int, int) { return kBlack; }))};
    // Ten rows of ten cells; each row reads the flag once, then once per cell: abort on the
    // 4th cell of the third row.
    progress_.cells_before_abort = 2 * 11 + 1 + 3;
    const std::string output = folder_.Path("out.bmp");
    Build_Mosaic({original, tiles, output, {{10, 10, false, 0, 0}, Fitting_Mode::Expand_Shrink}}, random_, progress_);
    EXPECT_EQ(random_.next, 23);
    EXPECT_EQ(progress_.values, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(progress_.calls.back(), "End");
    const Raster_Image mosaic = Load(output);
    EXPECT_NE(mosaic.Pixel(25, 25), source.Pixel(25, 25));  // drawn cell of the third row
    EXPECT_EQ(mosaic.Pixel(35, 25), source.Pixel(35, 25));  // not reached
    EXPECT_EQ(mosaic.Pixel(5, 95), source.Pixel(5, 95));
}

// Read Fastest, the tiles are read first only when the cells draw enough of the list to pay on
// the processors at hand, and either way the build makes the file, or stops with the error, that
// reading each tile when drawn gives: an unreadable tile stops it only when drawn.
TEST_F(MosaicBuildTest, ReadingFastestChangesNothingButTheTimeAndTheProgress) {
    const std::string original = Save("original.bmp", filled(40, 40, gradient));
    const std::string red = Save("red.bmp", filled(4, 4, [](int, int) { return Colour{200, 0, 0}; }));
    const std::string blue = Save("blue.bmp", filled(5, 3, gradient));
    const std::string broken = folder_.Path("broken.bmp");
    std::ofstream(std::filesystem::path(folder_.Folder() / "broken.bmp"), std::ios::binary) << "not a picture";
    struct Case {
        const char* what;
        unsigned processors;
        std::vector<std::string> tiles;
        int broken_draw;  // the draw that takes the broken tile, -1: none
        bool reads_first;
    };
    const Case cases[] = {
        {"16 cells from 3 tiles on 2 processors", 2, {red, blue, broken}, -1, true},
        {"the broken tile drawn", 2, {red, blue, broken}, 5, true},
        {"on one processor", 1, {red, blue, broken}, -1, false},
        {"16 cells from 100 tiles", 2, std::vector<std::string>(100, red), -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> calls[2];
        std::vector<std::uint8_t> files[2];
        for (const Tile_Reading reading : {Tile_Reading::When_Drawn, Tile_Reading::Fastest}) {
            const int way = reading == Tile_Reading::Fastest;
            std::filesystem::remove(folder_.Folder() / "out.bmp");
            Cycling_Random random;
            random.pick = [&](int n, int) { return n == c.broken_draw ? 2 : n % 2; };
            Recording_Progress progress;
            try {
                Build_Mosaic({original, c.tiles, folder_.Path("out.bmp"), {{10, 10, false, 0, 0}, Fitting_Mode::Expand_Shrink}},
                             random, progress, {.reading = reading, .processors = c.processors});
                files[way] = Read_Whole_File(folder_.Path("out.bmp"));
            } catch (const Error& e) {
                progress.calls.push_back(shell::Error_Text(e));
            }
            for (const std::string& call : progress.calls) {
                if (!call.starts_with("Reading")) calls[way].push_back(call);
            }
            EXPECT_EQ(progress.calls.size() > calls[way].size(), way == 1 && c.reads_first);
        }
        EXPECT_EQ(calls[1], calls[0]);
        EXPECT_EQ(files[1], files[0]);
        EXPECT_EQ(files[0].empty(), c.broken_draw >= 0);
    }
}

// An abort while the tiles are read first saves the mosaic with no cell drawn, as an abort
// before the first row does.
TEST_F(MosaicBuildTest, AnAbortWhileReadingTheTilesSavesTheOriginal) {
    const Raster_Image source = filled(40, 40, gradient);
    const std::string original = Save("original.bmp", source);
    const std::vector<std::string> tiles{Save("a.bmp", filled(4, 4, gradient)), Save("b.bmp", filled(5, 5, gradient))};
    progress_.cells_before_abort = 0;  // at the first tile read
    Build_Mosaic({original, tiles, folder_.Path("out.bmp"), {{10, 10, false, 0, 0}, Fitting_Mode::Expand_Shrink}}, random_,
                 progress_, {.reading = Tile_Reading::First, .processors = 1});
    EXPECT_EQ(progress_.calls, (std::vector<std::string>{"Initialise 0 0 50", "Reading Tile : 1 of 2|1", "End"}));
    EXPECT_EQ(random_.next, 0);
    Expect_Same_Pixels(Load(folder_.Path("out.bmp")), source);
}

TEST_F(MosaicBuildTest, ImageErrorsStopTheBuildAndWriteNothing) {
    const std::string original = Save("original.bmp", filled(40, 40, gradient));
    const std::string tile = Save("tile.bmp", filled(10, 10, gradient));
    struct Case {
        std::string name;
        std::vector<std::string> tiles;
        std::string output;
        std::string error;
        int size = 10;
        int scale = 1;
        int min_distance = 0;
    };
    const std::string missing = folder_.Path("gone.bmp");
    const std::string unwritable = folder_.Path("no folder/out.bmp");
    const Case cases[] = {
        {"missing tile", {tile, missing}, folder_.Path("out.bmp"), "Cannot open file " + missing},
        {"output folder missing", {tile}, unwritable, "Cannot create file " + unwritable},
        {"no tiles", {}, folder_.Path("out.bmp"), "Error: There are no Tiles in the list to use in the Mosaic !"},
        {"a grid that never advances", {tile}, folder_.Path("out.bmp"),
         "Error: The Tile Size cannot be 0 unless a Gap between the Tiles is set.", 0},
        {"a scale beyond the largest", {tile}, folder_.Path("out.bmp"), "Error: The Scale must be from 1 to 16.", 10, 17},
        {"a negative distance", {tile}, folder_.Path("out.bmp"),
         "Error: The Distance between repeated Tiles must be from 0 to 1000.", 10, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recording_Progress progress;
        Cycling_Random random;
        try {
            Mosaic_Settings settings{{c.size, c.size, false, 0, 0}, Fitting_Mode::Expand_Shrink};
            settings.scale = c.scale;
            settings.min_distance = c.min_distance;
            Build_Mosaic({original, c.tiles, c.output, settings}, random, progress);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(shell::Error_Text(e), c.error);
        }
        EXPECT_FALSE(std::filesystem::exists(folder_.Folder() / "out.bmp"));
    }
}

// Tiles fitted first: an unreadable one found in a folder is left out and told, the others keep
// their places in the list (the placements' indexes), and the seed's draws go to the rest; an
// unreadable one named itself, or a list with nothing readable, stops the build unwritten.
// 10 x 633476 at scale 15 gives rows of 452 bytes, 4,294,967,280 bytes of pixels: within the
// 32-bit size fields, but not with the file's 54 bytes of headers; 10 x 4367 at scale 15 is one
// row more than a JPEG can hold. The build refuses each, naming the format's limit and the size,
// before it starts.
TEST_F(MosaicBuildTest, AMosaicBeyondItsFormatIsRefusedBeforeTheFirstCell) {
    const std::vector<std::string> tiles{Save("tile.bmp", filled(15, 15, gradient))};
    struct Case {
        int height;
        std::string output, error;
    };
    const Case cases[] = {
        {633476, "out.bmp", "The picture " + folder_.Path("out.bmp") + " of 150x9502140 pixels is too large for a BMP file: at most 4 GiB"},
        {4367, "out.jpg",
         "The picture " + folder_.Path("out.jpg") + " of 150x65505 pixels is too large for a JPEG file: at most 65500 pixels a side"},
    };
    for (const Case& c : cases) {
        const std::string original = Save("original.bmp", Raster_Image(10, c.height));
        Mosaic_Settings settings{{15, 15, false, 0, 0}, Fitting_Mode::Expand_Shrink};
        settings.scale = 15;
        settings.formats = Picture_Formats::By_Extension;
        Recording_Progress progress;
        try {
            Build_Mosaic({original, tiles, folder_.Path(c.output), settings}, random_, progress);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(shell::Error_Text(e), c.error);
        }
        EXPECT_TRUE(progress.calls.empty());
        EXPECT_FALSE(std::filesystem::exists(folder_.Path(c.output)));
    }
}

// A build that fails after some of its bands are written (a tile read when first drawn that is
// gone, as a full disk would fail a write) leaves the old file as it was and no temporary beside it.
TEST_F(MosaicBuildTest, ABuildThatFailsMidwayLeavesTheOldFile) {
    const std::string original = Save("original.bmp", filled(40, 40, gradient));
    const std::vector<std::string> tiles{Save("tile.bmp", filled(10, 10, gradient)), folder_.Path("gone.bmp")};
    const std::string output = folder_.Path("out.bmp");
    Write_File_Atomically(output, {'o', 'l', 'd'});
    random_.pick = [](int n, int) { return n == 13 ? 1 : 0; };  // in the fourth row
    Build_Context access;
    access.band_rows = 1;
    EXPECT_THROW(Build_Mosaic({original, tiles, output, {{10, 10, false, 0, 0}, Fitting_Mode::Expand_Shrink}}, random_, progress_, access),
                 Error);
    EXPECT_EQ(progress_.values, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(Read_Whole_File(output), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Folder())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"original.bmp", "out.bmp", "tile.bmp"}));
}

TEST_F(MosaicBuildTest, FittingFirstPassesOverUnreadablePicturesFoundInFolders) {
    const std::string original = Save("original.bmp", filled(40, 10, gradient));
    const std::string red = Save("red.bmp", filled(4, 4, [](int, int) { return Colour{200, 0, 0}; }));
    const std::string blue = Save("blue.bmp", filled(4, 4, [](int, int) { return Colour{0, 0, 200}; }));
    const std::string broken = folder_.Path("broken.bmp");
    std::ofstream(std::filesystem::path(folder_.Folder() / "broken.bmp"), std::ios::binary) << "not a picture";
    struct Case {
        std::vector<std::string> tiles;
        std::vector<bool> found_in_folder;
        std::vector<int> placed;  // tile indexes of the four cells, empty when the build fails
        std::string error;
    };
    const Case cases[] = {
        {{broken, red, blue}, {true, true, true}, {1, 2, 1, 2}, ""},
        {{red, broken, blue}, {false, true, false}, {0, 2, 0, 2}, ""},
        {{red, broken}, {true}, {}, "Bitmap image is not valid"},
        {{broken, broken}, {true, true}, {}, "None of the tiles could be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tiles.size());
        std::filesystem::remove(folder_.Folder() / "out.bmp");
        Build_Context access;
        access.reading = Tile_Reading::First;
        access.found_in_folder = c.found_in_folder;
        std::vector<std::size_t> told;
        access.passed_over = [&](std::size_t tile, const std::exception&) { told.push_back(tile); };
        std::vector<Tile_Placement> placements;
        access.placements = &placements;
        Cycling_Random random;
        try {
            Build_Mosaic({original, c.tiles, folder_.Path("out.bmp"), {{10, 10, false, 0, 0}, Fitting_Mode::Expand_Shrink}}, random, progress_, access);
            EXPECT_EQ(c.error, "");
        } catch (const Error& e) {
            EXPECT_EQ(shell::Error_Text(e), c.error);
        }
        std::vector<int> placed;
        for (const Tile_Placement& p : placements) placed.push_back(p.tile);
        EXPECT_EQ(placed, c.placed);
        EXPECT_EQ(std::filesystem::exists(folder_.Folder() / "out.bmp"), c.error.empty());
        if (c.error.empty()) {
            EXPECT_EQ(told, std::vector<std::size_t>{c.tiles[0] == broken ? 0u : 1u});
        }
    }
}

// The files that each choice built from one seed before the caps of uses, mirrored tiles and
// redrawing were added: without those options a seed must keep giving the same bytes.
TEST_F(MosaicBuildTest, EachChoiceBuildsTheSameFileForTheSameSeedAsBefore) {
    const auto pattern = [](int k) {
        return [k](int x, int y) {
            return Colour{static_cast<std::uint8_t>((x * k * 13 + y * 7) % 256), static_cast<std::uint8_t>((x * y * k) % 256),
                          static_cast<std::uint8_t>(((x / (k + 1) + y / 3) % 2) * 200)};
        };
    };
    std::vector<std::string> tiles;
    for (int k = 0; k < 9; ++k) tiles.push_back(Save(std::string(1, static_cast<char>('a' + k)) + ".bmp", filled(6 + k, 5 + k % 3, pattern(k))));
    const std::string original = Save("original.bmp", filled(83, 57, gradient));
    struct Case {
        Tile_Choice choice;
        int min_distance;
        std::uint64_t hash;
    };
    const Case cases[] = {
        {Tile_Choice::Random, 0, 2069463228647658729u},  {Tile_Choice::Shuffle, 0, 13859075500029736932u},
        {Tile_Choice::Best, 0, 6589889266737423105u},    {Tile_Choice::Random, 1, 12595863892415180422u},
        {Tile_Choice::Shuffle, 1, 16277786019853588298u}, {Tile_Choice::Best, 1, 15149793627408078075u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Choice_Word(c.choice) << ", distance " << c.min_distance);
        Mosaic_Settings settings{{8, 6, false, 0, 0}, Fitting_Mode::Expand_Shrink, c.choice, c.min_distance};
        Twister_Random_Source random;
        random.Seed(11);
        Build_Mosaic({original, tiles, folder_.Path("out.bmp"), settings}, random, progress_);
        std::uint64_t hash = 14695981039346656037u;  // FNV-1a
        for (const std::uint8_t byte : Read_Whole_File(folder_.Path("out.bmp"))) hash = (hash ^ byte) * 1099511628211u;
        EXPECT_EQ(hash, c.hash);
    }
}

// A record of placements drawn again gives the same file, byte for byte, for every choice and
// way of fitting, mirrored tiles and scales; a mirrored tile is the tile's pixels mirrored.
TEST_F(MosaicBuildTest, ARecordOfPlacementsDrawsTheSameMosaicAgain) {
    std::vector<std::string> tiles;
    for (int k = 0; k < 6; ++k)
        tiles.push_back(Save(std::string(1, static_cast<char>('a' + k)) + ".bmp", filled(7 + k, 5 + k, [k](int x, int y) {
                                 return Colour{static_cast<std::uint8_t>(x * 30 + k * 40), static_cast<std::uint8_t>(y * 20), static_cast<std::uint8_t>(x * y * k)};
                             })));
    const std::string original = Save("original.bmp", filled(61, 43, gradient));
    struct Case {
        Tile_Choice choice;
        Fitting_Mode mode;
        int max_uses, scale;
        bool mirror, gap;
    };
    const Case cases[] = {
        {Tile_Choice::Best, Fitting_Mode::Expand_Shrink, 11, 1, true, false},  // 8 x 8 cells
        {Tile_Choice::Random, Fitting_Mode::Truncate_Crop, 0, 1, true, true},
        {Tile_Choice::Shuffle, Fitting_Mode::Expand_Shrink, 26, 2, false, true},  // 14 x 11 cells
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Choice_Word(c.choice));
        Mosaic_Settings settings{{8, 6, c.gap, 1, 2}, c.mode, c.choice};
        settings.max_uses = c.max_uses;
        settings.mirror = c.mirror;
        settings.scale = c.scale;
        Twister_Random_Source random;
        random.Seed(3);
        std::vector<Tile_Placement> placements;
        Build_Mosaic({original, tiles, folder_.Path("built.bmp"), settings}, random, progress_, {.processors = 2, .placements = &placements});
        const Given_Placements given = Read_Placements_Csv(Placements_Csv(placements, tiles, c.mirror), tiles, "p.csv");
        std::vector<Tile_Placement> again;
        Build_Mosaic({original, tiles, folder_.Path("again.bmp"), settings}, random, progress_, {.processors = 1, .placements = &again, .given = &given});
        EXPECT_EQ(Read_Whole_File(folder_.Path("again.bmp")), Read_Whole_File(folder_.Path("built.bmp")));
        EXPECT_EQ(Placements_Csv(again, tiles, true), Placements_Csv(placements, tiles, true));
    }
    const std::string flat = Save("flat.bmp", filled(16, 12, [](int, int) { return Colour{90, 90, 90}; }));
    for (const bool mirrored : {false, true}) {
        const Given_Placements one{"p.csv", {{1, 1, 2, mirrored, 2}}};
        Build_Mosaic({flat, tiles, folder_.Path(mirrored ? "m.bmp" : "p.bmp"), {{16, 12, false, 0, 0}, Fitting_Mode::Expand_Shrink}}, random_, progress_, {.given = &one});
    }
    const Raster_Image plain = Load(folder_.Path("p.bmp")), mirrored = Load(folder_.Path("m.bmp"));
    EXPECT_NE(plain.Pixel(0, 3), plain.Pixel(15, 3));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(mirrored.Pixel(x, y), plain.Pixel(15 - x, y));
}

// What the build itself refuses before drawing: a record's cell outside the grid or placed twice,
// given another place than the grid's, or using a tile (mirrored or not) beyond the cap (with its
// line), and a cap too low for the readable tiles to cover the grid (with the fewest uses that
// can: 6 x 4 cells over 5 tiles need 5; the list's length tells that before any tile is read or
// the progress starts).
TEST_F(MosaicBuildTest, RefusesRecordsOutsideTheGridAndCapsThatCannotCoverIt) {
    const std::string original = Save("original.bmp", filled(60, 40, gradient));
    std::vector<std::string> tiles;
    for (int k = 0; k < 5; ++k) tiles.push_back(Save(std::string(1, static_cast<char>('a' + k)) + ".bmp", filled(10, 10, gradient)));
    struct Case {
        std::vector<Given_Placements::Cell> cells;
        int max_uses;
        std::string error;
    };
    const Case cases[] = {
        {{{6, 4, 0, false, 2}, {7, 1, 0, false, 3}}, 0, "Line 3 of p.csv names a cell outside the grid"},
        {{{1, 5, 0, false, 9}}, 0, "Line 9 of p.csv names a cell outside the grid"},
        {{{2, 2, 0, false, 2}, {2, 2, 1, false, 4}}, 0, "Line 4 of p.csv names a cell that an earlier line placed"},
        {{}, 4, "Error: The Tiles cannot cover every cell with so few uses of each: at least 5 are needed."},
        {{{2, 1, 0, false, 2, std::array{10, 0, 10, 10}}, {3, 1, 0, false, 3, std::array{25, 0, 10, 10}}}, 0,
         "Line 3 of p.csv gives an x, y, width or height that is not its column and row's in this grid"},
        {{{6, 4, 0, false, 7, std::array{50, 30, 10, 8}}}, 0,
         "Line 7 of p.csv gives an x, y, width or height that is not its column and row's in this grid"},
        {{{1, 1, 1, false, 2}, {2, 1, 1, true, 3}, {3, 1, 2, false, 4}, {4, 1, 1, false, 5}}, 2,
         "Line 5 of p.csv uses " + tiles[1] + " more than the 2 times allowed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        const Given_Placements given{"p.csv", c.cells};
        Mosaic_Settings settings{{10, 10, false, 0, 0}, Fitting_Mode::Expand_Shrink, Tile_Choice::Best};
        settings.max_uses = c.max_uses;
        settings.mirror = true;
        progress_.calls.clear();
        try {
            Build_Mosaic({original, tiles, folder_.Path("out.bmp"), settings}, random_, progress_, {.given = c.cells.empty() ? nullptr : &given});
            ADD_FAILURE() << "built";
        } catch (const Error& e) {
            EXPECT_EQ(shell::Error_Text(e), c.error);
        }
        if (c.max_uses > 0) {
            EXPECT_EQ(progress_.calls, std::vector<std::string>{});
        }
        EXPECT_FALSE(std::filesystem::exists(folder_.Folder() / "out.bmp"));
    }
}

// The mosaic and its record are one result: a record that cannot be written leaves the old
// mosaic too (a full disk part way is tried by the tool's tests); one that can is the record of
// the cells drawn, whole though it is written as they are drawn.
TEST_F(MosaicBuildTest, AMosaicTakesItsPlaceOnlyWithItsRecord) {
    const std::string original = Save("original.bmp", filled(400, 300, gradient));
    const std::vector<std::string> tiles{Save("tile.bmp", filled(10, 10, gradient))};
    const std::string output = folder_.Path("out.bmp");
    std::ofstream(output) << "old";
    std::filesystem::create_directory(folder_.Folder() / "folder.csv");
    Mosaic_Settings settings{{4, 4, false, 0, 0}, Fitting_Mode::Expand_Shrink};
    settings.write_placements = true;
    settings.placements = folder_.Path("folder.csv");
    EXPECT_THROW(Build_Mosaic({original, tiles, output, settings}, random_, progress_), Error);
    EXPECT_EQ(Read_Whole_File(output), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    settings.placements = folder_.Path("p.csv");
    std::vector<Tile_Placement> placements;
    Build_Mosaic({original, tiles, output, settings}, random_, progress_, {.placements = &placements});
    const std::string csv = Placements_Csv(placements, tiles);
    EXPECT_EQ(placements.size(), 7500u);
    EXPECT_EQ(Read_Whole_File(settings.placements), std::vector<std::uint8_t>(csv.begin(), csv.end()));
    EXPECT_EQ(Load(output).Width(), 400);
}

TEST_F(MosaicBuildTest, TheOriginalCanBeItsOwnOutput) {
    const std::string original = Save("photo.bmp", filled(30, 30, gradient));
    const std::vector<std::string> tiles{Save("tile.bmp", filled(10, 10, [](int, int) { return kWhite; }))};
    Build_Mosaic({original, tiles, original, {{10, 10, false, 0, 0}, Fitting_Mode::Expand_Shrink}}, random_, progress_);
    const Raster_Image mosaic = Load(original);
    EXPECT_EQ(mosaic.Pixel(0, 0), mosaic.Pixel(9, 9));
    EXPECT_EQ(folder_.Names().size(), 2u);
}

// The mosaic made and written a band of cell rows at a time gives the same file, byte for byte,
// whatever the band's height (one row of cells, heights that do not divide the grid's ten rows),
// for every choice and option, from a palette original, at a scale, as a JPEG, and aborted
// mid-build.
TEST_F(MosaicBuildTest, EveryBandHeightWritesTheSameFile) {
    std::vector<std::string> tiles;
    for (int k = 0; k < 9; ++k)
        tiles.push_back(Save(std::string(1, static_cast<char>('a' + k)) + ".bmp", filled(6 + k, 5 + k % 3, [k](int x, int y) {
                                 return Colour{static_cast<std::uint8_t>((x * k * 13 + y * 7) % 256),
                                               static_cast<std::uint8_t>((x * y * k) % 256), static_cast<std::uint8_t>(k * 25)};
                             })));
    Save("original.bmp", filled(83, 57, gradient));
    Save("palette.bmp", filled(83, 57, gradient, Pixel_Format::Bits8));
    struct Case {
        std::string name;
        Tile_Choice choice = Tile_Choice::Random;
        std::function<void(Mosaic_Settings&)> options = [](Mosaic_Settings&) {};
        std::string original = "original.bmp", output = "out.bmp";
        int scale = 1, abort_after = -1;
    };
    const Case cases[] = {
        {"random", Tile_Choice::Random},
        {"shuffle, distance 1", Tile_Choice::Shuffle, [](Mosaic_Settings& s) { s.min_distance = 1; }},
        {"best, distance 1", Tile_Choice::Best, [](Mosaic_Settings& s) { s.min_distance = 1; }},
        {"best, cap 13, mirror", Tile_Choice::Best, [](Mosaic_Settings& s) { s.max_uses = 13, s.mirror = true; }},
        {"random, cap 13", Tile_Choice::Random, [](Mosaic_Settings& s) { s.max_uses = 13; }},
        {"transfer, blend 30, scale 3", Tile_Choice::Best,
         [](Mosaic_Settings& s) { s.colour = Tile_Colour::Transfer, s.blend = 30; }, "original.bmp", "out.bmp", 3},
        {"cropped tiles carried over, gaps", Tile_Choice::Random,
         [](Mosaic_Settings& s) { s.mode = Fitting_Mode::Truncate_Crop, s.gap = true, s.gap_horizontal = 2, s.gap_vertical = 1; }},
        {"palette original, blend 40, scale 2", Tile_Choice::Shuffle, [](Mosaic_Settings& s) { s.blend = 40; }, "palette.bmp", "out.bmp", 2},
        {"JPEG, gaps, scale 2", Tile_Choice::Random, [](Mosaic_Settings& s) { s.gap = true, s.gap_vertical = 3; }, "original.bmp",
         "out.jpg", 2},
        {"aborted in the fourth row", Tile_Choice::Random, {}, "original.bmp", "out.bmp", 2, 3 * 22 + 5},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> whole;
        for (const int band_rows : {100, 1, 3, 4}) {
            SCOPED_TRACE(c.name + ", bands of " + std::to_string(band_rows));
            Mosaic_Settings settings{{8, 6, false, 0, 0}, Fitting_Mode::Expand_Shrink, c.choice};
            if (c.options) c.options(settings);
            settings.scale = c.scale;
            settings.formats = Picture_Formats::By_Extension;
            Twister_Random_Source random;
            random.Seed(5);
            Recording_Progress progress;
            progress.cells_before_abort = c.abort_after;
            Build_Mosaic({folder_.Path(c.original), tiles, folder_.Path(c.output), settings}, random, progress,
                         {.band_rows = band_rows, .processors = 2});
            const std::vector<std::uint8_t> built = Read_Whole_File(folder_.Path(c.output));
            if (whole.empty()) whole = built;
            EXPECT_EQ(built, whole);
        }
    }
}

// A grey cell dark on its left and light on its right: one tile has that edge of lightness in
// strong hues, the other is even grey. With the colour transfer the edge decides, whether the
// cells are chosen one by one or placed together under a cap; with the shift the grey is nearer.
TEST_F(MosaicBuildTest, TheTransferMatchesByLightnessWithAndWithoutACap) {
    const auto halves = [](Colour left, Colour right) {
        return filled(8, 8, [=](int x, int) { return x < 4 ? left : right; });
    };
    const std::string original = Save("edge.bmp", halves({70, 70, 70}, {170, 170, 170}));
    const std::vector<std::string> tiles = {Save("hues.bmp", halves({160, 30, 40}, {90, 205, 200})),
                                            Save("grey.bmp", halves({120, 120, 120}, {120, 120, 120}))};
    for (const auto& [colour, max_uses, expected] :
         {std::tuple{Tile_Colour::Transfer, 0, 0}, {Tile_Colour::Transfer, 1, 0}, {Tile_Colour::Shift, 0, 1}, {Tile_Colour::Shift, 1, 1}}) {
        SCOPED_TRACE(max_uses);
        Mosaic_Settings settings{{8, 8, false, 0, 0}, Fitting_Mode::Expand_Shrink, Tile_Choice::Best};
        settings.colour = colour;
        settings.max_uses = max_uses;
        std::vector<Tile_Placement> placements;
        Build_Mosaic({original, tiles, folder_.Path("built.bmp"), settings}, random_, progress_, {.processors = 1, .placements = &placements});
        ASSERT_EQ(placements.size(), 1u);
        EXPECT_EQ(placements[0].tile, expected);
    }
}

}  // namespace
}  // namespace tilvane
