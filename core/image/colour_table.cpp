#include "colour_table.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <limits>

namespace tilvane {
namespace {

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

// Nearest-colour search over boxes of 8 x 8 x 8 colours. For each box it keeps the entries that
// can be nearest to some colour in it: those no farther from the box than the farthest point of
// the box is from the entry that is nearest to it at worst. Any entry that wins or ties for a
// colour of the box is among them, so a search of them in index order gives the exact answer.
// A box's list is worked out when a colour first falls in it; threads that race to work out
// the same box get the same list, and one of them is kept.
class ColourTable::Nearest_Search {
public:
    explicit Nearest_Search(std::vector<Colour> entries)
        : entries_(std::move(entries)), repeated_(entries_.size()), boxes_(new std::atomic<const std::uint16_t*>[kBoxes]()) {
        // A repeated colour never beats its first occurrence.
        for (std::size_t i = 0; i < entries_.size(); ++i)
            repeated_[i] = std::find(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(i), entries_[i]) !=
                           entries_.begin() + static_cast<std::ptrdiff_t>(i);
    }
    ~Nearest_Search() {
        for (std::size_t i = 0; i < kBoxes; ++i) delete[] boxes_[i].load(std::memory_order_relaxed);
    }
    Nearest_Search(const Nearest_Search&) = delete;
    Nearest_Search& operator=(const Nearest_Search&) = delete;

    int Index(Colour c) const {
        const std::size_t box = std::size_t{c.red} >> kShift << (2 * kBoxBits) | std::size_t{c.green} >> kShift << kBoxBits |
                                std::size_t{c.blue} >> kShift;
        const std::uint16_t* list = boxes_[box].load(std::memory_order_acquire);
        if (list == nullptr) list = Work_Out(box);
        // list[0] is the count, then the entries' indices in increasing order.
        if (list[0] == 1) return list[1];
        int best = list[1];
        int best_distance = std::numeric_limits<int>::max();
        for (std::uint16_t i = 1; i <= list[0]; ++i) {
            const Colour& e = entries_[list[i]];
            const int dr = e.red - c.red, dg = e.green - c.green, db = e.blue - c.blue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < best_distance) {
                best_distance = distance;
                best = list[i];
            }
        }
        return best;
    }

private:
    static constexpr int kBoxBits = 5;
    static constexpr int kShift = 8 - kBoxBits;
    static constexpr std::size_t kBoxes = std::size_t{1} << (3 * kBoxBits);

    const std::uint16_t* Work_Out(std::size_t box) const {
        const int low[3] = {static_cast<int>(box >> (2 * kBoxBits)) << kShift,
                            static_cast<int>(box >> kBoxBits & ((1 << kBoxBits) - 1)) << kShift,
                            static_cast<int>(box & ((1 << kBoxBits) - 1)) << kShift};
        const auto squared = [](int d) { return d * d; };
        std::vector<int> nearest(entries_.size()), farthest(entries_.size());
        int bound = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const int value[3] = {entries_[i].red, entries_[i].green, entries_[i].blue};
            for (int ch = 0; ch < 3; ++ch) {
                const int lo = low[ch], hi = low[ch] + (1 << kShift) - 1;
                nearest[i] += squared(value[ch] < lo ? lo - value[ch] : value[ch] > hi ? value[ch] - hi : 0);
                farthest[i] += squared(std::max(std::abs(value[ch] - lo), std::abs(value[ch] - hi)));
            }
            bound = std::min(bound, farthest[i]);
        }
        std::vector<std::uint16_t> list{0};
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (nearest[i] <= bound && !repeated_[i]) list.push_back(static_cast<std::uint16_t>(i));
        list[0] = static_cast<std::uint16_t>(list.size() - 1);

        auto* made = new std::uint16_t[list.size()];
        std::copy(list.begin(), list.end(), made);
        const std::uint16_t* expected = nullptr;
        if (boxes_[box].compare_exchange_strong(expected, made, std::memory_order_acq_rel)) return made;
        delete[] made;
        return expected;
    }

    std::vector<Colour> entries_;
    std::vector<bool> repeated_;
    std::unique_ptr<std::atomic<const std::uint16_t*>[]> boxes_;
};

ColourTable::ColourTable(std::vector<Colour> entries) : entries_(std::move(entries)) {
    if (entries_.empty()) entries_.push_back(kBlack);
    search_ = std::make_shared<const Nearest_Search>(entries_);
}

ColourTable ColourTable::standard(PixelFormat format) {
    // One of each, so that every image of a standard table shares what its search has learnt.
    static const ColourTable one_bit({kBlack, kWhite});
    static const ColourTable four_bit(vga_colours());
    static const ColourTable eight_bit(cube_and_greys());
    switch (format) {
        case PixelFormat::Bits1: return one_bit;
        case PixelFormat::Bits4: return four_bit;
        case PixelFormat::Bits8: return eight_bit;
        default: return {};
    }
}

int ColourTable::nearest_index(Colour c) const { return search_->Index(c); }

}  // namespace tilvane
