#pragma once
// What the tile choosers share: the rules on uses and distance, the chooser that takes a row at
// a time, and the measure of how well a tile matches a cell.
#include <algorithm>
#include <cstdlib>
#include <span>
#include <vector>

#include "mosaic/tile_choice.h"

namespace tilvane {

// Where each tile went in the last rows that the minimum distance reaches, and how often it has
// been used against the cap. Choices count as their tiles: a mirrored tile is a use of the tile.
class Use_Rule {
public:
    Use_Rule(const Tile_Rules& rules, int tile_count)
        : distance_(rules.min_distance), max_uses_(rules.max_uses), ways_(rules.mirror ? 2 : 1),
          near_(distance_ > 0 ? tile_count : 0), uses_(static_cast<std::size_t>(tile_count), 0) {}

    int Ways() const { return ways_; }
    bool Keeps_Distance() const { return distance_ > 0; }
    int Uses(int choice) const { return uses_[Tile(choice)]; }
    bool Open(int choice) const { return max_uses_ == 0 || Uses(choice) < max_uses_; }
    bool Allowed(int choice, int column, int row) {
        return Open(choice) && (distance_ == 0 || Nearest_Use(choice, column, row) > distance_);
    }
    void Place(int choice, int column, int row) {
        if (distance_ > 0) near_[Tile(choice)].push_back({column, row});
        ++uses_[Tile(choice)];
    }

    // Where a cell of the row (chosen whole, the cells' uses placed) comes within the distance of
    // another use of its tile, its choice is swapped with the first of the row's first earlier
    // cells for which both then keep the distance: the uses stay the same, so the cap holds.
    void Repair_Row(std::vector<int>& choices, int row) {
        constexpr int kTried = 64;  // earlier cells at most, which keeps a list too short for the distance cheap
        if (distance_ == 0) return;
        for (int k = 0; k < static_cast<int>(choices.size()); ++k) {
            int& late = choices[static_cast<std::size_t>(k)];
            if (Nearest_Use(late, k, row, k) > distance_) continue;
            for (int j = 0; j < std::min(static_cast<int>(choices.size()), kTried); ++j) {
                int& early = choices[static_cast<std::size_t>(j)];
                if (Tile(early) == Tile(late) || Nearest_Use(early, k, row, j) <= distance_ || Nearest_Use(late, j, row, k) <= distance_)
                    continue;
                Move_Use(late, k, j, row);
                Move_Use(early, j, k, row);
                std::swap(early, late);
                break;
            }
        }
    }

    // The first of the open choices whose nearest use is farthest from the cell; -1 when none is.
    int Farthest(std::span<const int> choices, int column, int row) {
        int chosen = -1, farthest = -1;
        for (int choice : choices)
            if (Open(choice))
                if (const int d = Nearest_Use(choice, column, row); d > farthest) chosen = choice, farthest = d;
        return chosen;
    }

private:
    struct Use {
        int column, row;
    };
    std::size_t Tile(int choice) const { return static_cast<std::size_t>(choice / ways_); }
    // Chebyshev distance to the tile's nearest use (other than one in the row's column `skipped`),
    // or distance_ + 1 when none is within reach.
    int Nearest_Use(int choice, int column, int row, int skipped = -1) {
        if (distance_ == 0) return 1;
        std::vector<Use>& uses = near_[Tile(choice)];
        std::erase_if(uses, [&](const Use& use) { return row - use.row > distance_; });
        int nearest = distance_ + 1;
        for (const Use& use : uses)
            if (use.row != row || use.column != skipped)
                nearest = std::min(nearest, std::max(row - use.row, std::abs(column - use.column)));
        return nearest;
    }
    void Move_Use(int choice, int from, int to, int row) {
        for (Use& use : near_[Tile(choice)])
            if (use.row == row && use.column == from) use.column = to;
    }

    int distance_;
    int max_uses_;
    int ways_;
    std::vector<std::vector<Use>> near_;
    std::vector<int> uses_;
};

// Every choice from 0 to count - 1.
std::vector<int> All_Tiles(int count);

// A chooser that needs no look to choose takes a whole row, under a minimum distance, when its
// first cell is asked for, so that the cells the minimum distance could not be kept for (under a tight cap the last cells
// find only tiles used nearby) can swap with earlier cells of the row (Use_Rule::Repair_Row).
class Row_Chooser : public Tile_Chooser {
public:
    void Plan(Row_Looks, int columns, int) override { columns_ = columns; }
    int Choose(int column, int row, const Cell_Look*) final {
        if (columns_ == 0 || !Rule().Keeps_Distance()) return Choose_Cell(column, row);  // nothing to repair
        if (column == 0) {
            row_.clear();
            for (int c = 0; c < columns_; ++c) row_.push_back(Choose_Cell(c, row));
            Rule().Repair_Row(row_, row);
        }
        return row_[static_cast<std::size_t>(column)];
    }

protected:
    // The cell's choice, its use placed.
    virtual int Choose_Cell(int column, int row) = 0;
    virtual Use_Rule& Rule() = 0;

private:
    int columns_ = 0;
    std::vector<int> row_;
};

// The largest error that ties with the best.
float Tie_Limit(float best, const Cell_Look& look);

// The squared difference between the cell and the tile shifted onto its target, over the
// visible grid parts, with the shift held within 0..255 as the pixels are (unless the look
// says otherwise).
float Match_Error(const Structure& t, const Cell_Look& look);

// Every tile's structure, and after it its mirror's when the rules mirror.
std::vector<Structure> Choice_Structures(std::vector<Structure> tiles, bool mirror);

}  // namespace tilvane
