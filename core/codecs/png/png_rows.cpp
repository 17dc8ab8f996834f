#include "codecs/decoded_rows.h"
#include "png_codec.h"
#include "png_row_decoder.h"
#include "support/error.h"

namespace tilvane {

std::unique_ptr<Picture_Rows> Read_Png_Rows(const Byte_Source& source) {
    auto decoder = std::make_unique<Png_Row_Decoder>(source, decode_limits::Pixel_Cap::Lifted);
    // An interlaced file's passes each cover the whole picture, and turning a picture upright moves
    // its rows across the whole of it.
    if (decoder->Interlaced() || decoder->Orientation() != 1) {
        decoder.reset();
        return Rows_Of(Decode_Png(source));
    }
    return std::make_unique<Decoded_Rows<Png_Row_Decoder>>(std::move(decoder), [](Png_Row_Decoder& png, int row, std::uint8_t* bgr) {
        if (png.Next_Row() != row) throw Error::Picture_Not_Valid(kPng_Name);
        png.Decode_Row(bgr);
    });
}

}  // namespace tilvane
