#include "pixel_format.h"

#include <bit>

namespace tilvane {

std::optional<Pixel_Format> Pixel_Format_From_Bits(int bits) {
    switch (bits) {
        case 1: return Pixel_Format::Bits1;
        case 4: return Pixel_Format::Bits4;
        case 8: return Pixel_Format::Bits8;
        case 15: return Pixel_Format::Bits15;
        case 16: return Pixel_Format::Bits16;
        case 24: return Pixel_Format::Bits24;
        case 32: return Pixel_Format::Bits32;
        default: return std::nullopt;
    }
}

Channel_Field Channel_Field::From_Mask(std::uint32_t mask) {
    if (mask == 0) return {};
    const int shift = std::countr_zero(mask);
    const std::uint32_t run = mask >> shift;
    if ((run & (run + 1)) != 0) return {};  // not one run of set bits
    return {shift, std::popcount(run)};
}

std::uint8_t Channel_Field::Widen(std::uint32_t field_value) const {
    if (bits == 0) return 0;
    const std::uint64_t max = (std::uint64_t{1} << bits) - 1;
    const std::uint64_t v = field_value & max;
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
}

std::uint32_t Channel_Field::Narrow(std::uint8_t value) const {
    if (bits == 0) return 0;
    const std::uint64_t max = (std::uint64_t{1} << bits) - 1;
    return static_cast<std::uint32_t>((value * max + 127) / 255);
}

Channel_Rounding Channel_Rounding::For_Masks(const Channel_Masks& masks) {
    Channel_Rounding r;
    const Channel_Field red = Channel_Field::From_Mask(masks.red);
    const Channel_Field green = Channel_Field::From_Mask(masks.green);
    const Channel_Field blue = Channel_Field::From_Mask(masks.blue);
    for (int v = 0; v < 256; ++v) {
        const auto b = static_cast<std::uint8_t>(v);
        r.red[v] = red.Widen(red.Narrow(b));
        r.green[v] = green.Widen(green.Narrow(b));
        r.blue[v] = blue.Widen(blue.Narrow(b));
        r.identity = r.identity && r.red[v] == b && r.green[v] == b && r.blue[v] == b;
    }
    return r;
}

const Channel_Rounding& Channel_Rounding::None() {
    static const Channel_Rounding rounding = For_Masks(kMasks888);
    return rounding;
}

}  // namespace tilvane
