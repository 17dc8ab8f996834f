#include "tile_choice_rules.h"

#include <numeric>

namespace tilvane {

std::vector<int> All_Tiles(int count) {
    std::vector<int> all(static_cast<std::size_t>(count));
    std::iota(all.begin(), all.end(), 0);
    return all;
}

// Tiles whose error lies within this share of the best, plus this squared difference per grid
// part and channel (4 levels), count as ties: in flat areas many tiles match about equally, and
// one of them would otherwise fill the area.
constexpr float kTie_Share = 0.1f;
constexpr float kTie_Squares = 16;

float Tie_Limit(float best, const Cell_Look& look) {
    const int parts = static_cast<int>(std::count(look.visible.begin(), look.visible.end(), true));
    return best * (1 + kTie_Share) + kTie_Squares * 3 * parts;
}

float Match_Error(const Structure& t, const Cell_Look& look) {
    const float target[3] = {static_cast<float>(look.target.blue), static_cast<float>(look.target.green),
                             static_cast<float>(look.target.red)};
    float error = 0;
    for (int part = 0; part < kStructure_Grid * kStructure_Grid; ++part) {
        if (!look.visible[static_cast<std::size_t>(part)]) continue;
        for (int ch = 0; ch < 3; ++ch) {
            const std::size_t i = static_cast<std::size_t>(part * 3 + ch);
            const float shifted = look.clipped ? std::clamp(t[i] + target[ch], 0.0f, 255.0f) : t[i] + target[ch];
            const float d = shifted - (look.structure[i] + target[ch]);
            error += d * d;
        }
    }
    return error;
}

std::vector<Structure> Choice_Structures(std::vector<Structure> tiles, bool mirror) {
    if (!mirror) return tiles;
    std::vector<Structure> both;
    both.reserve(tiles.size() * 2);
    for (const Structure& s : tiles) {
        both.push_back(s);
        both.push_back(Mirrored(s));
    }
    return both;
}

}  // namespace tilvane
