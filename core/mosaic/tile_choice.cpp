#include "tile_choice.h"

#include <algorithm>
#include <optional>

#include "mosaic/capped_best_match.h"
#include "mosaic/tile_choice_rules.h"

namespace tilvane {
namespace {

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
            if (rules.max_uses > 0) return Make_Capped_Best_Match(rules, random, std::move(tile_structures));
            return std::make_unique<Best_Match>(rules, random, std::move(tile_structures));
        case Tile_Choice::Random: break;
    }
    return std::make_unique<Random_Choice>(rules, tile_count, random);
}

}  // namespace tilvane
