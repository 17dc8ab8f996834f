#pragma once
#include <cstdint>

// Layout constants shared by the BMP decoder and encoder.
namespace tilvane::bmp {

inline constexpr std::uint8_t kSignature[2] = {'B', 'M'};
inline constexpr std::uint32_t kFileHeaderSize = 14;

inline constexpr std::uint32_t kCoreHeaderSize = 12;
inline constexpr std::uint32_t kInfoHeaderSize = 40;
inline constexpr std::uint32_t kV2HeaderSize = 52;  // BITMAPINFOHEADER plus RGB masks
inline constexpr std::uint32_t kV3HeaderSize = 56;  // ... plus an alpha mask
inline constexpr std::uint32_t kV4HeaderSize = 108;
inline constexpr std::uint32_t kV5HeaderSize = 124;
inline constexpr std::uint32_t kOs2ShortHeaderSize = 16;
inline constexpr std::uint32_t kOs2HeaderSize = 64;

enum Compression : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitfields = 3,
    kJpeg = 4,  // the pixel data is a JPEG file
    kPng = 5,   // the pixel data is a PNG file
    kAlphaBitfields = 6,
    // OS/2 headers give RLE24 the value 4; the decoder tells it from kJpeg by this one.
    kOs2Rle24 = 0x104,
};

inline constexpr bool is_run_length(std::uint32_t compression) {
    return compression == kRle8 || compression == kRle4 || compression == kOs2Rle24;
}

// Rows are padded to whole 32-bit words.
inline constexpr std::uint64_t row_stride(std::uint64_t width, int bits) {
    return (width * static_cast<std::uint64_t>(bits) + 31) / 32 * 4;
}

}  // namespace tilvane::bmp
