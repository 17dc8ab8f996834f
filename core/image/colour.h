#pragma once
#include <cstdint>

namespace tilvane {

// Three 8-bit channels; no alpha. Packed form: red in the lowest byte, then green, then blue.
struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    constexpr std::uint32_t Packed() const {
        return std::uint32_t{red} | std::uint32_t{green} << 8 | std::uint32_t{blue} << 16;
    }
    static constexpr Colour From_Packed(std::uint32_t value) {
        return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value >> 16)};
    }
    friend constexpr bool operator==(Colour, Colour) = default;
};

inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kBlack{0, 0, 0};

}  // namespace tilvane
