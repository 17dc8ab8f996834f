#include "mosaic/capped_assignment.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <random>

namespace tilvane {
namespace {

std::int64_t Cost_Of(const Capped_Assignment_Problem& p, int cell, int tile) {
    for (std::size_t k = p.first[static_cast<std::size_t>(cell)]; k < p.first[static_cast<std::size_t>(cell) + 1]; ++k)
        if (p.tile[k] == tile) return p.cost[k];
    return p.other[static_cast<std::size_t>(cell)];
}

// The least total over every assignment of tiles to cells within the cap, tried one by one.
std::int64_t Least_Total(const Capped_Assignment_Problem& p) {
    std::vector<int> uses(p.room.size(), 0);
    std::int64_t best = INT64_MAX;
    const std::function<void(int, std::int64_t)> place = [&](int cell, std::int64_t total) {
        if (cell == p.Cells()) {
            best = std::min(best, total);
            return;
        }
        for (int t = 0; t < p.Tiles(); ++t) {
            if (uses[static_cast<std::size_t>(t)] == p.room[static_cast<std::size_t>(t)]) continue;
            ++uses[static_cast<std::size_t>(t)];
            place(cell + 1, total + Cost_Of(p, cell, t));
            --uses[static_cast<std::size_t>(t)];
        }
    };
    place(0, 0);
    return best;
}

// Small problems of random costs, some with every tile a candidate and some with short lists,
// where the cells crowd onto few tiles, with one room for every tile or each its own (a band's
// share of the cap): the assignment keeps the rooms, leaves "any other tile" only as many cells
// as the tiles have room for, and reaches the least total found by trying every assignment.
TEST(CappedAssignmentTest, ReachesTheLeastTotalWithinTheCap) {
    std::mt19937 random(3);
    struct Case {
        int cells, tiles, cap, listed;  // listed: candidates per cell
        bool uneven = false;            // rooms from 0 to 2 * cap, adding up to cap * tiles
    };
    const Case cases[] = {{6, 3, 2, 3}, {7, 4, 2, 4},       {7, 7, 1, 7},       {8, 3, 3, 2},      {7, 4, 2, 1},
                          {6, 6, 1, 2}, {8, 2, 4, 2},       {8, 4, 2, 4, true}, {7, 3, 3, 2, true}, {8, 6, 2, 3, true}};
    for (const Case& c : cases)
        for (int trial = 0; trial < 40; ++trial) {
            SCOPED_TRACE(testing::Message() << c.cells << " cells, " << c.tiles << " tiles, cap " << c.cap
                                            << (c.uneven ? " uneven" : "") << ", trial " << trial);
            Capped_Assignment_Problem p;
            p.room.assign(static_cast<std::size_t>(c.tiles), c.cap);
            for (std::size_t t = 0; c.uneven && t + 1 < p.room.size(); t += 2) {
                const int moved = static_cast<int>(random() % static_cast<unsigned>(c.cap + 1));
                p.room[t] -= moved;
                p.room[t + 1] += moved;
            }
            for (int cell = 0; cell < c.cells; ++cell) {
                std::vector<int> order(static_cast<std::size_t>(c.tiles));
                std::iota(order.begin(), order.end(), 0);
                std::shuffle(order.begin(), order.end(), random);
                std::vector<std::pair<int, std::int64_t>> candidates;
                std::int64_t dearest = 0;
                for (int k = 0; k < c.listed; ++k) {
                    // Half the time the first tiles are cheap for everyone: they are fought over.
                    const std::int64_t cost = trial % 2 ? std::int64_t(random() % 50) : order[static_cast<std::size_t>(k)] * 10 + std::int64_t(random() % 12);
                    candidates.push_back({order[static_cast<std::size_t>(k)], cost});
                    dearest = std::max(dearest, cost);
                }
                p.Add_Cell(candidates, dearest + static_cast<std::int64_t>(random() % 30));
            }
            const std::vector<int> assigned = Assign_Capped(p);
            std::vector<int> uses(static_cast<std::size_t>(c.tiles), 0);
            std::int64_t total = 0;
            int others = 0;
            for (int cell = 0; cell < c.cells; ++cell) {
                const int t = assigned[static_cast<std::size_t>(cell)];
                if (t == kOther_Tile) {
                    ++others;
                    total += p.other[static_cast<std::size_t>(cell)];
                    continue;
                }
                const auto listed = p.tile.begin() + static_cast<std::ptrdiff_t>(p.first[static_cast<std::size_t>(cell)]);
                ASSERT_NE(std::find(listed, listed + c.listed, t), listed + c.listed);  // a tile given is a candidate
                ++uses[static_cast<std::size_t>(t)];
                total += Cost_Of(p, cell, t);
            }
            int room = 0;
            for (std::size_t t = 0; t < uses.size(); ++t) {
                EXPECT_LE(uses[t], p.room[t]);
                room += p.room[t] - uses[t];
            }
            EXPECT_LE(others, room);
            EXPECT_EQ(total, Least_Total(p));
        }
}

}  // namespace
}  // namespace tilvane
