#pragma once
// The tile list: the always-sorted sequence of tile paths. This model is the source of truth; the
// program's list box mirrors it and never sorts by a rule of its own.
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "support/random_source.h"

namespace tilvane::tiles {

// Makes an item's sort key. Keys compared byte by byte give the list's one order: it keeps the
// list sorted, finds items and decides duplicates. The program passes the user's locale sort key
// with letter case ignored; a key is made once per item, which is far cheaper than a locale
// comparison per step of every search and merge.
using Sort_Key_Maker = std::function<std::string(const std::string& item)>;

class Tile_List {
public:
    explicit Tile_List(Sort_Key_Maker sort_key) : sort_key_(std::move(sort_key)) {}

    [[nodiscard]] int Count() const { return static_cast<int>(items_.size()); }
    [[nodiscard]] bool Empty() const { return items_.empty(); }
    // Throws std::out_of_range for an index outside 0 .. Count() - 1.
    [[nodiscard]] const std::string& Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    [[nodiscard]] const std::vector<std::string>& Items() const { return items_; }

    // Binary search with the list's order: the index of an item equal to text, or -1.
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

    void Clear() {
        items_.clear();
        keys_.clear();
    }

    // The item at an index drawn uniformly from the whole list; empty text for an empty list.
    [[nodiscard]] std::string Random_Tile(Random_Source& random) const;

private:
    enum class Duplicates { Keep, Skip };
    std::vector<int> Merge_In(std::vector<std::string> incoming, Duplicates duplicates);
    [[nodiscard]] int Find_Key(const std::string& key) const;

    Sort_Key_Maker sort_key_;
    std::vector<std::string> items_;
    std::vector<std::string> keys_;  // keys_[i] is the sort key of items_[i]
};

// An item drawn uniformly from items, each equally likely; empty text when there are none. The
// list's Random_Tile and the mosaic build both draw through it.
[[nodiscard]] const std::string& Random_Tile(std::span<const std::string> items, Random_Source& random);

// Where the selected indexes (ascending) of a list go when items are added at the indexes `added`
// (ascending, as the list holds them afterwards): each moves down by the added items before it.
[[nodiscard]] std::vector<int> Selection_After_Adding(std::span<const int> selected, std::span<const int> added);

}  // namespace tilvane::tiles
