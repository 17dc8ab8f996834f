#include "tiles/tile_list.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace tilvane::tiles {

int Tile_List::Find_Tile_Item(const std::string& text) const {
    int low = 0;
    int high = Count() - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int comparison = order_(text, items_[static_cast<std::size_t>(middle)]);
        if (comparison == 0) return middle;
        if (comparison < 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return -1;
}

int Tile_List::Add_Tile_Unless_Listed(std::string item) {
    if (Find_Tile_Item(item) >= 0) return -1;
    const auto place = std::upper_bound(items_.begin(), items_.end(), item,
                                        [this](const std::string& a, const std::string& b) { return order_(a, b) < 0; });
    const auto index = place - items_.begin();
    items_.insert(place, std::move(item));
    return static_cast<int>(index);
}

std::vector<int> Tile_List::Add_Tiles_Unless_Listed(std::vector<std::string> items) {
    return Merge_In(std::move(items), Duplicates::Skip);
}

void Tile_List::Insert_Items(std::vector<std::string> items) { Merge_In(std::move(items), Duplicates::Keep); }

// Sorting the newcomers and merging them costs O(n + m log m) where inserting them one at a time
// would move the list's tail m times.
std::vector<int> Tile_List::Merge_In(std::vector<std::string> incoming, Duplicates duplicates) {
    const auto less = [this](const std::string& a, const std::string& b) { return order_(a, b) < 0; };
    // Stable, so that equal newcomers keep the order in which they were given. A list file comes
    // back in the order it was saved in, so checking first spares the sort's comparisons.
    if (!std::is_sorted(incoming.begin(), incoming.end(), less)) std::stable_sort(incoming.begin(), incoming.end(), less);
    if (duplicates == Duplicates::Skip) {
        const auto equal = [this](const std::string& a, const std::string& b) { return order_(a, b) == 0; };
        incoming.erase(std::unique(incoming.begin(), incoming.end(), equal), incoming.end());
    }

    std::vector<std::string> merged;
    merged.reserve(items_.size() + incoming.size());
    std::vector<int> added;
    auto listed = items_.begin();
    for (std::string& item : incoming) {
        // Listed items equal to the newcomer stay ahead of it, as one-by-one insertion leaves them.
        bool equal_listed = false;
        for (int comparison; listed != items_.end() && (comparison = order_(*listed, item)) <= 0; ++listed) {
            equal_listed = equal_listed || comparison == 0;
            merged.push_back(std::move(*listed));
        }
        if (duplicates == Duplicates::Skip && equal_listed) continue;
        added.push_back(static_cast<int>(merged.size()));
        merged.push_back(std::move(item));
    }
    std::move(listed, items_.end(), std::back_inserter(merged));
    items_ = std::move(merged);
    return added;
}

void Tile_List::Delete_Item(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("Tile_List::Delete_Item: index out of range");
    items_.erase(items_.begin() + index);
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
        if (kept != i) items_[kept] = std::move(items_[i]);
        ++kept;
    }
    const int deleted = Count() - static_cast<int>(kept);
    items_.resize(kept);
    return deleted;
}

std::string Tile_List::Random_Tile(shell::Random_Source& random) const {
    if (items_.empty()) return {};
    return Item(random.Uniform_Below(Count()));
}

}  // namespace tilvane::tiles
