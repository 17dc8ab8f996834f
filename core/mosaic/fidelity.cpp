#include "fidelity.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace tilvane {

Fidelity Compare_Block_Means(const RasterImage& original, Picture_Rows& mosaic, int block_width, int block_height) {
    const int width = mosaic.Width(), height = mosaic.Height();
    std::vector<std::size_t> source_column(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        source_column[static_cast<std::size_t>(x)] = static_cast<std::size_t>(std::int64_t{x} * original.width() / width) * 3;
    const std::size_t blocks_across = static_cast<std::size_t>((width + block_width - 1) / block_width);
    std::vector<std::uint64_t> mosaic_sums(blocks_across * 3), original_sums(blocks_across * 3);
    double absolute = 0, squared = 0;
    std::uint64_t values = 0;
    for (int top = 0; top < height; top += block_height) {
        const int bottom = std::min(height, top + block_height);
        std::fill(mosaic_sums.begin(), mosaic_sums.end(), 0);
        std::fill(original_sums.begin(), original_sums.end(), 0);
        const RasterImage band = mosaic.Read_Rows(bottom - top);
        for (int y = top; y < bottom; ++y) {
            const std::uint8_t* m = band.row(y - top);
            const std::uint8_t* o = original.row(static_cast<int>(std::int64_t{y} * original.height() / height));
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

Fidelity Compare_Block_Means(const RasterImage& original, const RasterImage& mosaic, int block_width, int block_height) {
    return Compare_Block_Means(original, *Rows_Of(mosaic), block_width, block_height);
}

}  // namespace tilvane
