#include "image/colour_table.h"

#include <gtest/gtest.h>

#include <limits>
#include <thread>

namespace tilvane {
namespace {

int searched_nearest(const std::vector<Colour>& entries, Colour c) {
    int best = 0, best_distance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int dr = entries[i].red - c.red, dg = entries[i].green - c.green, db = entries[i].blue - c.blue;
        if (dr * dr + dg * dg + db * db < best_distance) {
            best_distance = dr * dr + dg * dg + db * db;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// The reduction's shortcuts must give exactly what a search of every entry gives, ties to the
// lower index included: the standard tables, one with repeats and equidistant entries, and one
// crowded into a corner, so that boxes there have many answers, reduced from two threads at once
// over colours on both sides of every box edge.
TEST(ColourTableTest, NearestIsExactlyTheFullSearch) {
    std::vector<Colour> odd{{10, 10, 10}, {20, 10, 10}, {10, 10, 10}, {15, 200, 3}, {15, 200, 3}, {255, 0, 255}};
    std::vector<Colour> crowded;
    for (int i = 0; i < 256; ++i)
        crowded.push_back({static_cast<std::uint8_t>(i % 16), static_cast<std::uint8_t>(i / 16), static_cast<std::uint8_t>(i * 7 % 16)});
    const Colour_Table tables[] = {Colour_Table::Standard(Pixel_Format::Bits1), Colour_Table::Standard(Pixel_Format::Bits4),
                                  Colour_Table::Standard(Pixel_Format::Bits8), Colour_Table(odd), Colour_Table(crowded)};
    for (const Colour_Table& table : tables) {
        SCOPED_TRACE(table.size());
        int mismatches[2] = {0, 0};
        const auto check = [&](int part) {
            // Red and blue on both sides of every multiple of 8, green every 23rd value.
            for (int r = part * 7; r < 256; r += 8)
                for (int g = 0; g < 256; g += 11)
                    for (int b = (r / 8) % 2; b < 256; b += 7) {
                        const Colour c{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
                        mismatches[part] += table.Nearest_Index(c) != searched_nearest(table.Entries(), c);
                    }
        };
        std::thread other(check, 1);
        check(0);
        other.join();
        EXPECT_EQ(mismatches[0] + mismatches[1], 0);
    }
    EXPECT_EQ(Colour_Table(odd).Nearest_Index({15, 10, 10}), 0);  // equally near 0, 1 and 2
}

}  // namespace
}  // namespace tilvane
