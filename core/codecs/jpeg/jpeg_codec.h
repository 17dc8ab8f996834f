#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "codecs/band_writer.h"
#include "codecs/load_hint.h"
#include "codecs/picture_format.h"
#include "codecs/picture_rows.h"
#include "image/raster_image.h"
#include "support/byte_stream.h"

namespace tilvane {

// The format's name in its own words ("JPEG image is not valid").
inline constexpr char kJpeg_Name[] = "JPEG";

// Decodes a JPEG file (baseline, progressive or arithmetic-coded; greyscale, colour or CMYK)
// into a 24-bit image, at the smallest of libjpeg's scales 1/8 to 8/8 that still covers the
// hint, turned upright as its Exif orientation tag says (all 8 values; the hint is for the
// upright picture). Throws a Picture_Not_Valid error for anything libjpeg refuses and for a file
// that ends before its image does, and a Too_Large one for an image beyond the decoders' memory
// cap; memory stays bounded and nothing is written to the console.
Raster_Image Decode_Jpeg(const Byte_Source& source, Load_Hint hint = {});

// The size Decode_Jpeg gives at full scale, upright, from the file's headers alone: the frame's
// size, its sides swapped where the Exif orientation turns the picture a quarter round. Throws a
// Picture_Not_Valid error where the headers cannot be read.
Picture_Size Jpeg_Upright_Size(const Byte_Source& source);
Raster_Image Decode_Jpeg(std::span<const std::uint8_t> bytes, Load_Hint hint = {});

// Reads a JPEG file a band of scanlines at a time (Picture_Rows); one not stored upright whole.
std::unique_ptr<Picture_Rows> Read_Jpeg_Rows(const Byte_Source& source);

// The longest side a JPEG file can store (libjpeg's JPEG_MAX_DIMENSION).
inline constexpr int kLargest_Jpeg_Side = 65500;

// libjpeg makes optimised Huffman tables only from every coefficient of the picture, held until
// its end: 768 bytes for each 16x16 block of a 4:2:0 picture (4.6 GB at 48000x32000). A picture
// whose coefficients fit the budget gets those tables; a larger one is written with JPEG's
// standard tables, a row of blocks at a time, in bounded memory and a few percent more bytes. The
// choice rests on the size alone, so the same picture gives the same file however it is fed.
inline constexpr std::uint64_t kJpeg_Optimising_Budget = std::uint64_t{256} << 20;
std::uint64_t Jpeg_Coefficient_Bytes(int width, int height);

// Encodes a 24-bit colour JPEG (4:2:0, Huffman tables as above) of quality 1 to 100.
// Throws Error::Too_Large for an image with a side over kLargest_Jpeg_Side and a
// Not_Valid(Empty_Image) error for one without pixels, before writing anything.
void Encode_Jpeg(const Raster_Image& image, int quality, const Byte_Sink& sink);

// Writes the same file as Encode_Jpeg from its rows, top to bottom, one scanline at a time.
// Refuses what Encode_Jpeg refuses (a side over kLargest_Jpeg_Side as Too_Large), before writing
// anything; an error of the sink propagates. Tables are optimised within optimising_budget.
class Jpeg_Writer final : public Row_Writer {
public:
    Jpeg_Writer(int width, int height, int quality, Byte_Sink sink,
                std::uint64_t optimising_budget = kJpeg_Optimising_Budget);
    ~Jpeg_Writer() override;
    Jpeg_Writer(const Jpeg_Writer&) = delete;
    Jpeg_Writer& operator=(const Jpeg_Writer&) = delete;

    // The next row: width pixels of blue, green and red bytes. The last row ends the file.
    void Write_Row(const std::uint8_t* bgr) override;

    struct Encode;

private:
    void Check(bool done);
    std::unique_ptr<Encode> encode_;
};

}  // namespace tilvane
