#pragma once
#include <cstdint>

// Layout constants shared by the BMP decoder and encoder.
namespace tilvane::bmp {

inline constexpr std::uint8_t kSignature[2] = {'B', 'M'};
inline constexpr std::uint32_t kFile_Header_Size = 14;

inline constexpr std::uint32_t kCore_Header_Size = 12;
inline constexpr std::uint32_t kInfo_Header_Size = 40;
inline constexpr std::uint32_t kV2_Header_Size = 52;  // BITMAPINFOHEADER plus RGB masks
inline constexpr std::uint32_t kV3_Header_Size = 56;  // ... plus an alpha mask
inline constexpr std::uint32_t kV4_Header_Size = 108;
inline constexpr std::uint32_t kV5_Header_Size = 124;
inline constexpr std::uint32_t kOs2_Short_Header_Size = 16;
inline constexpr std::uint32_t kOs2_Header_Size = 64;

enum Compression : std::uint32_t {
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    Bitfields = 3,
    Jpeg = 4,  // the pixel data is a JPEG file
    Png = 5,   // the pixel data is a PNG file
    Alpha_Bitfields = 6,
    // OS/2 headers give RLE24 the value 4; the decoder tells it from Jpeg by this one.
    Os2_Rle24 = 0x104,
};

inline constexpr bool Is_Run_Length(std::uint32_t compression) {
    return compression == Rle8 || compression == Rle4 || compression == Os2_Rle24;
}

// Rows are padded to whole 32-bit words.
inline constexpr std::uint64_t Row_Stride(std::uint64_t width, int bits) {
    return (width * static_cast<std::uint64_t>(bits) + 31) / 32 * 4;
}

}  // namespace tilvane::bmp
