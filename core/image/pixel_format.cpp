#include "pixel_format.h"

#include <bit>

namespace tilvane {

std::optional<PixelFormat> pixel_format_from_bits(int bits) {
    switch (bits) {
        case 1: return PixelFormat::Bits1;
        case 4: return PixelFormat::Bits4;
        case 8: return PixelFormat::Bits8;
        case 15: return PixelFormat::Bits15;
        case 16: return PixelFormat::Bits16;
        case 24: return PixelFormat::Bits24;
        case 32: return PixelFormat::Bits32;
        default: return std::nullopt;
    }
}

ChannelField ChannelField::from_mask(std::uint32_t mask) {
    if (mask == 0) return {};
    const int shift = std::countr_zero(mask);
    const std::uint32_t run = mask >> shift;
    if ((run & (run + 1)) != 0) return {};  // not one run of set bits
    return {shift, std::popcount(run)};
}

std::uint8_t ChannelField::widen(std::uint32_t field_value) const {
    if (bits == 0) return 0;
    const std::uint64_t max = (std::uint64_t{1} << bits) - 1;
    const std::uint64_t v = field_value & max;
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
}

std::uint32_t ChannelField::narrow(std::uint8_t value) const {
    if (bits == 0) return 0;
    const std::uint64_t max = (std::uint64_t{1} << bits) - 1;
    return static_cast<std::uint32_t>((value * max + 127) / 255);
}

ChannelRounding ChannelRounding::for_masks(const ChannelMasks& masks) {
    ChannelRounding r;
    const ChannelField red = ChannelField::from_mask(masks.red);
    const ChannelField green = ChannelField::from_mask(masks.green);
    const ChannelField blue = ChannelField::from_mask(masks.blue);
    for (int v = 0; v < 256; ++v) {
        const auto b = static_cast<std::uint8_t>(v);
        r.red[v] = red.widen(red.narrow(b));
        r.green[v] = green.widen(green.narrow(b));
        r.blue[v] = blue.widen(blue.narrow(b));
        r.identity = r.identity && r.red[v] == b && r.green[v] == b && r.blue[v] == b;
    }
    return r;
}

const ChannelRounding& ChannelRounding::none() {
    static const ChannelRounding rounding = for_masks(kMasks888);
    return rounding;
}

}  // namespace tilvane
