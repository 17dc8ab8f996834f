#include "fidelity.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace tilvane {
namespace {

// The original's rows, asked for from the top down (a row as often as the mosaic repeats it), read
// one at a time so that an original of any size takes the memory of a row.
class Row_Cursor {
public:
    explicit Row_Cursor(Picture_Rows& rows) : rows_(rows) {}
    const std::uint8_t* Row(int y) {
        if (y != current_) {
            rows_.Skip_Rows(y - rows_.Rows_Read());
            row_ = rows_.Read_Rows(1);
            current_ = y;
        }
        return row_.Row(0);
    }

private:
    Picture_Rows& rows_;
    Raster_Image row_;
    int current_ = -1;
};

}  // namespace

Fidelity Compare_Block_Means(Picture_Rows& original_rows, Picture_Rows& mosaic, int block_width, int block_height) {
    const int width = mosaic.Width(), height = mosaic.Height();
    const int original_width = original_rows.Width(), original_height = original_rows.Height();
    Row_Cursor original(original_rows);
    std::vector<std::size_t> source_column(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        source_column[static_cast<std::size_t>(x)] = static_cast<std::size_t>(std::int64_t{x} * original_width / width) * 3;
    const std::size_t blocks_across = static_cast<std::size_t>((width + block_width - 1) / block_width);
    std::vector<std::uint64_t> mosaic_sums(blocks_across * 3), original_sums(blocks_across * 3);
    double absolute = 0, squared = 0;
    std::uint64_t values = 0;
    for (int top = 0; top < height; top += block_height) {
        const int bottom = std::min(height, top + block_height);
        std::fill(mosaic_sums.begin(), mosaic_sums.end(), 0);
        std::fill(original_sums.begin(), original_sums.end(), 0);
        const Raster_Image band = mosaic.Read_Rows(bottom - top);
        for (int y = top; y < bottom; ++y) {
            const std::uint8_t* m = band.Row(y - top);
            const std::uint8_t* o = original.Row(static_cast<int>(std::int64_t{y} * original_height / height));
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

Fidelity Compare_Block_Means(const Raster_Image& original, const Raster_Image& mosaic, int block_width, int block_height) {
    return Compare_Block_Means(*Rows_Of(original), *Rows_Of(mosaic), block_width, block_height);
}

}  // namespace tilvane

namespace tilvane {
namespace {

// Adds to out (width / k values) the grey of the picture at the mosaic's size (width x height),
// reduced by the means of whole blocks of k = kSimilarity_Reduction pixels a side, over the k rows
// from y on; row_of gives the picture's rows at its own size (image_width x image_height).
template <typename Row_Of>
void Add_Reduced_Grey_Row(Row_Of row_of, int image_width, int image_height, int width, int height, int y, double* out) {
    constexpr int k = kSimilarity_Reduction;
    for (int yy = y; yy < y + k; ++yy) {
        const std::uint8_t* row = row_of(static_cast<int>(std::int64_t{yy} * image_height / height));
        for (int x = 0; x < width / k * k; ++x) {
            const std::uint8_t* p = row + static_cast<std::size_t>(std::int64_t{x} * image_width / width) * 3;
            out[x / k] += (0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0]) / (k * k);
        }
    }
}

}  // namespace

std::optional<double> Structural_Similarity(Picture_Rows& original_rows, Picture_Rows& mosaic) {
    constexpr int kWindow = 7;
    constexpr int k = kSimilarity_Reduction;
    const int width = mosaic.Width(), height = mosaic.Height();
    const int reduced_width = width / k, reduced_height = height / k;
    if (reduced_width < kWindow || reduced_height < kWindow) return std::nullopt;
    Row_Cursor original(original_rows);
    const auto original_row = [&](int row) { return original.Row(row); };
    // The last kWindow reduced rows of each picture, a ring; the mosaic is read k rows at a time.
    const auto w = static_cast<std::size_t>(reduced_width);
    std::vector<double> a(w * kWindow), b(w * kWindow);
    const auto reduce_row = [&](int r) {
        double* pa = a.data() + static_cast<std::size_t>(r % kWindow) * w;
        double* pb = b.data() + static_cast<std::size_t>(r % kWindow) * w;
        std::fill(pa, pa + w, 0.0);
        std::fill(pb, pb + w, 0.0);
        Add_Reduced_Grey_Row(original_row, original_rows.Width(), original_rows.Height(), width, height, r * k, pa);
        const Raster_Image band = mosaic.Read_Rows(k);
        const auto band_row = [&](int row) { return band.Row(row - r * k); };
        Add_Reduced_Grey_Row(band_row, width, height, width, height, r * k, pb);
    };
    // Running sums over the window's columns, then along each row: x, y, x^2, y^2, xy.
    std::vector<std::array<double, 5>> columns(w);
    const auto add_row = [&](int y, double sign) {
        const std::size_t at = static_cast<std::size_t>(y % kWindow) * w;
        for (std::size_t x = 0; x < w; ++x) {
            const double p = a[at + x], q = b[at + x];
            auto& c = columns[x];
            c[0] += sign * p, c[1] += sign * q, c[2] += sign * p * p, c[3] += sign * q * q, c[4] += sign * p * q;
        }
    };
    constexpr double kC1 = (0.01 * 255) * (0.01 * 255), kC2 = (0.03 * 255) * (0.03 * 255);
    constexpr double kCount = kWindow * kWindow;
    double total = 0;
    std::uint64_t windows = 0;
    for (int y = 0; y < kWindow - 1; ++y) {
        reduce_row(y);
        add_row(y, 1);
    }
    for (int top = 0; top + kWindow <= reduced_height; ++top) {
        reduce_row(top + kWindow - 1);
        add_row(top + kWindow - 1, 1);
        std::array<double, 5> s{};
        for (int x = 0; x < reduced_width; ++x) {
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

std::optional<double> Structural_Similarity(const Raster_Image& original, const Raster_Image& mosaic) {
    return Structural_Similarity(*Rows_Of(original), *Rows_Of(mosaic));
}

}  // namespace tilvane
