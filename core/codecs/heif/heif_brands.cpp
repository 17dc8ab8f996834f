#include "codecs/heif/heif_codec.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tilvane {
namespace {

// The brands that mark a still HEIF picture: HEVC-coded (HEIC), generic, and AV1-coded (AVIF).
constexpr std::array<std::string_view, 8> kPicture_Brands = {"heic", "heix", "heim", "heis",
                                                              "mif1", "msf1", "avif", "avis"};

std::uint32_t Big_Endian_32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

bool Is_Picture_Brand(const std::uint8_t* brand) {
    const std::string_view name(reinterpret_cast<const char*>(brand), 4);
    return std::find(kPicture_Brands.begin(), kPicture_Brands.end(), name) != kPicture_Brands.end();
}

}  // namespace

bool Looks_Like_Heif(std::span<const std::uint8_t> bytes) {
    // size, "ftyp", major brand, minor version, then the compatible brands to the box's end.
    if (bytes.size() < 16 || std::string_view(reinterpret_cast<const char*>(&bytes[4]), 4) != "ftyp") return false;
    const std::size_t box_end = std::min<std::size_t>(Big_Endian_32(bytes.data()), bytes.size());
    if (Is_Picture_Brand(&bytes[8])) return true;
    for (std::size_t at = 16; at + 4 <= box_end; at += 4)
        if (Is_Picture_Brand(&bytes[at])) return true;
    return false;
}

}  // namespace tilvane
