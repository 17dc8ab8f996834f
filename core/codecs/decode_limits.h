#pragma once
#include <algorithm>
#include <cstdint>

// The bounds every decoder holds a file's claims to, whatever its headers say.
namespace tilvane::decode_limits {

// Decoded pixels (3 bytes each) stay within 4 GiB, about what a BMP's 32-bit size fields can
// describe. A picture beyond it, or beyond the memory there is, is refused as too large.
inline constexpr std::uint64_t kMax_Pixel_Bytes = std::uint64_t{1} << 32;

// A compressed stream can describe a large image in a few bytes (an RLE end-of-bitmap code,
// a JPEG scan of empty blocks), so its size says little about the image's. Images up to
// kFree_Pixels are always accepted; larger ones need at least one byte of data per
// kPixels_Per_Byte pixels, which a real picture of that size has, while a hostile few-byte file
// cannot make a decoder fill gigabytes.
inline constexpr std::uint64_t kFree_Pixels = std::uint64_t{1} << 22;
inline constexpr std::uint64_t kPixels_Per_Byte = 1024;

// Whether the cap on decoded pixels holds: for a picture read whole; a picture read a band of
// rows at a time holds only a band.
enum class Pixel_Cap { Applies, Lifted };

inline bool Fits_Memory(std::uint64_t width, std::uint64_t height) {
    return width != 0 && height != 0 && height <= kMax_Pixel_Bytes / 3 / width;
}

inline bool Plausible_For_Data(std::uint64_t pixels, std::uint64_t data_bytes) {
    return pixels <= std::max(kFree_Pixels, kPixels_Per_Byte * data_bytes);
}

}  // namespace tilvane::decode_limits
