#pragma once
// Gives every cell of a part of a grid a tile, no tile more than its room allows, at a low total cost.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tilvane {

// Each cell's candidates: the tiles it may take at a known cost, and the cost taken for any
// other tile. Costs are whole numbers, so that the least total is found exactly.
struct Capped_Assignment_Problem {
    std::vector<int> room;                        // each tile's uses at most
    std::vector<std::size_t> first{0};            // cell c's candidates: first[c] .. first[c + 1] - 1
    std::vector<int> tile;                        // the candidates' tiles, each at most once per cell
    std::vector<std::int64_t> cost;               // and their costs, at least 0
    std::vector<std::int64_t> other;              // per cell, at least its dearest candidate's cost

    int Tiles() const { return static_cast<int>(room.size()); }
    int Cells() const { return static_cast<int>(other.size()); }
    void Add_Cell(const std::vector<std::pair<int, std::int64_t>>& candidates, std::int64_t other_cost);
};

// A cell given kOther_Tile may take any tile that the cells given a tile leave room in;
// there are always enough of those for all of them.
inline constexpr int kOther_Tile = -1;

// An assignment within the rooms (a cell given kOther_Tile counting its `other` cost). Every cell
// first takes its cheapest candidate while that has room; the others are placed one at a time by
// the cheapest chain of moves. The total is the least within the rooms unless a search had to
// settle more than kMost_Settled cells and tiles: that search gives its cell kOther_Tile instead,
// so a crowded problem ends near the least, not at it (a problem of at most kMost_Settled - 2
// cells and tiles together never does). Needs the rooms to add up to at least the cells.
inline constexpr std::size_t kMost_Settled = 32;
std::vector<int> Assign_Capped(const Capped_Assignment_Problem& problem);

}  // namespace tilvane
