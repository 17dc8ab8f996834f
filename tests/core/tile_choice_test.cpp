#include "mosaic/tile_choice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "codecs/picture_file.h"
#include "image/colour_operations.h"

#include "mosaic/fidelity.h"
#include "mosaic/placements_file.h"
#include "shell/error_report.h"

#include <regex>
#include <tuple>

#include "temp_folder.h"

namespace tilvane {
namespace {

constexpr int kColumns = 15, kRows = 10;

Structure Pattern(int seed) {
    Structure s{};
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>((seed * 37 + static_cast<int>(i) * 11 * (seed % 5 + 1)) % 61 - 30);
    return s;
}

Cell_Look Look_Of(const Structure& s) {
    Cell_Look look{{128, 128, 128}, s, {}, {}};
    look.visible.fill(true);
    return look;
}

// Every cell of a kColumns x kRows grid, row by row, as a build asks.
std::vector<int> Choose_Grid(Tile_Chooser& chooser, const std::function<Structure(int, int)>& cell = {}) {
    std::vector<Cell_Look> looks;
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            looks.push_back(Look_Of(cell ? cell(column, row) : Pattern(column * 7 + row)));
            if (chooser.Needs_Looks()) chooser.Find_Nearest(looks.back());
        }
    const bool whole = chooser.Plans_Ahead();
    chooser.Plan(
        [&](int row, std::vector<Cell_Look>& row_looks) {
            row_looks.assign(looks.begin() + row * kColumns, looks.begin() + (row + 1) * kColumns);
            return true;
        },
        kColumns, kRows);
    std::vector<int> chosen;
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            const Cell_Look* look = chooser.Needs_Looks() && !whole ? &looks[static_cast<std::size_t>(row * kColumns + column)] : nullptr;
            chosen.push_back(chooser.Choose(column, row, look));
        }
    return chosen;
}

// The smallest Chebyshev distance between two cells with the same tile.
int Closest_Repeat(const std::vector<int>& chosen) {
    int closest = 1 << 20;
    for (std::size_t a = 0; a < chosen.size(); ++a)
        for (std::size_t b = a + 1; b < chosen.size(); ++b)
            if (chosen[a] == chosen[b])
                closest = std::min(closest, std::max(std::abs(int(a % kColumns) - int(b % kColumns)), int(b / kColumns) - int(a / kColumns)));
    return closest;
}

std::vector<Structure> Patterns(int count) {
    std::vector<Structure> all;
    for (int i = 0; i < count; ++i) all.push_back(Pattern(i));
    return all;
}

TEST(TileChoiceTest, NoTileComesBackWithinTheMinimumDistanceWhileTheListAllows) {
    struct Case {
        Tile_Choice choice;
        int tiles, distance, closest;  // the closest repeat expected at least
    };
    const Case cases[] = {
        {Tile_Choice::Random, 40, 2, 3}, {Tile_Choice::Shuffle, 40, 2, 3}, {Tile_Choice::Best, 40, 2, 3},
        // 2D(D + 1) + 1 tiles: always one that none of the cells chosen before within the distance has.
        {Tile_Choice::Random, 5, 1, 2},  {Tile_Choice::Shuffle, 5, 1, 2},  {Tile_Choice::Best, 5, 1, 2},
        // Too few tiles for the distance: every cell still gets one, as far from its last use as can be.
        {Tile_Choice::Random, 3, 1, 1},  {Tile_Choice::Shuffle, 3, 1, 1},  {Tile_Choice::Best, 3, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Choice_Word(c.choice) << ", " << c.tiles << " tiles, distance " << c.distance);
        Twister_Random_Source random;
        random.Seed(5);
        const auto chooser = Make_Tile_Chooser(c.choice, {c.distance}, c.tiles, random, Patterns(c.tiles));
        const std::vector<int> chosen = Choose_Grid(*chooser);
        EXPECT_GE(Closest_Repeat(chosen), c.closest);
        EXPECT_TRUE(std::all_of(chosen.begin(), chosen.end(), [&](int t) { return t >= 0 && t < c.tiles; }));
    }
}

// Every choice under a cap, with and without mirrored tiles (a mirror is a use of its tile) and a
// minimum distance on top, over cells whose best matches crowd onto a few tiles: no tile beyond
// the cap, no repeat within the distance while the list allows, and the seed repeats the choice.
TEST(TileChoiceTest, NoTileIsUsedMoreThanTheCapAllowsMirroredOrNot) {
    struct Case {
        Tile_Choice choice;
        int tiles, cap, distance;
        bool mirror;
        bool flat = false;  // every cell alike: most cells find their candidates full
    };
    const Case cases[] = {
        {Tile_Choice::Best, 30, 5, 0, false},    {Tile_Choice::Best, 30, 5, 0, true},   {Tile_Choice::Best, 40, 4, 1, true},
        {Tile_Choice::Best, 15, 10, 0, false},   {Tile_Choice::Random, 30, 5, 0, true}, {Tile_Choice::Random, 40, 4, 1, false},
        {Tile_Choice::Shuffle, 30, 5, 1, true},  {Tile_Choice::Shuffle, 150, 1, 2, false},
        {Tile_Choice::Best, 150, 1, 0, false, true}, {Tile_Choice::Best, 60, 3, 1, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Choice_Word(c.choice) << ", " << c.tiles << " tiles, cap " << c.cap << ", distance "
                                        << c.distance << (c.mirror ? ", mirror" : ""));
        const auto run = [&] {
            Twister_Random_Source random;
            random.Seed(4);
            const auto chooser = Make_Tile_Chooser(c.choice, {c.distance, c.cap, c.mirror}, c.tiles, random, Patterns(c.tiles));
            return Choose_Grid(*chooser, [&](int column, int row) { return Pattern(c.flat ? 0 : column / 5 + row / 4); });
        };
        const std::vector<int> chosen = run();
        std::vector<int> tiles;
        for (int choice : chosen) tiles.push_back(c.mirror ? choice / 2 : choice);
        std::map<int, int> uses;
        for (int tile : tiles) ++uses[tile];
        for (const auto& [tile, count] : uses) EXPECT_LE(count, c.cap) << tile;
        EXPECT_GE(Closest_Repeat(tiles), c.distance + 1);
        EXPECT_EQ(uses.begin()->first >= 0 && uses.rbegin()->first < c.tiles, true);
        if (c.mirror) {
            EXPECT_TRUE(std::any_of(chosen.begin(), chosen.end(), [](int choice) { return choice % 2 == 1; }));
        }
        EXPECT_EQ(run(), chosen);
    }
}

// The tightest cap (the uses add up to the cells) with a minimum distance: the last cells find
// only tiles used nearby, and swap with other cells of their row so that every choice keeps the
// distance, over seeds that each broke it before.
TEST(TileChoiceTest, UnderTheTightestCapTheLastCellsStillKeepTheDistance) {
    struct Case {
        Tile_Choice choice;
        int tiles, distance;
    };
    const Case cases[] = {{Tile_Choice::Random, 30, 1}, {Tile_Choice::Random, 50, 2}, {Tile_Choice::Shuffle, 30, 2},
                          {Tile_Choice::Best, 50, 1},   {Tile_Choice::Best, 75, 2}};
    for (const Case& c : cases)
        for (int seed = 0; seed < 8; ++seed) {
            SCOPED_TRACE(testing::Message() << Choice_Word(c.choice) << ", " << c.tiles << " tiles, distance " << c.distance
                                            << ", seed " << seed);
            const int cap = (kColumns * kRows + c.tiles - 1) / c.tiles;
            Twister_Random_Source random;
            random.Seed(static_cast<std::uint64_t>(seed));
            const auto chooser = Make_Tile_Chooser(c.choice, {c.distance, cap}, c.tiles, random, Patterns(c.tiles));
            const std::vector<int> chosen = Choose_Grid(*chooser, [](int column, int row) { return Pattern(column / 5 + row / 4); });
            EXPECT_GT(Closest_Repeat(chosen), c.distance);
            std::map<int, int> uses;
            for (int tile : chosen) ++uses[tile];
            for (const auto& [tile, count] : uses) EXPECT_LE(count, cap) << tile;
        }
}

// A grid of three bands of one row (each too wide for two rows to be planned at once), whose top
// band wants one tile more than the cap allows: the capped best match looks at every
// row once before choosing, then at each band's rows only when its first cell is chosen, never
// past its band, and the cap holds over the bands.
TEST(TileChoiceTest, TheCappedBestMatchPlansABandAtATime) {
    constexpr int columns = 40000, rows = 3, tiles = 8, cap = columns * rows / tiles;
    Twister_Random_Source random;
    random.Seed(2);
    const auto chooser = Make_Tile_Chooser(Tile_Choice::Best, {0, cap}, tiles, random, Patterns(tiles));
    std::vector<int> asked;
    chooser->Plan(
        [&](int row, std::vector<Cell_Look>& looks) {
            asked.push_back(row);
            looks.clear();
            for (int column = 0; column < columns; ++column) {
                looks.push_back(Look_Of(Pattern(row == 0 && column < 4000 ? 1 : column % tiles)));
                chooser->Find_Nearest(looks.back());
            }
            return true;
        },
        columns, rows);
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2}));
    std::vector<int> uses(tiles, 0);
    for (int row = 0; row < rows; ++row) {
        asked.clear();
        for (int column = 0; column < columns; ++column) ++uses[static_cast<std::size_t>(chooser->Choose(column, row, nullptr))];
        EXPECT_EQ(asked, std::vector<int>{row});
    }
    for (int tile = 0; tile < tiles; ++tile) EXPECT_EQ(uses[static_cast<std::size_t>(tile)], cap) << tile;
}

// A cell shaped like a tile's mirror takes the tile mirrored; the mirror's structure is the
// picture's mirrored.
TEST(TileChoiceTest, AMirroredTileMatchesTheMirroredShape) {
    Raster_Image picture(8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) picture.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * 30), static_cast<std::uint8_t>(y * 9 + x), 7});
    Raster_Image mirror(8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) mirror.Set_Pixel(7 - x, y, picture.Pixel(x, y));
    const Colour mean = Average_Colour(picture, Rect::At(0, 0, 8, 4));
    EXPECT_EQ(Mirrored(Structure_Of(picture, Rect::At(0, 0, 8, 4), mean)), Structure_Of(mirror, Rect::At(0, 0, 8, 4), mean));
    Twister_Random_Source random;
    const auto chooser = Make_Tile_Chooser(Tile_Choice::Best, {0, 0, true}, 3, random, {Pattern(1), Pattern(2), Pattern(3)});
    Cell_Look look = Look_Of(Mirrored(Pattern(2)));
    chooser->Find_Nearest(look);
    EXPECT_EQ(chooser->Choose(0, 0, &look), 3);
}

TEST(TileChoiceTest, AShuffleUsesEveryTileOnceBeforeAnyTwiceAndFollowsTheSeed) {
    const auto run = [](std::uint64_t seed) {
        Twister_Random_Source random;
        random.Seed(seed);
        return Choose_Grid(*Make_Tile_Chooser(Tile_Choice::Shuffle, {}, 7, random));
    };
    const std::vector<int> chosen = run(1);
    for (std::size_t round = 0; round + 7 <= chosen.size(); round += 7)
        EXPECT_EQ(std::set<int>(chosen.begin() + round, chosen.begin() + round + 7).size(), 7u) << round;
    EXPECT_EQ(run(1), chosen);
    EXPECT_NE(run(2), chosen);
}

// Tiles 0 and 1 carry the two halves' patterns, tiles 2 .. 9 are flat: a cell of a pattern takes
// its tile whatever its colour, and a flat area is spread over the flat tiles.
TEST(TileChoiceTest, TheBestMatchFollowsTheCellsStructureAndSpreadsNearTies) {
    std::vector<Structure> tiles{Pattern(3), Pattern(4)};
    tiles.resize(10);
    Twister_Random_Source random;
    random.Seed(9);
    const auto chooser = Make_Tile_Chooser(Tile_Choice::Best, {}, 10, random, tiles);
    const std::vector<int> chosen = Choose_Grid(*chooser, [&](int column, int row) {
        if (row >= 2) return Structure{};
        return column < kColumns / 2 ? Pattern(3) : Pattern(4);
    });
    for (int column = 0; column < kColumns; ++column) EXPECT_EQ(chosen[column], column < kColumns / 2 ? 0 : 1) << column;
    const std::set<int> flat(chosen.begin() + 2 * kColumns, chosen.end());
    EXPECT_GE(flat.size(), 6u);
    EXPECT_FALSE(flat.contains(0) || flat.contains(1));
}

TEST(FidelityTest, ComparesBlockMeansOfTheOriginalBroughtToTheMosaicsSize) {
    Raster_Image small(4, 3), large(8, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const auto v = static_cast<std::uint8_t>(20 * (x / 2) + 50 * (y / 2));
            if (x % 2 == 0 && y % 2 == 0) small.Set_Pixel(x / 2, y / 2, {v, v, v});
            large.Set_Pixel(x, y, {static_cast<std::uint8_t>(v + 10), v, v});
        }
    struct Case {
        const Raster_Image& original;
        int block;
        double difference, psnr;
    };
    const Case cases[] = {
        {large, 3, 0, INFINITY},                                     // itself
        {small, 2, 10.0 / 3, 10 * std::log10(255.0 * 255 * 3 / 100)}, // enlarged twice, one channel off by 10
        {small, 5, 10.0 / 3, 10 * std::log10(255.0 * 255 * 3 / 100)}, // edge blocks take what lies inside
    };
    Raster_Image self = large;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        const Fidelity f = Compare_Block_Means(&c.original == &large ? self : c.original, large, c.block, c.block);
        EXPECT_NEAR(f.mean_absolute_difference, c.difference, 1e-9);
        if (std::isinf(c.psnr)) EXPECT_TRUE(std::isinf(f.psnr));
        else EXPECT_NEAR(f.psnr, c.psnr, 1e-9);
    }
}

// An original larger than the mosaic (a poster) is read from its file a row at a time, the rows
// the mosaic's size passes over skipped, and gives the figures of the original held whole.
TEST(FidelityTest, AnOriginalLargerThanTheMosaicIsReadInRows) {
    Raster_Image large(36, 27);
    for (int y = 0; y < 27; ++y)
        for (int x = 0; x < 36; ++x) large.Set_Pixel(x, y, {static_cast<std::uint8_t>(5 * x + 2 * y), static_cast<std::uint8_t>(x * y), 9});
    testing_support::Temp_Folder folder;
    Save_Picture(folder.Path("poster.png"), large, {.flush = Flush_To_Disk::No});
    const Raster_Image mosaic(11, 8);
    const Fidelity whole = Compare_Block_Means(large, mosaic, 2, 2);
    const Fidelity rows = Compare_Block_Means(*Open_Picture_Rows(folder.Path("poster.png")), *Rows_Of(mosaic), 2, 2);
    EXPECT_EQ(std::pair(rows.mean_absolute_difference, rows.psnr), std::pair(whole.mean_absolute_difference, whole.psnr));
}

// A record read back gives the placements written, mirrored or not, whatever the paths hold and
// however its lines end; a line that is not a placement, or names a tile not in the list, is
// refused with its number, counting the lines a quoted path runs over.
TEST(PlacementsTest, ARecordReadsBackAndBadLinesAreNamed) {
    const std::vector<std::string> tiles{"C:\\tiles\\plain.bmp", "a,b.bmp", "say \"cheese\".bmp", "two\nlines.bmp"};
    std::vector<Tile_Placement> placements;
    for (int i = 0; i < 4; ++i) placements.push_back({i + 1, 2, Rect::At(10 * i, 5, 10, 4), 3 - i, i % 2 == 1});
    for (const bool mirrored : {false, true}) {
        std::string csv = Placements_Csv(placements, tiles, mirrored);
        for (const std::string& text : {csv, std::regex_replace(csv, std::regex("\r\n"), "\n") + "\n"}) {
            const Given_Placements given = Read_Placements_Csv(text, tiles, "p.csv");
            ASSERT_EQ(given.cells.size(), 4u);
            for (int i = 0; i < 4; ++i) {
                const Given_Placements::Cell& cell = given.cells[static_cast<std::size_t>(i)];
                EXPECT_EQ(std::tuple(cell.column, cell.row, cell.tile, cell.mirrored), std::tuple(i + 1, 2, 3 - i, mirrored && i % 2 == 1));
            }
            EXPECT_EQ(given.cells[3].line, 6);  // the path of the second line runs over two
        }
    }
    const std::string header = "column,row,x,y,width,height,tile\r\n";
    struct Case {
        std::string text, error;
    };
    const Case cases[] = {
        {"", "Line 1 of p.csv is not a placement (column,row,x,y,width,height,tile and perhaps mirrored)"},
        {"column,row,tile\r\n", "Line 1 of p.csv is not a placement (column,row,x,y,width,height,tile and perhaps mirrored)"},
        {header + "1,1,0,0,8,8,a.bmp\r\n", "Line 2 of p.csv names a tile that is not in the list"},
        {header + "1,1,0,0,8,8,\"a,b.bmp\"\r\n\r\n2,x,0,0,8,8,\"a,b.bmp\"\r\n", "Line 4 of p.csv is not a placement (column,row,x,y,width,height,tile and perhaps mirrored)"},
        {header + "0,1,0,0,8,8,\"a,b.bmp\"\r\n", "Line 2 of p.csv is not a placement (column,row,x,y,width,height,tile and perhaps mirrored)"},
        {header + "1,1,0,0,8,8,\"a,b.bmp\",1\r\n", "Line 2 of p.csv is not a placement (column,row,x,y,width,height,tile and perhaps mirrored)"},
        {header + "1,1,0,0,8,8,\"a,b.bmp\" \r\n", "Line 2 of p.csv is not a placement (column,row,x,y,width,height,tile and perhaps mirrored)"},
        {"column,row,x,y,width,height,tile,mirrored\n1,1,0,0,8,8,\"a,b.bmp\",2\n", "Line 2 of p.csv is not a placement (column,row,x,y,width,height,tile and perhaps mirrored)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            Read_Placements_Csv(c.text, tiles, "p.csv");
            ADD_FAILURE() << "read";
        } catch (const Error& e) {
            EXPECT_EQ(shell::Error_Text(e), c.error);
            EXPECT_EQ(shell::Error_Text_With_Details(e), c.error);
        }
    }
}

TEST(FidelityTest, StructuralSimilarityOfGreyQuarterSizePictures) {
    const auto even = [](int width, int height, std::uint8_t grey) {
        Raster_Image image(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) image.Set_Pixel(x, y, {grey, grey, grey});
        return image;
    };
    Raster_Image busy(40, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 40; ++x)
            busy.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * 6), static_cast<std::uint8_t>((x ^ y) * 7), static_cast<std::uint8_t>(y * 5)});
    const Raster_Image busy_copy = busy;
    EXPECT_DOUBLE_EQ(*Structural_Similarity(busy, busy_copy), 1.0);
    // Even pictures: only the means differ, (2 mu1 mu2 + C1) / (mu1^2 + mu2^2 + C1), the smaller
    // original enlarged to the mosaic's size first.
    const double c1 = 2.55 * 2.55;
    EXPECT_NEAR(*Structural_Similarity(even(14, 16, 100), even(28, 32, 50)), (2 * 100 * 50 + c1) / (100 * 100 + 50 * 50 + c1), 1e-9);
    EXPECT_FALSE(Structural_Similarity(busy, even(27, 40, 3)));  // a quarter of it is narrower than a window
}

TEST(PlacementsTest, PathsAreQuotedWhereTheyHoldCommasQuotesOrLineBreaks) {
    const std::vector<std::string> tiles{"C:\\tiles\\plain.bmp", "a,b.bmp", "say \"cheese\".bmp", "two\nlines.bmp"};
    std::vector<Tile_Placement> placements;
    for (int i = 0; i < 4; ++i) placements.push_back({i + 1, 2, Rect::At(10 * i, 5, 10, 4), i});
    EXPECT_EQ(Placements_Csv(placements, tiles),
              "column,row,x,y,width,height,tile\r\n"
              "1,2,0,5,10,4,C:\\tiles\\plain.bmp\r\n"
              "2,2,10,5,10,4,\"a,b.bmp\"\r\n"
              "3,2,20,5,10,4,\"say \"\"cheese\"\".bmp\"\r\n"
              "4,2,30,5,10,4,\"two\nlines.bmp\"\r\n");
}

}  // namespace
}  // namespace tilvane
