#include "colour_table.h"

#include <limits>

namespace tilvane {
namespace {

constexpr std::size_t kCacheSlots = 1 << 12;

std::size_t cache_slot(std::uint32_t key) {
    return (key * 2654435761u) >> 20 & (kCacheSlots - 1);
}

std::vector<Colour> vga_colours() {
    return {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
            {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
            {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
            {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
}

// 216 cube colours at 0, 51, ..., 255 per channel, then 40 evenly spaced greys, which the cube
// alone renders poorly.
std::vector<Colour> cube_and_greys() {
    std::vector<Colour> entries;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                entries.push_back({static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                                   static_cast<std::uint8_t>(b * 51)});
    for (int k = 1; k <= 40; ++k) {
        const auto v = static_cast<std::uint8_t>((k * 255 + 20) / 41);
        entries.push_back({v, v, v});
    }
    return entries;
}

}  // namespace

ColourTable::ColourTable(std::vector<Colour> entries) : entries_(std::move(entries)) {
    if (entries_.empty()) entries_.push_back(kBlack);
}

ColourTable ColourTable::standard(PixelFormat format) {
    switch (format) {
        case PixelFormat::Bits1: return ColourTable({kBlack, kWhite});
        case PixelFormat::Bits4: return ColourTable(vga_colours());
        case PixelFormat::Bits8: return ColourTable(cube_and_greys());
        default: return {};
    }
}

int ColourTable::nearest_index(Colour c) const {
    const std::uint32_t key = c.packed();
    if (cache_.empty()) cache_.resize(kCacheSlots);
    CacheSlot& slot = cache_[cache_slot(key)];
    if (slot.key != key) slot = {key, search(c)};
    return slot.index;
}

int ColourTable::search(Colour c) const {
    int best = 0;
    int best_distance = std::numeric_limits<int>::max();
    for (int i = 0; i < size(); ++i) {
        const Colour& e = entries_[static_cast<std::size_t>(i)];
        const int dr = e.red - c.red, dg = e.green - c.green, db = e.blue - c.blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best_distance) {
            best_distance = distance;
            best = i;
            if (distance == 0) break;
        }
    }
    return best;
}

}  // namespace tilvane
