#include "capped_best_match.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <numeric>
#include <optional>

#include "mosaic/capped_assignment.h"
#include "mosaic/tile_choice_rules.h"

namespace tilvane {
namespace {

// The best match with a cap on every tile's uses, placed a band of rows at a time: a greedy
// choice in reading order would give the first cells of a flat area the few flat tiles and
// leave the last ones whatever is left, and a plan of the whole grid at once would cost memory
// and time that grow faster than the grid. A grid of more than one band is first surveyed: each
// band's cells count which tile lies nearest them in the index, and each tile's cap is shared
// among the bands as their cells want it (Share_Cap). Each band is then planned when its first cell is chosen:
// every cell's nearest tiles in the index are measured, each given a share of the tie band drawn
// from the seed (so the seed still picks among near ties), and an assignment of low total error
// within the band's room is found (Assign_Capped). The cells it leaves to "any other tile"
// (their candidates were full) are placed again, in rounds, among the nearest of the tiles that
// still have room. The cells then take their tiles in reading order, each its planned tile where
// the minimum distance allows it, otherwise the best allowed tile that leaves room for the cells
// still to come.
class Capped_Best_Match final : public Row_Chooser {
public:
    Capped_Best_Match(const Tile_Rules& rules, Random_Source& random, std::vector<Structure> tiles)
        : random_(random), cap_(rules.max_uses), tiles_(static_cast<int>(tiles.size())), rule_(rules, tiles_),
          index_(Choice_Structures(std::move(tiles), rules.mirror)), planned_uses_(static_cast<std::size_t>(tiles_), 0),
          reserved_(static_cast<std::size_t>(tiles_), 0) {}

    bool Needs_Looks() const override { return true; }
    bool Plans_Ahead() const override { return true; }
    void Find_Nearest(Cell_Look& look) const override {
        index_.Nearest(look.structure, surveying_ ? 1 : kCandidates, look.nearest);
        if (!surveying_) Measure_Nearest(look);
    }

    void Plan(Row_Looks look_at_row, int columns, int rows) override {
        Row_Chooser::Plan({}, columns, rows);
        look_at_row_ = std::move(look_at_row);
        columns_ = columns;
        rows_ = rows;
        band_rows_ = std::max(1, kBand_Cells / std::max(1, columns));  // the rows planned at a time
        if (rows > band_rows_) Share_Cap(Survey());
    }

private:
    Use_Rule& Rule() override { return rule_; }
    int Choose_Cell(int column, int row) override {
        if (row >= band_end_) Plan_Band(row);
        const std::size_t cell = static_cast<std::size_t>(row - band_first_) * static_cast<std::size_t>(columns_) +
                                 static_cast<std::size_t>(column);
        int choice = planned_[cell];
        if (choice >= 0) --planned_uses_[static_cast<std::size_t>(choice / rule_.Ways())];
        if (choice < 0 || !rule_.Allowed(choice, column, row)) choice = Best_Candidate(cell, column, row);
        if (choice < 0) choice = Best_Of_All(cell, column, row, true);
        if (choice < 0) choice = Best_Of_All(cell, column, row, false);
        if (choice < 0) choice = rule_.Farthest(All_Tiles(index_.Size()), column, row);
        rule_.Place(choice, column, row);
        return choice;
    }

    // About this many cells are planned at a time: enough for a flat area to spread its wants
    // over many tiles, few enough that the plan's memory and search stay small.
    static constexpr int kBand_Cells = 1 << 16;

    int Bands() const { return (rows_ + band_rows_ - 1) / band_rows_; }
    int Band_Cells(int band) const { return std::min(band_rows_, rows_ - band * band_rows_) * columns_; }
    std::size_t At(int band, int tile) const {
        return static_cast<std::size_t>(band) * static_cast<std::size_t>(tiles_) + static_cast<std::size_t>(tile);
    }

    // How many cells of each band lie nearest each tile in the index (until the build is stopped).
    std::vector<int> Survey() {
        std::vector<int> wanted(static_cast<std::size_t>(Bands()) * static_cast<std::size_t>(tiles_), 0);
        std::vector<Cell_Look> looks;
        surveying_ = true;
        for (int row = 0; row < rows_ && look_at_row_(row, looks); ++row)
            for (const Cell_Look& look : looks)
                if (!look.nearest.empty()) ++wanted[At(row / band_rows_, look.nearest.front() / rule_.Ways())];
        surveying_ = false;
        return wanted;
    }

    // Each tile's cap shared among the bands, kept back from the bands before them: first as many
    // uses as a band's cells want (in proportion to the wants where they pass the cap), then of
    // what is left, each band its part of what it still lacks for all its cells, the rounding made
    // up from the tiles in order. The rest is reserved for no band: the first to plan may use it.
    void Share_Cap(const std::vector<int>& wanted) {
        const int bands = Bands();
        share_.assign(wanted.size(), 0);
        std::vector<std::int64_t> spare(static_cast<std::size_t>(tiles_), cap_);
        std::vector<std::int64_t> lacking(static_cast<std::size_t>(bands));
        for (int band = 0; band < bands; ++band) lacking[static_cast<std::size_t>(band)] = Band_Cells(band);
        for (int tile = 0; tile < tiles_; ++tile) {
            std::int64_t all = 0;
            for (int band = 0; band < bands; ++band) all += wanted[At(band, tile)];
            for (int band = 0; band < bands; ++band) {
                const int given = static_cast<int>(all <= cap_ ? wanted[At(band, tile)] : wanted[At(band, tile)] * std::int64_t{cap_} / all);
                share_[At(band, tile)] = given;
                spare[static_cast<std::size_t>(tile)] -= given;
                lacking[static_cast<std::size_t>(band)] -= given;
            }
        }
        const std::int64_t all_spare = std::accumulate(spare.begin(), spare.end(), std::int64_t{0});
        const std::vector<std::int64_t> wants_more = lacking;
        std::vector<std::int64_t> left = spare;
        for (int band = 0; band < bands && all_spare > 0; ++band)
            for (int tile = 0; tile < tiles_; ++tile) {
                const std::int64_t part = spare[static_cast<std::size_t>(tile)] * wants_more[static_cast<std::size_t>(band)] / all_spare;
                share_[At(band, tile)] += static_cast<int>(part);
                left[static_cast<std::size_t>(tile)] -= part;
                lacking[static_cast<std::size_t>(band)] -= part;
            }
        for (int band = 0, tile = 0; band < bands; ++band)
            for (; lacking[static_cast<std::size_t>(band)] > 0 && tile < tiles_; tile += left[static_cast<std::size_t>(tile)] == 0) {
                const std::int64_t part = std::min(lacking[static_cast<std::size_t>(band)], left[static_cast<std::size_t>(tile)]);
                share_[At(band, tile)] += static_cast<int>(part);
                left[static_cast<std::size_t>(tile)] -= part;
                lacking[static_cast<std::size_t>(band)] -= part;
            }
        for (int band = 1; band < bands; ++band)
            for (int tile = 0; tile < tiles_; ++tile) reserved_[static_cast<std::size_t>(tile)] += share_[At(band, tile)];
    }

    // The band from `row` on: its looks, its room (each tile's uses left less those kept for the
    // bands after it; where the minimum distance spent some of those, the band borrows them back)
    // and every cell's plan.
    void Plan_Band(int row) {
        const int band = row / band_rows_;
        band_first_ = row;
        band_end_ = std::min(rows_, row + band_rows_);
        if (band > 0 && !share_.empty())
            for (int tile = 0; tile < tiles_; ++tile) reserved_[static_cast<std::size_t>(tile)] -= share_[At(band, tile)];
        looks_.clear();
        std::vector<Cell_Look> row_looks;
        for (int r = band_first_; r < band_end_; ++r) {
            look_at_row_(r, row_looks);
            std::move(row_looks.begin(), row_looks.end(), std::back_inserter(looks_));
        }
        std::vector<int> room(static_cast<std::size_t>(tiles_));
        std::int64_t lacking = static_cast<std::int64_t>(looks_.size());
        for (int tile = 0; tile < tiles_; ++tile) {
            room[static_cast<std::size_t>(tile)] = std::max(0, Left_Uses(tile) - reserved_[static_cast<std::size_t>(tile)]);
            lacking -= room[static_cast<std::size_t>(tile)];
        }
        for (int tile = 0; tile < tiles_ && lacking > 0; ++tile) {
            const int borrowed = static_cast<int>(std::min<std::int64_t>(lacking, Left_Uses(tile) - room[static_cast<std::size_t>(tile)]));
            room[static_cast<std::size_t>(tile)] += borrowed;
            lacking -= borrowed;
            Unreserve(band, tile, borrowed);
        }
        planned_.assign(looks_.size(), -1);
        candidates_.assign(looks_.size(), {});
        std::vector<std::size_t> left;
        {
            Capped_Assignment_Problem problem;
            problem.room = room;
            for (std::size_t cell = 0; cell < looks_.size(); ++cell) {
                Measure(cell, &problem);
                Forget_Nearest(looks_[cell]);
            }
            const std::vector<int> assigned = Assign_Capped(problem);
            for (std::size_t cell = 0; cell < looks_.size(); ++cell) {
                if (assigned[cell] == kOther_Tile)
                    left.push_back(cell);
                else
                    Take(cell, assigned[cell], room);
            }
        }
        Place_Left(left, room);
    }

    int Left_Uses(int tile) const { return cap_ - rule_.Uses(tile * rule_.Ways()); }

    // Gives up uses kept for the bands after `band`, the last band's first.
    void Unreserve(int band, int tile, int uses) {
        reserved_[static_cast<std::size_t>(tile)] -= uses;
        for (int later = Bands() - 1; later > band && uses > 0; --later) {
            const int part = std::min(uses, share_[At(later, tile)]);
            share_[At(later, tile)] -= part;
            uses -= part;
        }
    }

    // How many tiles the index offers for each cell, for a cell left over among the tiles with
    // room, and how many of a placed cell's candidates are kept for the minimum distance.
    static constexpr int kCandidates = 24;
    static constexpr int kLeft_Candidates = 16;
    static constexpr std::size_t kKept = 16;
    static constexpr int kJitter_Steps = 1024;
    static constexpr float kCost_Scale = 4;  // whole costs, in quarters of a squared level

    // The match errors of the look's nearest choices.
    void Measure_Nearest(Cell_Look& look) const {
        look.errors.clear();
        for (int choice : look.nearest) look.errors.push_back(Match_Error(index_.Tile(choice), look));
    }
    static void Forget_Nearest(Cell_Look& look) {
        std::vector<int>().swap(look.nearest);
        std::vector<float>().swap(look.errors);
    }

    // The cell's nearest choices (measured) with their costs into the cell's candidates, and one per tile
    // (the cheaper way round) into the problem, if any.
    void Measure(std::size_t cell, Capped_Assignment_Problem* problem) {
        const Cell_Look& look = looks_[cell];
        std::vector<std::pair<int, std::int64_t>>& measured = candidates_[cell];
        measured.clear();
        measured.reserve(look.nearest.size());
        float best = std::numeric_limits<float>::max();
        for (float error : look.errors) best = std::min(best, error);
        const float band = Tie_Limit(best, look) - best;
        std::int64_t dearest = 0;
        by_tile_.clear();
        for (std::size_t k = 0; k < look.errors.size(); ++k) {
            const std::int64_t cost = std::llround(
                (look.errors[k] + band * static_cast<float>(random_.Uniform_Below(kJitter_Steps)) / kJitter_Steps) * kCost_Scale);
            measured.push_back({look.nearest[k], cost});
            dearest = std::max(dearest, cost);
            if (!problem) continue;
            const int tile = look.nearest[k] / rule_.Ways();
            const auto same = std::find_if(by_tile_.begin(), by_tile_.end(), [&](const auto& c) { return c.first == tile; });
            if (same == by_tile_.end())
                by_tile_.push_back({tile, cost});
            else
                same->second = std::min(same->second, cost);
        }
        if (problem) problem->Add_Cell(by_tile_, dearest + std::llround(band * kCost_Scale));
    }

    // The cell's plan: the cheaper way round of the tile given to it.
    void Take(std::size_t cell, int tile, std::vector<int>& room) {
        --room[static_cast<std::size_t>(tile)];
        ++planned_uses_[static_cast<std::size_t>(tile)];
        std::vector<std::pair<int, std::int64_t>>& own = candidates_[cell];
        std::sort(own.begin(), own.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
        planned_[cell] = std::find_if(own.begin(), own.end(), [&](const auto& c) { return c.first / rule_.Ways() == tile; })->first;
        // The cheapest are kept for a cell that the minimum distance turns from its plan.
        own.resize(std::min(own.size(), kKept));
        own.shrink_to_fit();
    }

    // The cells whose candidates the assignment found full (a large flat area wants more of the
    // same few tiles than the cap allows) take, in reading order, the best of the nearest tiles
    // that still have room. Full tiles are passed over in the index until they are an eighth of
    // it, then it is made again of the open ones: each search stays near its cell.
    void Place_Left(const std::vector<std::size_t>& left, std::vector<int>& room) {
        std::vector<int> open;
        std::vector<char> usable;
        std::vector<int> local(static_cast<std::size_t>(index_.Size()), -1);
        std::optional<Structure_Index> open_index;
        std::size_t closed = 0;
        for (std::size_t cell : left) {
            if (!open_index || closed * 8 > open.size()) {
                open.clear();
                std::vector<Structure> structures;
                for (int choice = 0; choice < index_.Size(); ++choice)
                    if (room[static_cast<std::size_t>(choice / rule_.Ways())] > 0) {
                        local[static_cast<std::size_t>(choice)] = static_cast<int>(open.size());
                        open.push_back(choice);
                        structures.push_back(index_.Tile(choice));
                    }
                open_index.emplace(std::move(structures));
                usable.assign(open.size(), 1);
                closed = 0;
            }
            open_index->Nearest(looks_[cell].structure, kLeft_Candidates, looks_[cell].nearest, usable);
            for (int& choice : looks_[cell].nearest) choice = open[static_cast<std::size_t>(choice)];
            Measure_Nearest(looks_[cell]);
            Measure(cell, nullptr);
            Forget_Nearest(looks_[cell]);
            const auto cheapest = std::min_element(candidates_[cell].begin(), candidates_[cell].end(),
                                                   [](const auto& a, const auto& b) { return a.second < b.second; });
            const int tile = cheapest->first / rule_.Ways();
            Take(cell, tile, room);
            if (room[static_cast<std::size_t>(tile)] > 0) continue;
            for (int way = 0; way < rule_.Ways(); ++way) {
                usable[static_cast<std::size_t>(local[static_cast<std::size_t>(tile * rule_.Ways() + way)])] = 0;
                ++closed;
            }
        }
    }

    // Room for one more use of the choice's tile beside the uses planned for the cells to come
    // and those kept for the bands to come.
    bool Room(int choice) const {
        const std::size_t tile = static_cast<std::size_t>(choice / rule_.Ways());
        return rule_.Uses(choice) + planned_uses_[tile] + reserved_[tile] < cap_;
    }

    int Best_Candidate(std::size_t cell, int column, int row) {
        int chosen = -1;
        std::int64_t least = 0;
        for (const auto& [choice, cost] : candidates_[cell])
            if ((chosen < 0 || cost < least) && Room(choice) && rule_.Allowed(choice, column, row)) chosen = choice, least = cost;
        return chosen;
    }

    // The best allowed tile of all, with room for the cells to come, or only under the cap.
    int Best_Of_All(std::size_t cell, int column, int row, bool with_room) {
        int chosen = -1;
        float least = 0;
        for (int choice = 0; choice < index_.Size(); ++choice) {
            if ((with_room && !Room(choice)) || !rule_.Open(choice)) continue;
            const float error = Match_Error(index_.Tile(choice), looks_[cell]);
            if ((chosen < 0 || error < least) && rule_.Allowed(choice, column, row)) chosen = choice, least = error;
        }
        return chosen;
    }

    Random_Source& random_;
    int cap_;
    int tiles_;
    Use_Rule rule_;
    Structure_Index index_;
    Row_Looks look_at_row_;
    bool surveying_ = false;  // Find_Nearest then looks for the nearest tile only
    int columns_ = 0, rows_ = 0, band_rows_ = 1;
    int band_first_ = 0, band_end_ = 0;  // the rows planned
    std::vector<Cell_Look> looks_;       // the band's cells'
    std::vector<std::vector<std::pair<int, std::int64_t>>> candidates_;  // each of the band's cells', with costs
    std::vector<std::pair<int, std::int64_t>> by_tile_;           // Measure's, kept to save allocations
    std::vector<int> planned_;       // each of the band's cells' choice
    std::vector<int> planned_uses_;  // of each tile, by the band's cells still to come
    std::vector<int> share_;         // each band's uses of each tile, band by band
    std::vector<int> reserved_;      // each tile's uses kept for the bands after the one planned
};

}  // namespace

std::unique_ptr<Tile_Chooser> Make_Capped_Best_Match(const Tile_Rules& rules, Random_Source& random,
                                                     std::vector<Structure> tile_structures) {
    return std::make_unique<Capped_Best_Match>(rules, random, std::move(tile_structures));
}

}  // namespace tilvane
