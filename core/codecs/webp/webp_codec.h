#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "codecs/band_writer.h"
#include "codecs/picture_rows.h"
#include "image/raster_image.h"
#include "support/byte_stream.h"

namespace tilvane {

// The format's name in its own words ("WebP image is not valid").
inline constexpr char kWebp_Name[] = "WebP";

// The longest side a WebP file can store (libwebp's WEBP_MAX_DIMENSION).
inline constexpr int kLargest_Webp_Side = 16383;

// Decodes a WebP file (lossy, lossless, with or without alpha; of an animation, its first frame
// as the animation shows it) into a 24-bit image, translucent pixels laid onto white as a PNG's
// are. Throws a Picture_Not_Valid error for anything libwebp refuses (a file cut short
// included), and a Too_Large one for a picture beyond the decoders' limits or far larger than
// its data could describe.
Raster_Image Decode_Webp(const Byte_Source& source);
Raster_Image Decode_Webp(std::span<const std::uint8_t> bytes);

// Reads a WebP file whole (libwebp decodes a file at once) and hands it out in bands.
std::unique_ptr<Picture_Rows> Read_Webp_Rows(const Byte_Source& source);

// How a WebP file is compressed: lossy at a quality of 1 to 100, or lossless.
struct Webp_Compression {
    int quality;
    bool lossless;
};

// Encodes an image as a WebP file without alpha. Throws a Not_Valid(Empty_Image) error for an
// image without pixels and a Too_Large one for a side over kLargest_Webp_Side, before writing
// anything; a failing sink's error propagates.
void Encode_Webp(const Raster_Image& image, Webp_Compression compression, const Byte_Sink& sink);

// Writes the same file as Encode_Webp from bands of rows: libwebp encodes a picture at once, so
// the rows are gathered (3 bytes a pixel) and the file written by Finish. Refuses what
// Encode_Webp refuses, before taking any row.
class Webp_Writer final : public Band_Writer {
public:
    Webp_Writer(int width, int height, Webp_Compression compression, Byte_Sink sink);
    void Write_Band(const Raster_Image& band) override;
    void Finish() override;

private:
    Raster_Image picture_;
    Webp_Compression compression_;
    Byte_Sink sink_;
    int rows_given_ = 0;
};

}  // namespace tilvane
