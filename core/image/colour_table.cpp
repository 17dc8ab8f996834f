#include "colour_table.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <stdexcept>

namespace tilvane {
namespace {

std::vector<Colour> Vga_Colours() {
    return {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
            {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
            {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
            {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
}

// 216 cube colours at 0, 51, ..., 255 per channel, then 40 evenly spaced greys, which the cube
// alone renders poorly.
std::vector<Colour> Cube_And_Greys() {
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
// answer for all their colours, which the box's summary holds. The others mostly split between
// two to four entries: a record lists the box's answers and gives each colour the place of its
// answer in the list, in as few bits as the list needs (1, 2 or 4; a box of more than 16 answers
// gives each colour its index). Records are packed in the order they were worked out, so that the
// look-ups of a large picture mostly stay in the processor's cache and a table costs little
// memory. One thread works out a box; others that meet it meanwhile search all entries.
class Colour_Table::Nearest_Search {
public:
    explicit Nearest_Search(const std::vector<Colour>& entries)
        : entries_(entries), summaries_(new std::atomic<std::uint32_t>[kBoxes]) {
        for (std::size_t i = 0; i < kBoxes; ++i) summaries_[i].store(kUnknown, std::memory_order_relaxed);
        // A repeated colour never beats its first occurrence, so only first occurrences are searched.
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (std::find(entries_.begin(), entries_.end(), entries_[i]) == entries_.begin() + static_cast<std::ptrdiff_t>(i))
                firsts_.push_back(static_cast<std::uint8_t>(i));
    }
    ~Nearest_Search() {
        for (auto& chunk : chunks_) delete[] chunk.load(std::memory_order_relaxed);
    }
    Nearest_Search(const Nearest_Search&) = delete;
    Nearest_Search& operator=(const Nearest_Search&) = delete;

    int Index(unsigned red, unsigned green, unsigned blue) const {
        const std::size_t box = red >> kShift << (2 * kBox_Bits) | green >> kShift << kBox_Bits | blue >> kShift;
        const std::uint32_t summary = summaries_[box].load(std::memory_order_acquire);
        if (summary < kFirst_Record) return static_cast<int>(summary);
        if (summary < kBusy) return Look_Up(summary, In_Box(red, green, blue));
        return Work_Out(box, red, green, blue);
    }

private:
    static constexpr int kBox_Bits = 5;
    static constexpr int kShift = 8 - kBox_Bits;
    static constexpr unsigned kIn_Box = (1u << kShift) - 1;
    static constexpr std::size_t kBoxes = std::size_t{1} << (3 * kBox_Bits);
    static constexpr std::size_t kBox_Colours = std::size_t{1} << (3 * kShift);
    // A record: a list of up to 16 answers, then each colour's place in it (or its answer), in
    // 1 << width_code bits. Records start on 16-byte boundaries.
    static constexpr std::size_t kList_Bytes = 16;
    static constexpr std::size_t kLargest_Record = kList_Bytes + kBox_Colours;
    static constexpr std::size_t kChunk_Bytes = std::size_t{1} << 18;
    static constexpr std::size_t kChunks = kBoxes * kLargest_Record / (kChunk_Bytes - kLargest_Record) + 2;
    // A summary below kFirst_Record is the box's one answer; up to kBusy, kFirst_Record + the
    // record's offset in 16-byte units times 4 + its width code.
    static constexpr std::uint32_t kFirst_Record = 256;
    static constexpr std::uint32_t kBusy = 0xFFFFFFFE;     // being worked out
    static constexpr std::uint32_t kUnknown = 0xFFFFFFFF;  // not worked out yet

    static std::size_t In_Box(unsigned red, unsigned green, unsigned blue) {
        return (red & kIn_Box) << (2 * kShift) | (green & kIn_Box) << kShift | (blue & kIn_Box);
    }

    int Look_Up(std::uint32_t summary, std::size_t colour) const {
        const std::uint8_t* record = Record_At(static_cast<std::size_t>((summary - kFirst_Record) >> 2) * 16);
        const unsigned bits = 1u << (summary & 3);
        const std::uint8_t* places = record + kList_Bytes;
        if (bits == 8) return places[colour];
        const std::size_t bit = colour * bits;
        return record[places[bit / 8] >> (bit % 8) & ((1u << bits) - 1)];
    }

    int Nearest_Of(const std::vector<std::uint8_t>& indexes, int red, int green, int blue) const {
        int best = 0, best_distance = std::numeric_limits<int>::max();
        for (const std::uint8_t i : indexes) {
            const int dr = entries_[i].red - red, dg = entries_[i].green - green, db = entries_[i].blue - blue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < best_distance) {
                best_distance = distance;
                best = i;
            }
        }
        return best;
    }

    // The entries that can be nearest to some colour of the box whose lowest corner is low.
    std::vector<std::uint8_t> Candidates(const int (&low)[3]) const {
        const auto squared = [](int d) { return d * d; };
        std::vector<int> nearest(firsts_.size());
        int bound = std::numeric_limits<int>::max();
        for (std::size_t k = 0; k < firsts_.size(); ++k) {
            const Colour& e = entries_[firsts_[k]];
            const int value[3] = {e.red, e.green, e.blue};
            int farthest = 0;
            for (int ch = 0; ch < 3; ++ch) {
                const int lo = low[ch], hi = low[ch] + static_cast<int>(kIn_Box);
                nearest[k] += squared(value[ch] < lo ? lo - value[ch] : value[ch] > hi ? value[ch] - hi : 0);
                farthest += squared(std::max(std::abs(value[ch] - lo), std::abs(value[ch] - hi)));
            }
            bound = std::min(bound, farthest);
        }
        std::vector<std::uint8_t> candidates;
        for (std::size_t k = 0; k < firsts_.size(); ++k)
            if (nearest[k] <= bound) candidates.push_back(firsts_[k]);
        return candidates;
    }

    // Each colour's answer among the candidates, in index order so that ties go to the first.
    void Answers(const std::vector<std::uint8_t>& candidates, const int (&low)[3], std::uint8_t (&answers)[kBox_Colours]) const {
        constexpr int kSide = static_cast<int>(kIn_Box) + 1;
        int best[kBox_Colours];
        std::fill(std::begin(best), std::end(best), std::numeric_limits<int>::max());
        for (const std::uint8_t i : candidates) {
            int squares[3][kSide];
            const int value[3] = {entries_[i].red, entries_[i].green, entries_[i].blue};
            for (int ch = 0; ch < 3; ++ch)
                for (int d = 0; d < kSide; ++d) squares[ch][d] = (low[ch] + d - value[ch]) * (low[ch] + d - value[ch]);
            std::size_t colour = 0;
            for (int r = 0; r < kSide; ++r)
                for (int g = 0; g < kSide; ++g)
                    for (int b = 0; b < kSide; ++b, ++colour) {
                        const int distance = squares[0][r] + squares[1][g] + squares[2][b];
                        if (distance < best[colour]) {
                            best[colour] = distance;
                            answers[colour] = i;
                        }
                    }
        }
    }

    // Reserves bytes within one chunk, and gives their offset.
    std::size_t Allocate(std::size_t bytes) const {
        for (;;) {
            const std::size_t start = next_byte_.fetch_add(bytes, std::memory_order_relaxed);
            if (start % kChunk_Bytes + bytes > kChunk_Bytes) continue;  // would cross into the next chunk
            std::atomic<std::uint8_t*>& chunk = chunks_[start / kChunk_Bytes];
            std::uint8_t* memory = chunk.load(std::memory_order_acquire);
            if (memory == nullptr) {
                auto* made = new std::uint8_t[kChunk_Bytes]();
                if (!chunk.compare_exchange_strong(memory, made, std::memory_order_acq_rel)) delete[] made;
            }
            return start;
        }
    }
    std::uint8_t* Record_At(std::size_t offset) const {
        return chunks_[offset / kChunk_Bytes].load(std::memory_order_relaxed) + offset % kChunk_Bytes;
    }

    int Work_Out(std::size_t box, unsigned red, unsigned green, unsigned blue) const {
        std::uint32_t expected = kUnknown;
        if (!summaries_[box].compare_exchange_strong(expected, kBusy, std::memory_order_acquire)) {
            if (expected != kBusy) return Index(red, green, blue);
            return Nearest_Of(firsts_, static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue));
        }
        const int low[3] = {static_cast<int>(box >> (2 * kBox_Bits)) << kShift,
                            static_cast<int>(box >> kBox_Bits & ((1 << kBox_Bits) - 1)) << kShift,
                            static_cast<int>(box & ((1 << kBox_Bits) - 1)) << kShift};
        const std::vector<std::uint8_t> candidates = Candidates(low);
        std::uint8_t answers[kBox_Colours];
        Answers(candidates, low, answers);

        std::uint8_t list[kList_Bytes];
        std::array<std::uint8_t, kMax_Entries> place{};  // an answer's place in the list, plus 1
        std::size_t listed = 0;  // the distinct answers, counted up to one past the list
        for (const std::uint8_t a : answers) {
            if (place[a] != 0) continue;
            if (listed == kList_Bytes) {
                ++listed;
                break;
            }
            list[listed++] = a;
            place[a] = static_cast<std::uint8_t>(listed);
        }
        if (listed == 1) {
            summaries_[box].store(answers[0], std::memory_order_release);
            return answers[0];
        }
        const std::uint32_t code = listed <= 2 ? 0 : listed <= 4 ? 1 : listed <= kList_Bytes ? 2 : 3;
        const std::size_t bits = std::size_t{1} << code;
        const std::size_t offset = Allocate(kList_Bytes + kBox_Colours * bits / 8);
        std::uint8_t* record = Record_At(offset);
        std::copy(list, list + std::min(listed, kList_Bytes), record);
        std::uint8_t* places = record + kList_Bytes;
        for (std::size_t colour = 0; colour < kBox_Colours; ++colour) {
            const unsigned value = bits == 8 ? answers[colour] : place[answers[colour]] - 1u;
            places[colour * bits / 8] |= static_cast<std::uint8_t>(value << (colour * bits % 8));
        }
        summaries_[box].store(kFirst_Record + static_cast<std::uint32_t>(offset / 16 * 4) + code, std::memory_order_release);
        return answers[In_Box(red, green, blue)];
    }

    std::vector<Colour> entries_;
    std::vector<std::uint8_t> firsts_;  // the index of each colour's first occurrence
    std::unique_ptr<std::atomic<std::uint32_t>[]> summaries_;
    mutable std::atomic<std::size_t> next_byte_{0};
    mutable std::atomic<std::uint8_t*> chunks_[kChunks] = {};
};

// Made on the first reduction, so that tables that are never searched cost nothing.
struct Colour_Table::Search_Holder {
    std::once_flag once;
    std::unique_ptr<const Nearest_Search> search;
};

const Colour_Table::Nearest_Search& Colour_Table::Search() const {
    std::call_once(holder_->once, [this] { holder_->search = std::make_unique<const Nearest_Search>(entries_); });
    return *holder_->search;
}

Colour_Table::Colour_Table(std::vector<Colour> entries) : entries_(std::move(entries)) {
    if (entries_.empty()) entries_.push_back(kBlack);
    if (entries_.size() > kMax_Entries) throw std::invalid_argument("Colour_Table: more than 256 entries");
    holder_ = std::make_shared<Search_Holder>();
}

Colour_Table Colour_Table::Standard(Pixel_Format format) {
    // One of each, so that every image of a standard table shares what its search has learnt.
    static const Colour_Table one_bit({kBlack, kWhite});
    static const Colour_Table four_bit(Vga_Colours());
    static const Colour_Table eight_bit(Cube_And_Greys());
    switch (format) {
        case Pixel_Format::Bits1: return one_bit;
        case Pixel_Format::Bits4: return four_bit;
        case Pixel_Format::Bits8: return eight_bit;
        default: return {};
    }
}

int Colour_Table::Nearest_Index(Colour c) const { return Search().Index(c.red, c.green, c.blue); }

void Colour_Table::Reduce(std::uint8_t* bgr, std::uint8_t* indexes, std::size_t pixels) const {
    const Nearest_Search& lookup = Search();
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
