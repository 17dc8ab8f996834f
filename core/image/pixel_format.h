#pragma once
#include <array>
#include <cstdint>
#include <optional>

namespace tilvane {

// Bits per stored pixel. Custom stands for any channel layout other than the standard ones
// (for example 16 bits with 4-4-4 masks); it can be read from a file but not set.
enum class Pixel_Format : std::uint8_t {
    Bits1 = 1,
    Bits4 = 4,
    Bits8 = 8,
    Bits15 = 15,
    Bits16 = 16,
    Bits24 = 24,
    Bits32 = 32,
    Custom = 0,
};

constexpr bool Has_Colour_Table(Pixel_Format f) {
    return f == Pixel_Format::Bits1 || f == Pixel_Format::Bits4 || f == Pixel_Format::Bits8;
}

// Number of entries a colour table of the format holds at most (0 for direct formats).
constexpr int Colour_Table_Capacity(Pixel_Format f) {
    return Has_Colour_Table(f) ? 1 << static_cast<int>(f) : 0;
}

// The settable format for a bits-per-pixel count typed by a user (1, 4, 8, 15, 16, 24, 32).
std::optional<Pixel_Format> Pixel_Format_From_Bits(int bits);

// The channel masks of a direct-colour layout stored in a 16- or 32-bit pixel.
struct Channel_Masks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
    friend constexpr bool operator==(const Channel_Masks&, const Channel_Masks&) = default;
};

inline constexpr Channel_Masks kMasks555{0x7C00, 0x03E0, 0x001F};
inline constexpr Channel_Masks kMasks565{0xF800, 0x07E0, 0x001F};
inline constexpr Channel_Masks kMasks888{0xFF0000, 0x00FF00, 0x0000FF};

// One channel of a mask: its shift and width in bits. A mask that is zero or not one run of
// set bits has width 0, and the channel then reads as 0.
struct Channel_Field {
    int shift = 0;
    int bits = 0;

    static Channel_Field From_Mask(std::uint32_t mask);
    // The 8-bit value of a stored field value, widened by rounding: round(v * 255 / max).
    std::uint8_t Widen(std::uint32_t field_value) const;
    // The stored field value nearest to an 8-bit value.
    std::uint32_t Narrow(std::uint8_t value) const;
};

// Rounds each channel to what a direct layout can hold: for every 8-bit value, the 8-bit value
// read back after storing it. Identity for 8-bit channels.
struct Channel_Rounding {
    std::array<std::uint8_t, 256> red{};
    std::array<std::uint8_t, 256> green{};
    std::array<std::uint8_t, 256> blue{};
    bool identity = true;

    static Channel_Rounding For_Masks(const Channel_Masks& masks);
    static const Channel_Rounding& None();
};

}  // namespace tilvane
