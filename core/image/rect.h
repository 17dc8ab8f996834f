#pragma once
#include <cstdint>

namespace tilvane {

// Right and bottom are exclusive: (x, y, x + w, y + h) covers w columns and h rows.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    static constexpr Rect at(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
        return {x, y, x + width, y + height};
    }
    constexpr std::int32_t width() const { return right - left; }
    constexpr std::int32_t height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// The part of r that lies inside a width x height image.
constexpr Rect clip_to(Rect r, std::int32_t width, std::int32_t height) {
    if (r.left < 0) r.left = 0;
    if (r.top < 0) r.top = 0;
    if (r.right > width) r.right = width;
    if (r.bottom > height) r.bottom = height;
    return r;
}

}  // namespace tilvane
