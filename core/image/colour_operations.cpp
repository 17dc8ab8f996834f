#include "colour_operations.h"

#include <algorithm>
#include <vector>

namespace tilvane {

// The loops below treat a rectangle's rows as runs of bytes with a pattern that repeats every
// three bytes (blue, green, red): one sum or one shift per byte position keeps them simple
// enough for the compiler to vectorise.

namespace {

// Adds up each byte position of the rows top .. bottom - 1 from byte `first` to byte `last`.
template <typename Column_Sum>
const Column_Sum* Column_Sums(const Raster_Image& image, int top, int bottom, std::size_t first, std::size_t last) {
    thread_local std::vector<Column_Sum> sums_buffer;
    sums_buffer.assign(last - first, 0);
    Column_Sum* sums = sums_buffer.data();
    const std::size_t run = last - first;
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* p = image.Row(y) + first;
        for (std::size_t i = 0; i < run; ++i) sums[i] = static_cast<Column_Sum>(sums[i] + p[i]);
    }
    return sums;
}

template <typename Column_Sum>
void Cell_Means(const Raster_Image& image, int top, int bottom, std::span<const int> lefts, int width,
                std::span<Colour> means) {
    const auto clip_x = [&](std::int64_t x) { return static_cast<int>(std::clamp<std::int64_t>(x, 0, image.Width())); };
    const int span_left = clip_x(lefts.front());
    const int span_right = clip_x(std::int64_t{lefts.back()} + width);
    const Column_Sum* sums = Column_Sums<Column_Sum>(image, top, bottom, static_cast<std::size_t>(span_left) * 3,
                                                     static_cast<std::size_t>(std::max(span_left, span_right)) * 3);
    for (std::size_t k = 0; k < lefts.size(); ++k) {
        const int left = clip_x(lefts[k]), right = clip_x(std::int64_t{lefts[k]} + width);
        if (right <= left) {
            means[k] = kBlack;
            continue;
        }
        std::uint64_t channel[3] = {0, 0, 0};  // blue, green, red
        for (std::size_t i = static_cast<std::size_t>(left - span_left) * 3; i < static_cast<std::size_t>(right - span_left) * 3; i += 3) {
            channel[0] += sums[i];
            channel[1] += sums[i + 1];
            channel[2] += sums[i + 2];
        }
        const std::uint64_t count = static_cast<std::uint64_t>(right - left) * static_cast<std::uint64_t>(bottom - top);
        means[k] = {static_cast<std::uint8_t>(channel[2] / count), static_cast<std::uint8_t>(channel[1] / count),
                    static_cast<std::uint8_t>(channel[0] / count)};
    }
}

}  // namespace

void Average_Colours(const Raster_Image& image, int top, int height, std::span<const int> lefts, int width,
                     std::span<Colour> means) {
    const int first_row = static_cast<int>(std::clamp<std::int64_t>(top, 0, image.Height()));
    const int end_row = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{top} + height, 0, image.Height()));
    if (lefts.empty()) return;
    if (end_row <= first_row || width <= 0) {
        std::fill(means.begin(), means.begin() + static_cast<std::ptrdiff_t>(lefts.size()), kBlack);
        return;
    }
    // Narrower sums vectorise better: a column of up to 257 bytes of 255 fits 16 bits, one of
    // kMax_Dimension bytes 32.
    if (end_row - first_row <= 0xFFFF / 255)
        Cell_Means<std::uint16_t>(image, first_row, end_row, lefts, width, means);
    else
        Cell_Means<std::uint32_t>(image, first_row, end_row, lefts, width, means);
}

Colour Average_Colour(const Raster_Image& image, Rect r) {
    const Rect c = Clip_To(r, image.Width(), image.Height());
    if (c.empty()) return kBlack;
    Colour mean;
    const int left = c.left;
    Average_Colours(image, c.top, c.Height(), {&left, 1}, c.Width(), {&mean, 1});
    return mean;
}

void Shift_Colours(Raster_Image& dst, Rect dst_rect, const Raster_Image& src, int src_left, int src_top, Colour from,
                   Colour to) {
    const std::int64_t dx = std::int64_t{src_left} - dst_rect.left;
    const std::int64_t dy = std::int64_t{src_top} - dst_rect.top;
    const Rect c = Clip_To_Both(dst_rect, dst.Width(), dst.Height(), dx, dy, src.Width(), src.Height());
    if (c.empty()) return;
    const std::size_t run = static_cast<std::size_t>(c.Width()) * 3;
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

    const bool exact = dst.Stores_Every_Colour();
    for (int y = c.top; y < c.bottom; ++y) {
        const std::uint8_t* s = src.Row(static_cast<int>(y + dy)) + static_cast<std::size_t>(c.left + dx) * 3;
        std::uint8_t* p = dst.Row(y) + static_cast<std::size_t>(c.left) * 3;
        std::size_t done = 0;
        for (; done + kPeriod <= run; done += kPeriod) shift(s + done, p + done, kPeriod);
        shift(s + done, p + done, run - done);
        if (!exact) dst.Reduce_Run(c.left, y, static_cast<std::size_t>(c.Width()));
    }
}

void Align_Average_Colour(Raster_Image& image, Rect r, Colour from, Colour to) {
    Shift_Colours(image, r, image, r.left, r.top, from, to);
}

}  // namespace tilvane
