#include "synthetic_photo.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace tilvane::bench {

RasterImage synthetic_photo(int width, int height, unsigned seed) {
    RasterImage image(width, height, PixelFormat::Bits24);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-6, 6);
    const double cx = width * 0.6, cy = height * 0.4, radius = 0.35 * std::min(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = image.row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const double dx = x - cx, dy = y - cy;
            const double sun = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy) / radius);
            const double sky = static_cast<double>(y) / height;
            const double wave = 0.5 + 0.5 * std::sin(x * 0.01 + std::cos(y * 0.013) * 3);
            const auto channel = [&](double v) {
                return static_cast<std::uint8_t>(std::clamp(static_cast<int>(v * 255) + noise(random), 0, 255));
            };
            p[2] = channel(0.2 + 0.6 * sun + 0.2 * wave);
            p[1] = channel(0.3 * sky + 0.4 * sun + 0.2 * wave);
            p[0] = channel(0.8 - 0.6 * sky + 0.1 * wave);
        }
    }
    return image;
}

}  // namespace tilvane::bench
