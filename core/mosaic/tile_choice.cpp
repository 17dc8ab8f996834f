#include "tile_choice.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace tilvane {
namespace {

constexpr const char* kChoiceWords[] = {"random", "shuffle", "best"};

// Where each tile went in the last rows that the minimum distance reaches.
class Repeat_Rule {
public:
    Repeat_Rule(int distance, int tile_count) : distance_(distance), uses_(distance > 0 ? tile_count : 0) {}

    bool Active() const { return distance_ > 0; }
    bool Allowed(int tile, int column, int row) { return !Active() || Nearest_Use(tile, column, row) > distance_; }
    void Place(int tile, int column, int row) {
        if (Active()) uses_[static_cast<std::size_t>(tile)].push_back({column, row});
    }

    // The first of tiles whose nearest use is farthest from the cell.
    int Farthest(std::span<const int> tiles, int column, int row) {
        int chosen = tiles.front(), farthest = -1;
        for (int tile : tiles)
            if (const int d = Nearest_Use(tile, column, row); d > farthest) chosen = tile, farthest = d;
        return chosen;
    }

private:
    struct Use {
        int column, row;
    };
    // Chebyshev distance to the tile's nearest use, or distance_ + 1 when none is within reach.
    int Nearest_Use(int tile, int column, int row) {
        std::vector<Use>& uses = uses_[static_cast<std::size_t>(tile)];
        std::erase_if(uses, [&](const Use& use) { return row - use.row > distance_; });
        int nearest = distance_ + 1;
        for (const Use& use : uses) nearest = std::min(nearest, std::max(row - use.row, std::abs(column - use.column)));
        return nearest;
    }

    int distance_;
    std::vector<std::vector<Use>> uses_;
};

std::vector<int> All_Tiles(int count) {
    std::vector<int> all(static_cast<std::size_t>(count));
    std::iota(all.begin(), all.end(), 0);
    return all;
}

class Random_Choice final : public Tile_Chooser {
public:
    Random_Choice(int min_distance, int count, Random_Source& random)
        : count_(count), random_(random), rule_(min_distance, count) {}

    int Choose(int column, int row, const Cell_Look*) override {
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

private:
    int Draw_Allowed(int column, int row) {
        std::vector<int> allowed;
        for (int tile = 0; tile < count_; ++tile)
            if (rule_.Allowed(tile, column, row)) allowed.push_back(tile);
        if (allowed.empty()) return rule_.Farthest(All_Tiles(count_), column, row);
        return allowed[static_cast<std::size_t>(random_.Uniform_Below(static_cast<int>(allowed.size())))];
    }

    int count_;
    Random_Source& random_;
    Repeat_Rule rule_;
};

// A bag of every tile in shuffled order, taken from the front. Where the minimum distance bars
// every tile left in the bag, the next round is put in behind them and the first allowed tile
// taken, so the distance wins over the order of rounds.
class Shuffled_Bag final : public Tile_Chooser {
public:
    Shuffled_Bag(int min_distance, int count, Random_Source& random)
        : count_(count), random_(random), rule_(min_distance, count) {}

    int Choose(int column, int row, const Cell_Look*) override {
        if (next_ == bag_.size()) Add_Round();
        const auto allowed = [&](int tile) { return rule_.Allowed(tile, column, row); };
        auto pick = std::find_if(bag_.begin() + static_cast<std::ptrdiff_t>(next_), bag_.end(), allowed);
        if (pick == bag_.end() && bag_.size() - next_ < 2 * static_cast<std::size_t>(count_)) {
            Add_Round();
            pick = std::find_if(bag_.begin() + static_cast<std::ptrdiff_t>(next_), bag_.end(), allowed);
        }
        if (pick == bag_.end()) {
            const std::span<const int> left(bag_.data() + next_, bag_.size() - next_);
            pick = bag_.begin() + static_cast<std::ptrdiff_t>(next_) +
                   (std::find(left.begin(), left.end(), rule_.Farthest(left, column, row)) - left.begin());
        }
        std::rotate(bag_.begin() + static_cast<std::ptrdiff_t>(next_), pick, pick + 1);
        const int tile = bag_[next_++];
        rule_.Place(tile, column, row);
        return tile;
    }

private:
    void Add_Round() {
        bag_.erase(bag_.begin(), bag_.begin() + static_cast<std::ptrdiff_t>(next_));
        next_ = 0;
        std::vector<int> round = All_Tiles(count_);
        for (int i = count_ - 1; i > 0; --i) std::swap(round[static_cast<std::size_t>(i)], round[static_cast<std::size_t>(random_.Uniform_Below(i + 1))]);
        bag_.insert(bag_.end(), round.begin(), round.end());
    }

    int count_;
    Random_Source& random_;
    Repeat_Rule rule_;
    std::vector<int> bag_;
    std::size_t next_ = 0;
};

class Best_Match final : public Tile_Chooser {
public:
    Best_Match(int min_distance, Random_Source& random, std::vector<Structure> tiles)
        : random_(random), index_(std::move(tiles)), rule_(min_distance, index_.Size()) {}

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
            const int parts = static_cast<int>(std::count(look->visible.begin(), look->visible.end(), true));
            const float tie = scored_.front().first * (1 + kTieShare) + kTieSquares * 3 * parts;
            const auto near = std::find_if(scored_.begin(), scored_.end(), [&](const auto& s) { return s.first > tie; });
            tile = scored_[static_cast<std::size_t>(random_.Uniform_Below(static_cast<int>(near - scored_.begin())))].second;
        }
        rule_.Place(tile, column, row);
        return tile;
    }

private:
    // How many tiles the index offers for each cell, measured in full.
    static constexpr int kCandidates = 24;
    // Tiles whose error lies within this share of the best, plus this squared difference per
    // grid part and channel (4 levels), count as ties: in flat areas many tiles match about
    // equally, and one of them would otherwise fill the area.
    static constexpr float kTieShare = 0.1f;
    static constexpr float kTieSquares = 16;

    // The squared difference between the cell and the tile shifted onto its target, over the
    // visible grid parts, with the shift held within 0..255 as the pixels are (unless the look
    // says otherwise).
    float Error(int tile, const Cell_Look& look) const {
        const Structure& t = index_.Tile(tile);
        const float target[3] = {static_cast<float>(look.target.blue), static_cast<float>(look.target.green),
                                 static_cast<float>(look.target.red)};
        float error = 0;
        for (int part = 0; part < kStructureGrid * kStructureGrid; ++part) {
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

    Random_Source& random_;
    Structure_Index index_;
    Repeat_Rule rule_;
    std::vector<std::pair<float, int>> scored_;
};

}  // namespace

const char* Choice_Word(Tile_Choice choice) { return kChoiceWords[static_cast<int>(choice)]; }

std::optional<Tile_Choice> Choice_Of_Word(const std::string& word) {
    for (int i = 0; i < 3; ++i)
        if (word == kChoiceWords[i]) return static_cast<Tile_Choice>(i);
    return std::nullopt;
}

std::unique_ptr<Tile_Chooser> Make_Tile_Chooser(Tile_Choice choice, int min_distance, int tile_count,
                                                Random_Source& random, std::vector<Structure> tile_structures) {
    switch (choice) {
        case Tile_Choice::Shuffle: return std::make_unique<Shuffled_Bag>(min_distance, tile_count, random);
        case Tile_Choice::Best: return std::make_unique<Best_Match>(min_distance, random, std::move(tile_structures));
        case Tile_Choice::Random: break;
    }
    return std::make_unique<Random_Choice>(min_distance, tile_count, random);
}

}  // namespace tilvane
