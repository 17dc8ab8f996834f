#include "tiles/tile_list.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace tilvane::tiles {

int Tile_List::Find_Tile_Item(const std::string& text) const { return Find_Key(sort_key_(text)); }

int Tile_List::Find_Key(const std::string& key) const {
    int low = 0;
    int high = Count() - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int comparison = key.compare(keys_[static_cast<std::size_t>(middle)]);
        if (comparison == 0) return middle;
        if (comparison < 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return -1;
}

int Tile_List::Add_Tile_Unless_Listed(std::string item) {
    std::string key = sort_key_(item);
    if (Find_Key(key) >= 0) return -1;
    const auto place = std::upper_bound(keys_.begin(), keys_.end(), key);
    const auto index = place - keys_.begin();
    keys_.insert(place, std::move(key));
    items_.insert(items_.begin() + index, std::move(item));
    return static_cast<int>(index);
}

std::vector<int> Tile_List::Add_Tiles_Unless_Listed(std::vector<std::string> items) {
    return Merge_In(std::move(items), Duplicates::Skip);
}

void Tile_List::Insert_Items(std::vector<std::string> items) { Merge_In(std::move(items), Duplicates::Keep); }

// Sorting the newcomers and merging them costs O(n + m log m) where inserting them one at a time
// would move the list's tail m times.
std::vector<int> Tile_List::Merge_In(std::vector<std::string> incoming, Duplicates duplicates) {
    std::vector<std::string> incoming_keys;
    incoming_keys.reserve(incoming.size());
    for (const std::string& item : incoming) incoming_keys.push_back(sort_key_(item));
    std::vector<std::size_t> order(incoming.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto less = [&](std::size_t a, std::size_t b) { return incoming_keys[a] < incoming_keys[b]; };
    // Stable, so that equal newcomers keep the order in which they were given. A list file comes
    // back in the order it was saved in, so checking first spares the sort.
    if (!std::is_sorted(order.begin(), order.end(), less)) std::stable_sort(order.begin(), order.end(), less);
    if (duplicates == Duplicates::Skip) {
        const auto equal = [&](std::size_t a, std::size_t b) { return incoming_keys[a] == incoming_keys[b]; };
        order.erase(std::unique(order.begin(), order.end(), equal), order.end());
    }

    std::vector<std::string> merged_items, merged_keys;
    merged_items.reserve(items_.size() + order.size());
    merged_keys.reserve(items_.size() + order.size());
    std::vector<int> added;
    std::size_t listed = 0;
    for (const std::size_t newcomer : order) {
        const std::string& key = incoming_keys[newcomer];
        // Listed items equal to the newcomer stay ahead of it, as one-by-one insertion leaves them.
        bool equal_listed = false;
        for (int comparison; listed < keys_.size() && (comparison = keys_[listed].compare(key)) <= 0; ++listed) {
            equal_listed = equal_listed || comparison == 0;
            merged_items.push_back(std::move(items_[listed]));
            merged_keys.push_back(std::move(keys_[listed]));
        }
        if (duplicates == Duplicates::Skip && equal_listed) continue;
        added.push_back(static_cast<int>(merged_items.size()));
        merged_items.push_back(std::move(incoming[newcomer]));
        merged_keys.push_back(std::move(incoming_keys[newcomer]));
    }
    for (; listed < keys_.size(); ++listed) {
        merged_items.push_back(std::move(items_[listed]));
        merged_keys.push_back(std::move(keys_[listed]));
    }
    items_ = std::move(merged_items);
    keys_ = std::move(merged_keys);
    return added;
}

void Tile_List::Delete_Item(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("Tile_List::Delete_Item: index out of range");
    items_.erase(items_.begin() + index);
    keys_.erase(keys_.begin() + index);
}

int Tile_List::Delete_Selected_Tiles(std::span<const int> selected) {
    // Marking first and compacting once keeps the deletion linear however many are selected.
    std::vector<bool> doomed(items_.size(), false);
    for (const int index : selected) {
        if (index < 0 || index >= Count())
            throw std::out_of_range("Tile_List::Delete_Selected_Tiles: index out of range");
        doomed[static_cast<std::size_t>(index)] = true;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (doomed[i]) continue;
        if (kept != i) {
            items_[kept] = std::move(items_[i]);
            keys_[kept] = std::move(keys_[i]);
        }
        ++kept;
    }
    const int deleted = Count() - static_cast<int>(kept);
    items_.resize(kept);
    keys_.resize(kept);
    return deleted;
}

std::string Tile_List::Random_Tile(Random_Source& random) const { return tiles::Random_Tile(items_, random); }

const std::string& Random_Tile(std::span<const std::string> items, Random_Source& random) {
    static const std::string none;
    if (items.empty()) return none;
    return items[static_cast<std::size_t>(random.Uniform_Below(static_cast<int>(items.size())))];
}

std::vector<int> Selection_After_Adding(std::span<const int> selected, std::span<const int> added) {
    std::vector<int> moved;
    moved.reserve(selected.size());
    std::size_t passed = 0;  // added items at or before the place the selected item moves to
    for (const int index : selected) {
        while (passed < added.size() && added[passed] <= index + static_cast<int>(passed)) ++passed;
        moved.push_back(index + static_cast<int>(passed));
    }
    return moved;
}

}  // namespace tilvane::tiles
