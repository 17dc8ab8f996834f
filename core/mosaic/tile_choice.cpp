#include "tile_choice.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <numeric>
#include <optional>

#include "mosaic/capped_assignment.h"

namespace tilvane {
namespace {

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

std::vector<int> All_Tiles(int count) {
    std::vector<int> all(static_cast<std::size_t>(count));
    std::iota(all.begin(), all.end(), 0);
    return all;
}

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

class Random_Choice final : public Row_Chooser {
public:
    Random_Choice(const Tile_Rules& rules, int tiles, Random_Source& random)
        : count_(tiles * (rules.mirror ? 2 : 1)), random_(random), rule_(rules, tiles) {}

private:
    Use_Rule& Rule() override { return rule_; }
    int Choose_Cell(int column, int row) override {
        int tile = random_.Uniform_Below(count_);
        // A few draws again find an allowed tile at once while most are; then draw among them.
        for (int attempt = 0; !rule_.Allowed(tile, column, row); ++attempt) {
            if (attempt == 8) {
                tile = Draw_Allowed(column, row);
                break;
            }
            tile = random_.Uniform_Below(count_);
        }
        rule_.Place(tile, column, row);
        return tile;
    }

    int Draw_Allowed(int column, int row) {
        std::vector<int> allowed;
        for (int tile = 0; tile < count_; ++tile)
            if (rule_.Allowed(tile, column, row)) allowed.push_back(tile);
        if (allowed.empty()) return rule_.Farthest(All_Tiles(count_), column, row);
        return allowed[static_cast<std::size_t>(random_.Uniform_Below(static_cast<int>(allowed.size())))];
    }

    int count_;
    Random_Source& random_;
    Use_Rule rule_;
};

// A bag of every tile in shuffled order, taken from the front. Where the minimum distance bars
// every tile left in the bag, the next round is put in behind them and the first allowed tile
// taken, so the distance wins over the order of rounds.
class Shuffled_Bag final : public Row_Chooser {
public:
    Shuffled_Bag(const Tile_Rules& rules, int tiles, Random_Source& random)
        : count_(tiles * (rules.mirror ? 2 : 1)), random_(random), rule_(rules, tiles) {}

private:
    Use_Rule& Rule() override { return rule_; }
    int Choose_Cell(int column, int row) override {
        if (next_ == bag_.size()) Add_Round();
        const auto allowed = [&](int tile) { return rule_.Allowed(tile, column, row); };
        auto pick = std::find_if(bag_.begin() + static_cast<std::ptrdiff_t>(next_), bag_.end(), allowed);
        if (pick == bag_.end() && bag_.size() - next_ < 2 * static_cast<std::size_t>(count_)) {
            Add_Round();
            pick = std::find_if(bag_.begin() + static_cast<std::ptrdiff_t>(next_), bag_.end(), allowed);
        }
        if (pick == bag_.end()) {
            int farthest = rule_.Farthest(Left(), column, row);
            if (farthest < 0) {  // every tile left in the bag has been used as often as the cap allows
                Add_Round();
                farthest = rule_.Farthest(Left(), column, row);
            }
            pick = std::find(bag_.begin() + static_cast<std::ptrdiff_t>(next_), bag_.end(), farthest);
        }
        std::rotate(bag_.begin() + static_cast<std::ptrdiff_t>(next_), pick, pick + 1);
        const int tile = bag_[next_++];
        rule_.Place(tile, column, row);
        return tile;
    }

    std::span<const int> Left() const { return {bag_.data() + next_, bag_.size() - next_}; }
    void Add_Round() {
        bag_.erase(bag_.begin(), bag_.begin() + static_cast<std::ptrdiff_t>(next_));
        next_ = 0;
        std::vector<int> round = All_Tiles(count_);
        for (int i = count_ - 1; i > 0; --i) std::swap(round[static_cast<std::size_t>(i)], round[static_cast<std::size_t>(random_.Uniform_Below(i + 1))]);
        bag_.insert(bag_.end(), round.begin(), round.end());
    }

    int count_;
    Random_Source& random_;
    Use_Rule rule_;
    std::vector<int> bag_;
    std::size_t next_ = 0;
};

// Tiles whose error lies within this share of the best, plus this squared difference per grid
// part and channel (4 levels), count as ties: in flat areas many tiles match about equally, and
// one of them would otherwise fill the area.
constexpr float kTie_Share = 0.1f;
constexpr float kTie_Squares = 16;

// The largest error that ties with the best.
float Tie_Limit(float best, const Cell_Look& look) {
    const int parts = static_cast<int>(std::count(look.visible.begin(), look.visible.end(), true));
    return best * (1 + kTie_Share) + kTie_Squares * 3 * parts;
}

// The squared difference between the cell and the tile shifted onto its target, over the
// visible grid parts, with the shift held within 0..255 as the pixels are (unless the look
// says otherwise).
float Match_Error(const Structure& t, const Cell_Look& look) {
    const float target[3] = {static_cast<float>(look.target.blue), static_cast<float>(look.target.green),
                             static_cast<float>(look.target.red)};
    float error = 0;
    for (int part = 0; part < kStructure_Grid * kStructure_Grid; ++part) {
        if (!look.visible[static_cast<std::size_t>(part)]) continue;
        for (int ch = 0; ch < 3; ++ch) {
            const std::size_t i = static_cast<std::size_t>(part * 3 + ch);
            const float shifted = look.clipped ? std::clamp(t[i] + target[ch], 0.0f, 255.0f) : t[i] + target[ch];
            const float d = shifted - (look.structure[i] + target[ch]);
            error += d * d;
        }
    }
    return error;
}

// Every tile's structure, and after it its mirror's when the rules mirror.
std::vector<Structure> Choice_Structures(std::vector<Structure> tiles, bool mirror) {
    if (!mirror) return tiles;
    std::vector<Structure> both;
    both.reserve(tiles.size() * 2);
    for (const Structure& s : tiles) {
        both.push_back(s);
        both.push_back(Mirrored(s));
    }
    return both;
}

class Best_Match final : public Tile_Chooser {
public:
    Best_Match(const Tile_Rules& rules, Random_Source& random, std::vector<Structure> tiles)
        : random_(random), rule_(rules, static_cast<int>(tiles.size())), index_(Choice_Structures(std::move(tiles), rules.mirror)) {}

    bool Needs_Looks() const override { return true; }
    void Find_Nearest(Cell_Look& look) const override { index_.Nearest(look.structure, kCandidates, look.nearest); }

    int Choose(int column, int row, const Cell_Look* look) override {
        scored_.clear();
        for (int tile : look->nearest)
            if (rule_.Allowed(tile, column, row)) scored_.push_back({Error(tile, *look), tile});
        if (scored_.empty()) {  // the minimum distance bars every near tile: look at them all
            for (int tile = 0; tile < index_.Size(); ++tile)
                if (rule_.Allowed(tile, column, row)) scored_.push_back({Error(tile, *look), tile});
        }
        int tile;
        if (scored_.empty()) {
            std::vector<int> by_match = All_Tiles(index_.Size());
            std::stable_sort(by_match.begin(), by_match.end(),
                             [&](int a, int b) { return Error(a, *look) < Error(b, *look); });
            tile = rule_.Farthest(by_match, column, row);
        } else {
            std::sort(scored_.begin(), scored_.end());
            const float tie = Tie_Limit(scored_.front().first, *look);
            const auto near = std::find_if(scored_.begin(), scored_.end(), [&](const auto& s) { return s.first > tie; });
            tile = scored_[static_cast<std::size_t>(random_.Uniform_Below(static_cast<int>(near - scored_.begin())))].second;
        }
        rule_.Place(tile, column, row);
        return tile;
    }

private:
    // How many tiles the index offers for each cell, measured in full.
    static constexpr int kCandidates = 24;

    float Error(int tile, const Cell_Look& look) const { return Match_Error(index_.Tile(tile), look); }

    Random_Source& random_;
    Use_Rule rule_;
    Structure_Index index_;
    std::vector<std::pair<float, int>> scored_;
};

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
                Measure(cell, problem);
                std::vector<int>().swap(looks_[cell].nearest);
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

    // The cell's nearest choices with their costs, one per tile (the cheaper way round), into
    // the cell's candidates and the problem.
    void Measure(std::size_t cell, Capped_Assignment_Problem& problem) {
        const Cell_Look& look = looks_[cell];
        std::vector<std::pair<int, std::int64_t>>& measured = candidates_[cell];
        measured.clear();
        float best = std::numeric_limits<float>::max();
        std::vector<float> errors;
        for (int choice : look.nearest) {
            errors.push_back(Match_Error(index_.Tile(choice), look));
            best = std::min(best, errors.back());
        }
        const float band = Tie_Limit(best, look) - best;
        std::int64_t dearest = 0;
        std::vector<std::pair<int, std::int64_t>> by_tile;
        for (std::size_t k = 0; k < errors.size(); ++k) {
            const std::int64_t cost = std::llround(
                (errors[k] + band * static_cast<float>(random_.Uniform_Below(kJitter_Steps)) / kJitter_Steps) * kCost_Scale);
            measured.push_back({look.nearest[k], cost});
            dearest = std::max(dearest, cost);
            const int tile = look.nearest[k] / rule_.Ways();
            const auto same = std::find_if(by_tile.begin(), by_tile.end(), [&](const auto& c) { return c.first == tile; });
            if (same == by_tile.end())
                by_tile.push_back({tile, cost});
            else
                same->second = std::min(same->second, cost);
        }
        problem.Add_Cell(by_tile, dearest + std::llround(band * kCost_Scale));
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
            Capped_Assignment_Problem unused;
            Measure(cell, unused);
            std::vector<int>().swap(looks_[cell].nearest);
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
    std::vector<int> planned_;       // each of the band's cells' choice
    std::vector<int> planned_uses_;  // of each tile, by the band's cells still to come
    std::vector<int> share_;         // each band's uses of each tile, band by band
    std::vector<int> reserved_;      // each tile's uses kept for the bands after the one planned
};

}  // namespace

const char* Choice_Word(Tile_Choice choice) { return kTile_Choice_Names[static_cast<std::size_t>(choice)].word; }

std::optional<Tile_Choice> Choice_Of_Word(const std::string& word) {
    for (const Tile_Choice_Name& name : kTile_Choice_Names)
        if (word == name.word) return name.choice;
    return std::nullopt;
}

std::string Choice_Words_Text() {
    std::string text;
    for (std::size_t i = 0; i < kTile_Choice_Names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == kTile_Choice_Names.size() ? " or " : ", ") + std::string(kTile_Choice_Names[i].word);
    return text;
}

std::unique_ptr<Tile_Chooser> Make_Tile_Chooser(Tile_Choice choice, Tile_Rules rules, int tile_count,
                                                Random_Source& random, std::vector<Structure> tile_structures) {
    switch (choice) {
        case Tile_Choice::Shuffle: return std::make_unique<Shuffled_Bag>(rules, tile_count, random);
        case Tile_Choice::Best:
            if (rules.max_uses > 0) return std::make_unique<Capped_Best_Match>(rules, random, std::move(tile_structures));
            return std::make_unique<Best_Match>(rules, random, std::move(tile_structures));
        case Tile_Choice::Random: break;
    }
    return std::make_unique<Random_Choice>(rules, tile_count, random);
}

}  // namespace tilvane
