#include "codecs/decoded_rows.h"
#include "jpeg_codec.h"
#include "jpeg_scanline_decoder.h"

namespace tilvane {

std::unique_ptr<Picture_Rows> Read_Jpeg_Rows(const Byte_Source& source) {
    auto decoder = std::make_unique<Jpeg_Scanline_Decoder>(source, Load_Hint{}, decode_limits::Pixel_Cap::Lifted);
    // Turning a picture upright moves its rows across the whole of it.
    if (decoder->Orientation() != 1) {
        decoder.reset();
        return Rows_Of(Decode_Jpeg(source));
    }
    return std::make_unique<Decoded_Rows<Jpeg_Scanline_Decoder>>(
        std::move(decoder), [](Jpeg_Scanline_Decoder& scanlines, int, std::uint8_t* bgr) { scanlines.Read_Rows(bgr, 1); });
}

}  // namespace tilvane
