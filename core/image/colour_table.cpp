#include "colour_table.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <limits>
#include <stdexcept>

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

// Nearest-colour look-up over boxes of 8 x 8 x 8 colours. The first colour that falls in a box
// works out the answer for all 512 colours of the box, searching only the entries that can be
// nearest to some colour in it: those no farther from the box than the farthest point of the
// box is from the entry nearest to it at worst. Any entry that wins or ties for a colour of the
// box is among them, so searching them in index order gives the exact answer. Most boxes have one
// answer for all their colours; a small summary per box holds it, so that the look-ups of a large
// picture mostly stay in the processor's cache. Threads that race to work out the same box get
// the same answers, and one of them is kept.
class ColourTable::Nearest_Search {
public:
    explicit Nearest_Search(std::vector<Colour> entries)
        : entries_(std::move(entries)), first_(entries_.size()), summaries_(new std::atomic<std::uint16_t>[kBoxes]),
          boxes_(new std::atomic<const std::uint8_t*>[kBoxes]()) {
        for (std::size_t i = 0; i < kBoxes; ++i) summaries_[i].store(kUnknown, std::memory_order_relaxed);
        for (std::size_t i = 0; i < entries_.size(); ++i)
            first_[i] = std::find(entries_.begin(), entries_.end(), entries_[i]) == entries_.begin() + static_cast<std::ptrdiff_t>(i);
    }
    ~Nearest_Search() {
        for (std::size_t i = 0; i < kBoxes; ++i) delete[] boxes_[i].load(std::memory_order_relaxed);
    }
    Nearest_Search(const Nearest_Search&) = delete;
    Nearest_Search& operator=(const Nearest_Search&) = delete;

    int Index(Colour c) const { return Index(c.red, c.green, c.blue); }

    int Index(unsigned red, unsigned green, unsigned blue) const {
        const std::size_t box = red >> kShift << (2 * kBoxBits) | green >> kShift << kBoxBits | blue >> kShift;
        std::uint16_t summary = summaries_[box].load(std::memory_order_acquire);
        if (summary == kUnknown) summary = Work_Out(box);
        if (summary != kMixed) return summary;
        return boxes_[box].load(std::memory_order_relaxed)[(red & kInBox) << (2 * kShift) | (green & kInBox) << kShift |
                                                           (blue & kInBox)];
    }

private:
    static constexpr int kBoxBits = 5;
    static constexpr int kShift = 8 - kBoxBits;
    static constexpr unsigned kInBox = (1u << kShift) - 1;
    static constexpr std::size_t kBoxes = std::size_t{1} << (3 * kBoxBits);
    // A box's summary: the one answer for all its colours, or one of these.
    static constexpr std::uint16_t kUnknown = 0xFFFF;  // not worked out yet
    static constexpr std::uint16_t kMixed = 0xFFFE;    // answers differ: see boxes_

    std::uint16_t Work_Out(std::size_t box) const {
        const int low[3] = {static_cast<int>(box >> (2 * kBoxBits)) << kShift,
                            static_cast<int>(box >> kBoxBits & ((1 << kBoxBits) - 1)) << kShift,
                            static_cast<int>(box & ((1 << kBoxBits) - 1)) << kShift};
        const auto squared = [](int d) { return d * d; };
        std::vector<int> nearest(entries_.size()), farthest(entries_.size());
        int bound = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const int value[3] = {entries_[i].red, entries_[i].green, entries_[i].blue};
            for (int ch = 0; ch < 3; ++ch) {
                const int lo = low[ch], hi = low[ch] + static_cast<int>(kInBox);
                nearest[i] += squared(value[ch] < lo ? lo - value[ch] : value[ch] > hi ? value[ch] - hi : 0);
                farthest[i] += squared(std::max(std::abs(value[ch] - lo), std::abs(value[ch] - hi)));
            }
            bound = std::min(bound, farthest[i]);
        }
        std::vector<std::size_t> candidates;
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (nearest[i] <= bound && first_[i]) candidates.push_back(i);
        if (candidates.size() == 1) return Publish(box, static_cast<std::uint16_t>(candidates.front()));

        auto* made = new std::uint8_t[std::size_t{1} << (3 * kShift)];
        std::size_t slot = 0;
        for (int r = low[0]; r <= low[0] + static_cast<int>(kInBox); ++r)
            for (int g = low[1]; g <= low[1] + static_cast<int>(kInBox); ++g)
                for (int b = low[2]; b <= low[2] + static_cast<int>(kInBox); ++b) {
                    std::size_t best = candidates.front();
                    int best_distance = std::numeric_limits<int>::max();
                    for (const std::size_t i : candidates) {
                        const int distance = squared(entries_[i].red - r) + squared(entries_[i].green - g) + squared(entries_[i].blue - b);
                        if (distance < best_distance) {
                            best_distance = distance;
                            best = i;
                        }
                    }
                    made[slot++] = static_cast<std::uint8_t>(best);
                }
        if (std::all_of(made, made + slot, [&](std::uint8_t answer) { return answer == made[0]; })) {
            const std::uint8_t answer = made[0];
            delete[] made;
            return Publish(box, answer);
        }
        const std::uint8_t* expected = nullptr;
        if (!boxes_[box].compare_exchange_strong(expected, made, std::memory_order_relaxed)) delete[] made;
        return Publish(box, kMixed);
    }

    // Every thread that works out a box publishes the same summary.
    std::uint16_t Publish(std::size_t box, std::uint16_t summary) const {
        summaries_[box].store(summary, std::memory_order_release);
        return summary;
    }

    std::vector<Colour> entries_;
    std::vector<bool> first_;  // a repeated colour never beats its first occurrence
    std::unique_ptr<std::atomic<std::uint16_t>[]> summaries_;
    std::unique_ptr<std::atomic<const std::uint8_t*>[]> boxes_;  // the answers of mixed boxes
};

ColourTable::ColourTable(std::vector<Colour> entries) : entries_(std::move(entries)) {
    if (entries_.empty()) entries_.push_back(kBlack);
    if (entries_.size() > kMaxEntries) throw std::invalid_argument("ColourTable: more than 256 entries");
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

void ColourTable::reduce(std::uint8_t* bgr, std::size_t pixels) const {
    const Nearest_Search& search = *search_;
    for (std::size_t i = 0; i < pixels; ++i, bgr += 3) {
        const Colour& c = entries_[static_cast<std::size_t>(search.Index(bgr[2], bgr[1], bgr[0]))];
        bgr[0] = c.blue;
        bgr[1] = c.green;
        bgr[2] = c.red;
    }
}

}  // namespace tilvane
