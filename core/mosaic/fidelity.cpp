#include "fidelity.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace tilvane {

Fidelity Compare_Block_Means(const Raster_Image& original, const Raster_Image& mosaic, int block_width, int block_height) {
    const int width = mosaic.Width(), height = mosaic.Height();
    std::vector<std::size_t> source_column(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        source_column[static_cast<std::size_t>(x)] = static_cast<std::size_t>(std::int64_t{x} * original.Width() / width) * 3;
    const std::size_t blocks_across = static_cast<std::size_t>((width + block_width - 1) / block_width);
    std::vector<std::uint64_t> mosaic_sums(blocks_across * 3), original_sums(blocks_across * 3);
    double absolute = 0, squared = 0;
    std::uint64_t values = 0;
    for (int top = 0; top < height; top += block_height) {
        const int bottom = std::min(height, top + block_height);
        std::fill(mosaic_sums.begin(), mosaic_sums.end(), 0);
        std::fill(original_sums.begin(), original_sums.end(), 0);
        for (int y = top; y < bottom; ++y) {
            const std::uint8_t* m = mosaic.Row(y);
            const std::uint8_t* o = original.Row(static_cast<int>(std::int64_t{y} * original.Height() / height));
            for (int x = 0; x < width; ++x, m += 3) {
                const std::size_t block = static_cast<std::size_t>(x / block_width) * 3;
                const std::uint8_t* s = o + source_column[static_cast<std::size_t>(x)];
                for (std::size_t ch = 0; ch < 3; ++ch) {
                    mosaic_sums[block + ch] += m[ch];
                    original_sums[block + ch] += s[ch];
                }
            }
        }
        for (std::size_t b = 0; b < blocks_across; ++b) {
            const int left = static_cast<int>(b) * block_width;
            const double count = static_cast<double>(std::min(width, left + block_width) - left) * (bottom - top);
            for (std::size_t ch = 0; ch < 3; ++ch) {
                const double d = (static_cast<double>(mosaic_sums[b * 3 + ch]) - static_cast<double>(original_sums[b * 3 + ch])) / count;
                absolute += std::abs(d);
                squared += d * d;
                ++values;
            }
        }
    }
    const double mse = values ? squared / static_cast<double>(values) : 0;
    return {values ? absolute / static_cast<double>(values) : 0,
            mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : std::numeric_limits<double>::infinity()};
}

}  // namespace tilvane

namespace tilvane {
namespace {

// A picture in grey, reduced by the means of whole blocks of kSimilarity_Reduction pixels a side.
struct Grey_Picture {
    int width, height;
    std::vector<double> values;  // row by row
};

// The grey of image at the mosaic's size (width x height), read as Compare_Block_Means reads it.
Grey_Picture Reduced_Grey(const Raster_Image& image, int width, int height) {
    constexpr int k = kSimilarity_Reduction;
    Grey_Picture grey{width / k, height / k, {}};
    grey.values.assign(static_cast<std::size_t>(grey.width) * static_cast<std::size_t>(grey.height), 0);
    for (int y = 0; y < grey.height * k; ++y) {
        const std::uint8_t* row = image.Row(static_cast<int>(std::int64_t{y} * image.Height() / height));
        double* out = grey.values.data() + static_cast<std::size_t>(y / k) * static_cast<std::size_t>(grey.width);
        for (int x = 0; x < grey.width * k; ++x) {
            const std::uint8_t* p = row + static_cast<std::size_t>(std::int64_t{x} * image.Width() / width) * 3;
            out[x / k] += (0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0]) / (k * k);
        }
    }
    return grey;
}

}  // namespace

std::optional<double> Structural_Similarity(const Raster_Image& original, const Raster_Image& mosaic) {
    constexpr int kWindow = 7;
    const Grey_Picture a = Reduced_Grey(original, mosaic.Width(), mosaic.Height());
    const Grey_Picture b = Reduced_Grey(mosaic, mosaic.Width(), mosaic.Height());
    if (a.width < kWindow || a.height < kWindow) return std::nullopt;
    // Running sums over the window's columns, then along each row: x, y, x^2, y^2, xy.
    const auto w = static_cast<std::size_t>(a.width);
    std::vector<std::array<double, 5>> columns(w);
    const auto at = [&](const Grey_Picture& g, int x, int y) { return g.values[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)]; };
    const auto add_row = [&](int y, double sign) {
        for (int x = 0; x < a.width; ++x) {
            const double p = at(a, x, y), q = at(b, x, y);
            auto& c = columns[static_cast<std::size_t>(x)];
            c[0] += sign * p, c[1] += sign * q, c[2] += sign * p * p, c[3] += sign * q * q, c[4] += sign * p * q;
        }
    };
    constexpr double kC1 = (0.01 * 255) * (0.01 * 255), kC2 = (0.03 * 255) * (0.03 * 255);
    constexpr double kCount = kWindow * kWindow;
    double total = 0;
    std::uint64_t windows = 0;
    for (int y = 0; y < kWindow - 1; ++y) add_row(y, 1);
    for (int top = 0; top + kWindow <= a.height; ++top) {
        add_row(top + kWindow - 1, 1);
        std::array<double, 5> s{};
        for (int x = 0; x < a.width; ++x) {
            for (int i = 0; i < 5; ++i) s[static_cast<std::size_t>(i)] += columns[static_cast<std::size_t>(x)][static_cast<std::size_t>(i)];
            if (x >= kWindow)
                for (int i = 0; i < 5; ++i) s[static_cast<std::size_t>(i)] -= columns[static_cast<std::size_t>(x - kWindow)][static_cast<std::size_t>(i)];
            if (x < kWindow - 1) continue;
            const double mp = s[0] / kCount, mq = s[1] / kCount;
            const double sample = kCount / (kCount - 1);
            const double vp = (s[2] / kCount - mp * mp) * sample, vq = (s[3] / kCount - mq * mq) * sample;
            const double cov = (s[4] / kCount - mp * mq) * sample;
            total += (2 * mp * mq + kC1) * (2 * cov + kC2) / ((mp * mp + mq * mq + kC1) * (vp + vq + kC2));
            ++windows;
        }
        add_row(top, -1);
    }
    return total / static_cast<double>(windows);
}

}  // namespace tilvane
