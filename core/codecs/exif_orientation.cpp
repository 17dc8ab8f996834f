#include "exif_orientation.h"

#include <cstring>
#include <utility>

namespace tilvane {

int Exif_Orientation(std::span<const std::uint8_t> app1_payload) {
    constexpr std::uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (app1_payload.size() < sizeof kExif || std::memcmp(app1_payload.data(), kExif, sizeof kExif) != 0) return 1;
    return Tiff_Orientation(app1_payload.subspan(sizeof kExif));
}

int Tiff_Orientation(std::span<const std::uint8_t> tiff) {
    constexpr std::uint32_t kOrientation_Tag = 0x0112, kShort_Type = 3;
    if (tiff.size() < 8) return 1;
    const bool little = tiff[0] == 'I' && tiff[1] == 'I';
    if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) return 1;
    // Callers check that at + 2 (or + 4) lies within tiff.
    const auto u16 = [&](std::size_t at) -> std::uint32_t {
        return little ? tiff[at] | tiff[at + 1] << 8 : tiff[at] << 8 | tiff[at + 1];
    };
    const auto u32 = [&](std::size_t at) -> std::uint32_t {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    if (u16(2) != 42) return 1;
    const std::uint64_t directory = u32(4);
    if (directory > tiff.size() || tiff.size() - directory < 2) return 1;
    const std::uint32_t entries = u16(static_cast<std::size_t>(directory));
    for (std::uint64_t i = 0; i < entries; ++i) {
        const std::uint64_t entry = directory + 2 + 12 * i;
        if (entry + 12 > tiff.size()) return 1;
        const auto at = static_cast<std::size_t>(entry);
        if (u16(at) != kOrientation_Tag) continue;
        const std::uint32_t value = u16(at + 8);
        return u16(at + 2) == kShort_Type && u32(at + 4) == 1 && value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

void Make_Upright(std::vector<std::uint8_t>& bgr, int& width, int& height, int orientation) {
    if (orientation < 2 || orientation > 8) return;
    const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    const bool swapped = orientation >= 5;
    const std::size_t out_w = swapped ? h : w, out_h = swapped ? w : h;
    std::vector<std::uint8_t> upright(bgr.size());
    for (std::size_t y = 0; y < out_h; ++y) {
        std::uint8_t* out = upright.data() + y * out_w * 3;
        for (std::size_t x = 0; x < out_w; ++x, out += 3) {
            // The stored pixel that shows at (x, y).
            std::size_t sx = x, sy = y;
            switch (orientation) {
                case 2: sx = w - 1 - x; break;
                case 3: sx = w - 1 - x, sy = h - 1 - y; break;
                case 4: sy = h - 1 - y; break;
                case 5: sx = y, sy = x; break;
                case 6: sx = y, sy = h - 1 - x; break;
                case 7: sx = w - 1 - y, sy = h - 1 - x; break;
                case 8: sx = w - 1 - y, sy = x; break;
            }
            std::memcpy(out, bgr.data() + (sy * w + sx) * 3, 3);
        }
    }
    bgr = std::move(upright);
    width = static_cast<int>(out_w);
    height = static_cast<int>(out_h);
}

}  // namespace tilvane
