#pragma once
#include <cstdint>

namespace tilvane {

// Right and bottom are exclusive: (x, y, x + w, y + h) covers w columns and h rows.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    static constexpr Rect At(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
        return {x, y, x + width, y + height};
    }
    constexpr std::int32_t Width() const { return right - left; }
    constexpr std::int32_t Height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// The part of r that lies inside a width x height image.
constexpr Rect Clip_To(Rect r, std::int32_t width, std::int32_t height) {
    if (r.left < 0) r.left = 0;
    if (r.top < 0) r.top = 0;
    if (r.right > width) r.right = width;
    if (r.bottom > height) r.bottom = height;
    return r;
}

// The part of r inside a width x height destination whose pixels, moved by (dx, dy), also lie
// inside a source_width x source_height source: what a copy between two images can reach.
constexpr Rect Clip_To_Both(Rect r, std::int32_t width, std::int32_t height, std::int64_t dx, std::int64_t dy,
                            std::int32_t source_width, std::int32_t source_height) {
    r = Clip_To(r, width, height);
    if (r.left < -dx) r.left = static_cast<std::int32_t>(-dx);
    if (r.top < -dy) r.top = static_cast<std::int32_t>(-dy);
    if (r.right > source_width - dx) r.right = static_cast<std::int32_t>(source_width - dx);
    if (r.bottom > source_height - dy) r.bottom = static_cast<std::int32_t>(source_height - dy);
    return r;
}

}  // namespace tilvane
