#include "mosaic/placements_file.h"

#include <gtest/gtest.h>

#include <array>
#include <regex>
#include <tuple>

namespace tilvane {
namespace {

// A record as spreadsheets save it reads as the tool's own: with a byte-order mark, spaces after
// the commas, the header in capitals, lines ending with CR alone, or all of these at once.
TEST(PlacementsFileTest, RecordsSavedBySpreadsheetsAreRead) {
    const std::vector<std::string> tiles{"tiles/a.bmp", "tiles/b, c.bmp", " leading.bmp"};
    std::vector<Tile_Placement> placements;
    for (int i = 0; i < 3; ++i) placements.push_back({i + 1, 1, Rect::At(20 * i, 0, 20, 20), 2 - i, i == 1});
    const auto capitals = [](std::string text) {
        const std::size_t end = text.find('\r');
        for (std::size_t i = 0; i < end; ++i) text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
        return text;
    };
    const auto spaced = [](const std::string& text) {
        std::string out;
        bool quoted = false;
        for (char c : text) {
            quoted ^= c == '"';
            out += c;
            if (c == ',' && !quoted) out += "  ";
        }
        return out;
    };
    const auto cr_only = [](const std::string& text) { return std::regex_replace(text, std::regex("\r\n"), "\r"); };
    for (const bool mirrored : {false, true}) {
        const std::string csv = Placements_Csv(placements, tiles, mirrored);
        struct Case {
            const char* name;
            std::string text;
        };
        const Case cases[] = {
            {"as written", csv},
            {"byte-order mark", "\xEF\xBB\xBF" + csv},
            {"spaces after commas", spaced(csv)},
            {"upper-case header", capitals(csv)},
            {"CR line ends", cr_only(csv)},
            {"all at once", "\xEF\xBB\xBF" + cr_only(spaced(capitals(csv)))},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (mirrored ? ", mirrored" : ""));
            const Given_Placements given = Read_Placements_Csv(c.text, tiles, "p.csv");
            ASSERT_EQ(given.cells.size(), 3u);
            for (int i = 0; i < 3; ++i) {
                const Given_Placements::Cell& cell = given.cells[static_cast<std::size_t>(i)];
                EXPECT_EQ(std::tuple(cell.column, cell.row, cell.tile, cell.mirrored, cell.line),
                          std::tuple(i + 1, 1, 2 - i, mirrored && i == 1, i + 2));
                EXPECT_EQ(cell.place, (std::array{20 * i, 0, 20, 20}));
            }
        }
    }
    // A quoted path still ends where its quote does, and its line breaks are counted, with CR alone.
    const Given_Placements broken = Read_Placements_Csv("column,row,x,y,width,height,tile\r1,1,0,0,8,8,\"tiles/b, c.bmp\"\r"
                                                         "2,1,8,0,8,8,\"x\ry.bmp\"\r3,1,16,0,8,8,\"tiles/b, c.bmp\"",
                                                         {"tiles/b, c.bmp", "x\ry.bmp"}, "p.csv");
    ASSERT_EQ(broken.cells.size(), 3u);
    EXPECT_EQ(std::tuple(broken.cells[1].tile, broken.cells[2].tile, broken.cells[2].line), std::tuple(1, 0, 5));
}

}  // namespace
}  // namespace tilvane
