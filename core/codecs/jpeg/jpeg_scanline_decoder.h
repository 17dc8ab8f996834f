#pragma once
#include <cstdint>
#include <memory>

#include "codecs/decode_limits.h"
#include "jpeg_codec.h"
#include "support/byte_stream.h"

namespace tilvane {

// libjpeg's decode of a JPEG file a few scanlines at a time, as stored (not yet turned upright),
// into blue-green-red rows (Decode_Jpeg's rules, scale chosen by the hint included).
class Jpeg_Scanline_Decoder {
public:
    // Reads the headers and starts the decode. Throws a Picture_Not_Valid error for anything libjpeg
    // refuses, and a Too_Large one for an output beyond the decoders' pixel cap where it applies.
    Jpeg_Scanline_Decoder(const Byte_Source& source, Load_Hint hint, decode_limits::Pixel_Cap cap);
    ~Jpeg_Scanline_Decoder();

    int Width() const;
    int Height() const;
    int Orientation() const;  // the Exif orientation, 1 to 8

    // Decodes the next rows into bgr, Width() pixels of 3 bytes a row. Throws Picture_Not_Valid.
    void Read_Rows(std::uint8_t* bgr, int rows);
    // Ends the decode once every row has been read.
    void Finish();

    struct Decode;  // libjpeg's state, which only the decoder's source file knows

private:
    std::unique_ptr<Decode> d_;
};

}  // namespace tilvane
