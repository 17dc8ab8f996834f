#pragma once
#include <cstdint>

// How translucent pixels become the 24-bit colours of a picture without alpha: laid onto white,
// the same way for every format, so that a picture reads alike whichever format holds it.
namespace tilvane {

// An 8-bit channel under an 8-bit alpha.
inline std::uint8_t Onto_White(std::uint8_t value, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((unsigned{value} * alpha + 255 * (255u - alpha) + 127) / 255);
}

// The same for 16-bit channels, rounded to 8 bits in one step (an opaque one with alpha 65535).
inline std::uint8_t Onto_White(std::uint16_t value, std::uint16_t alpha) {
    constexpr std::uint64_t kFull = 65535;
    constexpr std::uint64_t kSquare = kFull * kFull;
    const std::uint64_t blended = std::uint64_t{value} * alpha + kFull * (kFull - alpha);
    return static_cast<std::uint8_t>((blended * 255 + kSquare / 2) / kSquare);
}

}  // namespace tilvane
