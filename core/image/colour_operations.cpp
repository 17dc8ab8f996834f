#include "colour_operations.h"

#include <algorithm>
#include <vector>

namespace tilvane {

// The loops below treat a rectangle's rows as runs of bytes with a pattern that repeats every
// three bytes (blue, green, red): one sum or one shift per byte position keeps them simple
// enough for the compiler to vectorise.

Colour Average_Colour(const RasterImage& image, Rect r) {
    const Rect c = clip_to(r, image.width(), image.height());
    if (c.empty()) return kBlack;
    const std::size_t run = static_cast<std::size_t>(c.width()) * 3;
    // A column of at most kMaxDimension bytes of 255 fits 32 bits.
    thread_local std::vector<std::uint32_t> column_sums;
    column_sums.assign(run, 0);
    std::uint32_t* sums = column_sums.data();
    for (int y = c.top; y < c.bottom; ++y) {
        const std::uint8_t* p = image.row(y) + static_cast<std::size_t>(c.left) * 3;
        for (std::size_t i = 0; i < run; ++i) sums[i] += p[i];
    }
    std::uint64_t channel[3] = {0, 0, 0};
    for (std::size_t i = 0; i < run; ++i) channel[i % 3] += sums[i];
    const std::uint64_t count = static_cast<std::uint64_t>(c.width()) * static_cast<std::uint64_t>(c.height());
    return {static_cast<std::uint8_t>(channel[2] / count), static_cast<std::uint8_t>(channel[1] / count),
            static_cast<std::uint8_t>(channel[0] / count)};
}

void Shift_Colours(RasterImage& dst, Rect dst_rect, const RasterImage& src, int src_left, int src_top, Colour from,
                   Colour to) {
    const std::int64_t dx = std::int64_t{src_left} - dst_rect.left;
    const std::int64_t dy = std::int64_t{src_top} - dst_rect.top;
    const Rect c = clip_to_both(dst_rect, dst.width(), dst.height(), dx, dy, src.width(), src.height());
    if (c.empty()) return;
    const std::size_t run = static_cast<std::size_t>(c.width()) * 3;
    // v + d held within 0..255, in byte-wide steps that vectorise: max(v, lower) - lower takes a
    // negative d off down to 0, min(that, 255 - raise) + raise adds a positive one up to 255. The
    // steps repeat every 48 bytes, a whole number of pixels and of vector registers.
    constexpr std::size_t kPeriod = 48;
    const int deltas[3] = {to.blue - from.blue, to.green - from.green, to.red - from.red};
    std::uint8_t lower[kPeriod], ceiling[kPeriod], raise[kPeriod];
    for (std::size_t i = 0; i < kPeriod; ++i) {
        const int d = deltas[i % 3];
        lower[i] = static_cast<std::uint8_t>(d < 0 ? -d : 0);
        raise[i] = static_cast<std::uint8_t>(d > 0 ? d : 0);
        ceiling[i] = static_cast<std::uint8_t>(255 - raise[i]);
    }
    const auto shift = [&](const std::uint8_t* s, std::uint8_t* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            const auto down = static_cast<std::uint8_t>(std::max(s[i], lower[i]) - lower[i]);
            p[i] = static_cast<std::uint8_t>(std::min(down, ceiling[i]) + raise[i]);
        }
    };

    const bool exact = dst.stores_every_colour();
    for (int y = c.top; y < c.bottom; ++y) {
        const std::uint8_t* s = src.row(static_cast<int>(y + dy)) + static_cast<std::size_t>(c.left + dx) * 3;
        std::uint8_t* p = dst.row(y) + static_cast<std::size_t>(c.left) * 3;
        std::size_t done = 0;
        for (; done + kPeriod <= run; done += kPeriod) shift(s + done, p + done, kPeriod);
        shift(s + done, p + done, run - done);
        if (!exact) dst.reduce_run(p, static_cast<std::size_t>(c.width()));
    }
}

void Align_Average_Colour(RasterImage& image, Rect r, Colour from, Colour to) {
    Shift_Colours(image, r, image, r.left, r.top, from, to);
}

}  // namespace tilvane
