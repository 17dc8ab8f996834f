#pragma once
// Oklab, a perceptual colour space: L is lightness, a and b the green-red and blue-yellow
// opponents, so that equal distances look about equally different. Pixels are 8-bit sRGB; the
// sRGB curve is read from tables, so a conversion costs a few multiplications and cube roots.
#include <cstdint>

namespace tilvane {

struct Oklab {
    float l, a, b;
};

// The pixel at bgr (blue, green, red bytes) in Oklab.
Oklab Oklab_Of(const std::uint8_t* bgr);

// The sRGB values (blue, green, red; 0 to 255, not rounded) of an Oklab colour, held within the
// sRGB range.
void Srgb_Of(Oklab colour, float* bgr);

}  // namespace tilvane
