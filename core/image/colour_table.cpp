#include "colour_table.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <limits>
#include <mutex>
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
// answer for all their colours, which a box's 16-bit summary holds; the others' answers are
// packed in the order they were worked out, so that the look-ups of a large picture mostly stay
// in the processor's cache and a table costs little memory. One thread works out a box; others
// that meet it meanwhile search all entries.
class ColourTable::Nearest_Search {
public:
    explicit Nearest_Search(const std::vector<Colour>& entries)
        : entries_(entries), first_(entries_.size()), summaries_(new std::atomic<std::uint16_t>[kBoxes]) {
        for (std::size_t i = 0; i < kBoxes; ++i) summaries_[i].store(kUnknown, std::memory_order_relaxed);
        for (std::size_t i = 0; i < entries_.size(); ++i)
            first_[i] = std::find(entries_.begin(), entries_.end(), entries_[i]) == entries_.begin() + static_cast<std::ptrdiff_t>(i);
    }
    ~Nearest_Search() {
        for (auto& chunk : chunks_) delete[] chunk.load(std::memory_order_relaxed);
    }
    Nearest_Search(const Nearest_Search&) = delete;
    Nearest_Search& operator=(const Nearest_Search&) = delete;

    int Index(unsigned red, unsigned green, unsigned blue) const {
        const std::size_t box = red >> kShift << (2 * kBoxBits) | green >> kShift << kBoxBits | blue >> kShift;
        const std::uint16_t summary = summaries_[box].load(std::memory_order_acquire);
        if (summary < kFirstSlot) return summary;
        if (summary < kBusy) return Answers(summary - kFirstSlot)[In_Box(red, green, blue)];
        return Work_Out(box, red, green, blue);
    }

private:
    static constexpr int kBoxBits = 5;
    static constexpr int kShift = 8 - kBoxBits;
    static constexpr unsigned kInBox = (1u << kShift) - 1;
    static constexpr std::size_t kBoxes = std::size_t{1} << (3 * kBoxBits);
    static constexpr std::size_t kBoxColours = std::size_t{1} << (3 * kShift);
    // A summary below kFirstSlot is the box's one answer; up to kBusy, kFirstSlot + the slot of
    // its answers.
    static constexpr std::uint16_t kFirstSlot = 256;
    static constexpr std::uint16_t kBusy = 0xFFFE;     // being worked out
    static constexpr std::uint16_t kUnknown = 0xFFFF;  // not worked out yet
    static constexpr std::size_t kSlotsPerChunk = 64;
    static_assert(kBoxes <= kBusy - kFirstSlot);

    static std::size_t In_Box(unsigned red, unsigned green, unsigned blue) {
        return (red & kInBox) << (2 * kShift) | (green & kInBox) << kShift | (blue & kInBox);
    }
    const std::uint8_t* Answers(std::size_t slot) const {
        return chunks_[slot / kSlotsPerChunk].load(std::memory_order_relaxed) + slot % kSlotsPerChunk * kBoxColours;
    }

    template <typename Indexes>
    int Nearest_Of(const Indexes& indexes, int red, int green, int blue) const {
        int best = 0, best_distance = std::numeric_limits<int>::max();
        for (const std::size_t i : indexes) {
            const int dr = entries_[i].red - red, dg = entries_[i].green - green, db = entries_[i].blue - blue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < best_distance && first_[i]) {
                best_distance = distance;
                best = static_cast<int>(i);
            }
        }
        return best;
    }

    int Work_Out(std::size_t box, unsigned red, unsigned green, unsigned blue) const {
        std::uint16_t expected = kUnknown;
        if (!summaries_[box].compare_exchange_strong(expected, kBusy, std::memory_order_acquire)) {
            if (expected != kBusy) return Index(red, green, blue);
            std::vector<std::size_t> all(entries_.size());
            for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
            return Nearest_Of(all, static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue));
        }
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

        std::uint8_t answers[kBoxColours];
        std::size_t slot = 0;
        for (int r = low[0]; r <= low[0] + static_cast<int>(kInBox); ++r)
            for (int g = low[1]; g <= low[1] + static_cast<int>(kInBox); ++g)
                for (int b = low[2]; b <= low[2] + static_cast<int>(kInBox); ++b)
                    answers[slot++] = static_cast<std::uint8_t>(candidates.size() == 1 ? candidates[0] : Nearest_Of(candidates, r, g, b));
        if (std::all_of(answers, answers + kBoxColours, [&](std::uint8_t a) { return a == answers[0]; })) {
            summaries_[box].store(answers[0], std::memory_order_release);
            return answers[0];
        }
        const std::size_t mixed = next_slot_.fetch_add(1, std::memory_order_relaxed);
        std::atomic<std::uint8_t*>& chunk = chunks_[mixed / kSlotsPerChunk];
        std::uint8_t* memory = chunk.load(std::memory_order_acquire);
        if (memory == nullptr) {
            auto* made = new std::uint8_t[kSlotsPerChunk * kBoxColours];
            if (chunk.compare_exchange_strong(memory, made, std::memory_order_acq_rel))
                memory = made;
            else
                delete[] made;
        }
        std::copy(answers, answers + kBoxColours, memory + mixed % kSlotsPerChunk * kBoxColours);
        summaries_[box].store(static_cast<std::uint16_t>(kFirstSlot + mixed), std::memory_order_release);
        return answers[In_Box(red, green, blue)];
    }

    std::vector<Colour> entries_;
    std::vector<bool> first_;  // a repeated colour never beats its first occurrence
    std::unique_ptr<std::atomic<std::uint16_t>[]> summaries_;
    mutable std::atomic<std::size_t> next_slot_{0};
    mutable std::atomic<std::uint8_t*> chunks_[kBoxes / kSlotsPerChunk] = {};
};

// Made on the first reduction, so that tables that are never searched cost nothing.
struct ColourTable::Search_Holder {
    std::once_flag once;
    std::unique_ptr<const Nearest_Search> search;
};

const ColourTable::Nearest_Search& ColourTable::search() const {
    std::call_once(holder_->once, [this] { holder_->search = std::make_unique<const Nearest_Search>(entries_); });
    return *holder_->search;
}

ColourTable::ColourTable(std::vector<Colour> entries) : entries_(std::move(entries)) {
    if (entries_.empty()) entries_.push_back(kBlack);
    if (entries_.size() > kMaxEntries) throw std::invalid_argument("ColourTable: more than 256 entries");
    holder_ = std::make_shared<Search_Holder>();
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

int ColourTable::nearest_index(Colour c) const { return search().Index(c.red, c.green, c.blue); }

void ColourTable::reduce(std::uint8_t* bgr, std::uint8_t* indexes, std::size_t pixels) const {
    const Nearest_Search& lookup = search();
    for (std::size_t i = 0; i < pixels; ++i, bgr += 3) {
        const int index = lookup.Index(bgr[2], bgr[1], bgr[0]);
        indexes[i] = static_cast<std::uint8_t>(index);
        const Colour& c = entries_[static_cast<std::size_t>(index)];
        bgr[0] = c.blue;
        bgr[1] = c.green;
        bgr[2] = c.red;
    }
}

}  // namespace tilvane
