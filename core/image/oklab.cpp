#include "oklab.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cmath>

namespace tilvane {
namespace {

double Srgb_To_Linear(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }
double Linear_To_Srgb(double v) { return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055; }

// Linear light of each byte value.
const std::array<float, 256>& Linear_Table() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = static_cast<float>(Srgb_To_Linear(i / 255.0));
        return t;
    }();
    return table;
}

// The sRGB value (0 to 255) of linear light at kSteps + 1 even steps, read between by a straight
// line: the steps are fine enough that the line strays from the curve by well under a level.
constexpr int kSteps = 4096;
const std::array<float, kSteps + 1>& Srgb_Table() {
    static const std::array<float, kSteps + 1> table = [] {
        std::array<float, kSteps + 1> t{};
        for (int i = 0; i <= kSteps; ++i)
            t[static_cast<std::size_t>(i)] = static_cast<float>(255 * Linear_To_Srgb(static_cast<double>(i) / kSteps));
        return t;
    }();
    return table;
}

// The cube root of x in 0..1 (light never exceeds that): a first guess from the float's exponent
// bits, then two Halley steps, each of which triples the digits, to full float precision. The
// library's cbrtf takes several times as long, and a mosaic takes two cube roots a pixel.
float Cube_Root(float x) {
    if (x <= 0) return 0;
    float y = std::bit_cast<float>(std::bit_cast<std::uint32_t>(x) / 3 + 709921077u);
    for (int step = 0; step < 2; ++step) {
        const float y3 = y * y * y;
        y *= (y3 + 2 * x) / (2 * y3 + x);
    }
    return y;
}

float Srgb_Level(float linear) {
    const float at = std::clamp(linear, 0.0f, 1.0f) * kSteps;
    const int step = std::min(static_cast<int>(at), kSteps - 1);
    const auto& t = Srgb_Table();
    const float low = t[static_cast<std::size_t>(step)], high = t[static_cast<std::size_t>(step) + 1];
    return low + (high - low) * (at - static_cast<float>(step));
}

}  // namespace

Oklab Oklab_Of(const std::uint8_t* bgr) {
    const auto& linear = Linear_Table();
    const float r = linear[bgr[2]], g = linear[bgr[1]], b = linear[bgr[0]];
    const float l = Cube_Root(0.4122214708f * r + 0.5363325363f * g + 0.0514459929f * b);
    const float m = Cube_Root(0.2119034982f * r + 0.6806995451f * g + 0.1073969566f * b);
    const float s = Cube_Root(0.0883024619f * r + 0.2817188376f * g + 0.6299787005f * b);
    return {0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
            1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
            0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
}

void Srgb_Of(Oklab c, float* bgr) {
    const float l = c.l + 0.3963377774f * c.a + 0.2158037573f * c.b;
    const float m = c.l - 0.1055613458f * c.a - 0.0638541728f * c.b;
    const float s = c.l - 0.0894841775f * c.a - 1.2914855480f * c.b;
    const float l3 = l * l * l, m3 = m * m * m, s3 = s * s * s;
    bgr[2] = Srgb_Level(4.0767416621f * l3 - 3.3077115913f * m3 + 0.2309699292f * s3);
    bgr[1] = Srgb_Level(-1.2684380046f * l3 + 2.6097574011f * m3 - 0.3413193965f * s3);
    bgr[0] = Srgb_Level(-0.0041960863f * l3 - 0.7034186147f * m3 + 1.7076147010f * s3);
}

}  // namespace tilvane
