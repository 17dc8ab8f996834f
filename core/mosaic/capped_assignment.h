#pragma once
// Gives every cell of a grid a tile, no tile more than a cap of times, at the least total cost.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tilvane {

// Each cell's candidates: the tiles it may take at a known cost, and the cost taken for any
// other tile. Costs are whole numbers, so that the least total is found exactly.
struct Capped_Assignment_Problem {
    int tiles = 0;
    int cap = 0;                                  // uses of each tile at most
    std::vector<int> room;                        // when not empty, each tile's own cap instead
    std::vector<std::size_t> first{0};            // cell c's candidates: first[c] .. first[c + 1] - 1
    std::vector<int> tile;                        // the candidates' tiles, each at most once per cell
    std::vector<std::int64_t> cost;               // and their costs, at least 0
    std::vector<std::int64_t> other;              // per cell, at least its dearest candidate's cost

    int Cells() const { return static_cast<int>(other.size()); }
    void Add_Cell(const std::vector<std::pair<int, std::int64_t>>& candidates, std::int64_t other_cost);
};

// A cell given kOther_Tile may take any tile that the cells given a tile leave under the cap;
// there are always enough of those for all of them.
inline constexpr int kOther_Tile = -1;

// The assignment of least total cost (a cell given kOther_Tile counting its `other` cost), every
// tile given at most cap times. Needs cap * tiles >= cells.
std::vector<int> Assign_Capped(const Capped_Assignment_Problem& problem);

}  // namespace tilvane
