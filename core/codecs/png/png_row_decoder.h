#pragma once
#include <cstdint>
#include <memory>

#include "codecs/decode_limits.h"
#include "support/byte_stream.h"

struct spng_ctx;

namespace tilvane {

// libspng's progressive decode of a PNG file, one row at a time (one row of a pass in an
// interlaced file), into blue-green-red pixels laid onto white (Decode_Png's rules).
class Png_Row_Decoder {
public:
    // Reads the headers and the chunks before the image data. Throws a Picture_Not_Valid error for
    // anything libspng refuses and for a file too small for its rows, and a Too_Large one for a size
    // beyond the decoders' limits (the pixel cap only where it applies).
    Png_Row_Decoder(const Byte_Source& source, decode_limits::Pixel_Cap cap);
    ~Png_Row_Decoder();

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Interlaced() const { return interlaced_; }
    // The Exif orientation (1 to 8) of an eXIf chunk before the image data; the rows come as stored.
    int Orientation() const { return orientation_; }

    // The image row that Decode_Row fills next, or -1 once the image is complete.
    int Next_Row();
    // Decodes that row (the pixels of its pass) into bgr, Width() pixels of 3 bytes.
    void Decode_Row(std::uint8_t* bgr);
    // Reads the rest of the file up to its end chunk, so that a file cut short is refused.
    void Finish();

    // Where libspng's reading callback stands in the file.
    struct Stream_Reader {
        const Byte_Source* source;
        std::uint64_t offset = 0;
    };

private:
    struct Context_Free {
        void operator()(spng_ctx* ctx) const;
    };
    std::unique_ptr<spng_ctx, Context_Free> ctx_;
    Stream_Reader reader_;
    int width_ = 0;
    int height_ = 0;
    int orientation_ = 1;
    bool wide_ = false;
    bool interlaced_ = false;
    bool ended_ = false;
    int pass_ = 6;
    std::unique_ptr<std::uint16_t[]> decoded_;  // four channels of 8 or 16 bits a pixel
};

}  // namespace tilvane
