#include "colour_transfer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "image/oklab.h"

namespace tilvane {
namespace {

constexpr int kChannels = 3;  // blue, green, red, as the rows hold them

// The mean of a set of Oklab colours, and their chroma's variance about it.
struct Lab_Spread {
    double l = 0, a = 0, b = 0, chroma_variance = 0;
    void Add(Oklab c) {
        l += c.l, a += c.a, b += c.b;
        chroma_variance += double{c.a} * c.a + double{c.b} * c.b;  // the sum of squares until Finish
    }
    void Finish(std::size_t n) {
        l /= static_cast<double>(n), a /= static_cast<double>(n), b /= static_cast<double>(n);
        chroma_variance = std::max(0.0, chroma_variance / static_cast<double>(n) - a * a - b * b);
    }
};

// The tile's colours, in place, moved onto the cell's in Oklab. The tile gives the light and
// shade: its lightness keeps its detail about the cell's mean lightness. The original gives the
// hues: each pixel takes the (a, b) of the original's pixel under it, plus the tile's own (a, b)
// detail scaled down to the cell's spread of chroma when it is wider (never widened: a grey tile
// stays grey, not noisy). A green mark on a tile in an even blue cell thus turns the cell's blue,
// and a coloured edge that crosses the cell crosses it in the mosaic too.
void Transfer(std::vector<float>& tile, const std::vector<float>& original, std::size_t n) {
    thread_local std::vector<Oklab> lab, under;
    lab.resize(n);
    under.resize(n);
    Lab_Spread own, cell;
    const auto pixel = [n](const std::vector<float>& values, std::size_t i, std::uint8_t* bgr) {
        for (std::size_t ch = 0; ch < kChannels; ++ch) bgr[ch] = static_cast<std::uint8_t>(values[ch * n + i]);
    };
    for (std::size_t i = 0; i < n; ++i) {
        std::uint8_t bgr[kChannels];
        pixel(tile, i, bgr);
        own.Add(lab[i] = Oklab_Of(bgr));
        pixel(original, i, bgr);
        cell.Add(under[i] = Oklab_Of(bgr));
    }
    own.Finish(n);
    cell.Finish(n);
    const double gain = cell.chroma_variance < own.chroma_variance ? std::sqrt(cell.chroma_variance / own.chroma_variance) : 1;
    const auto lightness = static_cast<float>(cell.l - own.l);
    const auto a_centre = static_cast<float>(own.a), b_centre = static_cast<float>(own.b), g = static_cast<float>(gain);
    for (std::size_t i = 0; i < n; ++i) {
        float bgr[kChannels];
        Srgb_Of({lab[i].l + lightness, under[i].a + g * (lab[i].a - a_centre), under[i].b + g * (lab[i].b - b_centre)}, bgr);
        for (std::size_t ch = 0; ch < kChannels; ++ch) tile[ch * n + i] = bgr[ch];
    }
}

// Brings n values to the sum goal, each held within 0..255, keeping the sum wherever the range
// allows it (goal within 0..255n): a plain clamp would lose what it cuts off, so every value
// first moves by the same amount, found by halving its range (the clamped sum grows with it), and
// those beyond a bound stop there. Where nothing needs clamping, one pass serves; otherwise a
// fixed number of passes, whatever the cell's size and however the values lie.
void Settle(float* v, std::size_t n, double goal) {
    double sum = 0;
    bool inside = true;
    for (std::size_t i = 0; i < n; ++i) {
        sum += v[i];
        inside = inside && v[i] >= 0 && v[i] <= 255;
    }
    if (inside && std::abs(goal - sum) < 0.01) return;  // float rounding; the rounding to bytes settles it
    const auto clamped_sum = [&](double move) {
        double total = 0;
        for (std::size_t i = 0; i < n; ++i) total += std::clamp(v[i] + move, 0.0, 255.0);
        return total;
    };
    // Values lie within -255..510 (a tile shifted by up to 255 either way), so moves beyond
    // 510 either way clamp every value; 40 halvings leave the move within 1e-9.
    double low = -510, high = 510;
    for (int pass = 0; pass < 40; ++pass) {
        const double middle = (low + high) / 2;
        (clamped_sum(middle) < goal ? low : high) = middle;
    }
    const double move = (low + high) / 2;
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<float>(std::clamp(v[i] + move, 0.0, 255.0));
}

}  // namespace

void Colour_Cell(Raster_Image& mosaic, Rect cell, const Raster_Image& tile, const Raster_Image& original, int scale,
                 Tile_Colour colour, int blend, int band_top) {
    const Rect c = Clip_To_Both(cell, mosaic.Width(), mosaic.Height(), -std::int64_t{cell.left}, -std::int64_t{cell.top},
                                tile.Width(), tile.Height());
    if (c.empty()) return;
    const auto width = static_cast<std::size_t>(c.Width());
    const std::size_t n = width * static_cast<std::size_t>(c.Height());
    // Each channel's values in a run of its own, the cell's pixels row by row.
    thread_local std::vector<float> drawn, under;
    drawn.resize(n * kChannels);
    under.resize(n * kChannels);
    std::uint64_t sums[kChannels] = {0, 0, 0};
    for (int y = c.top; y < c.bottom; ++y) {
        const std::uint8_t* t = tile.Row(y - cell.top) + static_cast<std::size_t>(c.left - cell.left) * 3;
        const std::uint8_t* o = original.Row(std::min((band_top + y) / scale, original.Height() - 1));
        const std::size_t first = static_cast<std::size_t>(y - c.top) * width;
        // The original's pixel under x, stepped on every `scale` pixels of the mosaic.
        int ox = c.left / scale, repeat = c.left % scale;
        for (std::size_t x = 0; x < width; ++x, t += 3) {
            const std::size_t o_at = static_cast<std::size_t>(std::min(ox, original.Width() - 1)) * 3;
            if (++repeat == scale) repeat = 0, ++ox;
            for (std::size_t ch = 0; ch < kChannels; ++ch) {
                drawn[ch * n + first + x] = t[ch];
                under[ch * n + first + x] = o[o_at + ch];
                sums[ch] += o[o_at + ch];
            }
        }
    }
    if (colour == Tile_Colour::Transfer) Transfer(drawn, under, n);

    const float share = static_cast<float>(std::clamp(blend, 0, kLargest_Blend)) / kLargest_Blend;
    for (std::size_t ch = 0; ch < kChannels; ++ch) {
        float* v = drawn.data() + ch * n;
        const float* o = under.data() + ch * n;
        double own = 0;
        for (std::size_t i = 0; i < n; ++i) own += v[i];
        // The shift onto the cell's mean, then the original laid over.
        const auto shift = static_cast<float>((static_cast<double>(sums[ch]) - own) / static_cast<double>(n));
        for (std::size_t i = 0; i < n; ++i) v[i] = (v[i] + shift) * (1 - share) + o[i] * share;
        Settle(v, n, static_cast<double>(sums[ch]));
        // Each byte is the rounded running total less what the bytes before it took, and the
        // total is made the original's own: the bytes add up to it exactly.
        double running = 0;
        std::int64_t taken = 0;
        for (int y = c.top; y < c.bottom; ++y) {
            std::uint8_t* p = mosaic.Row(y) + static_cast<std::size_t>(c.left) * 3 + ch;
            for (std::size_t x = 0; x < width; ++x, ++v, p += 3) {
                running = v + 1 == drawn.data() + (ch + 1) * n ? static_cast<double>(sums[ch]) : running + *v;
                const auto level = std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor(running + 0.5)) - taken, 0, 255);
                taken += level;
                *p = static_cast<std::uint8_t>(level);
            }
        }
    }
    if (!mosaic.Stores_Every_Colour())
        for (int y = c.top; y < c.bottom; ++y) mosaic.Reduce_Run(c.left, y, width);
}

}  // namespace tilvane
