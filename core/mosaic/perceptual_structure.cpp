#include "perceptual_structure.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "image/oklab.h"

namespace tilvane {
namespace {

Oklab Lab_Of(const float* bgr) {
    std::uint8_t bytes[3];
    for (int ch = 0; ch < 3; ++ch) bytes[ch] = static_cast<std::uint8_t>(std::clamp(std::lround(bgr[ch]), 0L, 255L));
    return Oklab_Of(bytes);
}

}  // namespace

Structure Perceptual_Structure(const Structure& bgr, Colour mean) {
    const float own[3] = {static_cast<float>(mean.blue), static_cast<float>(mean.green), static_cast<float>(mean.red)};
    const Oklab centre = Lab_Of(own);
    Structure s{};
    for (std::size_t part = 0; part < kStructure_Grid * kStructure_Grid; ++part) {
        float colour[3];
        for (std::size_t ch = 0; ch < 3; ++ch) colour[ch] = bgr[part * 3 + ch] + own[ch];
        const Oklab lab = Lab_Of(colour);
        s[part * 3] = (lab.l - centre.l) * 255;
        s[part * 3 + 1] = (lab.a - centre.a) * 255 * kPerceptual_Chroma_Weight;
        s[part * 3 + 2] = (lab.b - centre.b) * 255 * kPerceptual_Chroma_Weight;
    }
    return s;
}

void Make_Perceptual(Cell_Look& look) {
    look.structure = Perceptual_Structure(look.structure, look.target);
    look.clipped = false;
}

}  // namespace tilvane
