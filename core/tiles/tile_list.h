#pragma once
// The tile list: the always-sorted sequence of tile paths. This model is the source of truth; the
// program's list box mirrors it and never sorts by a rule of its own.
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "shell/random_source.h"

namespace tilvane::tiles {

// Three-way comparison: negative, zero or positive as a sorts before, equal to or after b. One
// comparison keeps the order, finds items and decides duplicates; the program passes the user's
// locale comparison with letter case ignored.
using Tile_Order = std::function<int(const std::string& a, const std::string& b)>;

class Tile_List {
public:
    explicit Tile_List(Tile_Order order) : order_(std::move(order)) {}

    [[nodiscard]] int Count() const { return static_cast<int>(items_.size()); }
    [[nodiscard]] bool Empty() const { return items_.empty(); }
    // Throws std::out_of_range for an index outside 0 .. Count() - 1.
    [[nodiscard]] const std::string& Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    [[nodiscard]] const std::vector<std::string>& Items() const { return items_; }

    // Binary search with the list's comparison: the index of an item equal to text, or -1.
    [[nodiscard]] int Find_Tile_Item(const std::string& text) const;

    // Adds item at its sorted place unless an equal item is listed. Returns the new item's
    // index, or -1 when it was already listed (and nothing changed).
    int Add_Tile_Unless_Listed(std::string item);

    // Adds, in one pass, what adding the items one by one in the given order would add: each
    // item unless an equal one is listed or came earlier among items. Returns the indexes, in
    // ascending order, that the added items hold afterwards.
    std::vector<int> Add_Tiles_Unless_Listed(std::vector<std::string> items);

    // Inserts every item, duplicates included, at the places that one-by-one insertion in the
    // given order would give: after any equal items already there.
    void Insert_Items(std::vector<std::string> items);

    // Throws std::out_of_range for an index outside the list.
    void Delete_Item(int index);

    // Deletes the items at the selected indexes (in any order; repeats count once) and returns
    // how many went. Throws std::out_of_range, changing nothing, if any index is outside the list.
    int Delete_Selected_Tiles(std::span<const int> selected);

    void Clear() { items_.clear(); }

    // The item at an index drawn uniformly from the whole list; empty text for an empty list.
    [[nodiscard]] std::string Random_Tile(shell::Random_Source& random) const;

private:
    enum class Duplicates { Keep, Skip };
    std::vector<int> Merge_In(std::vector<std::string> incoming, Duplicates duplicates);

    Tile_Order order_;
    std::vector<std::string> items_;
};

}  // namespace tilvane::tiles
