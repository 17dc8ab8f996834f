#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "picture_rows.h"

namespace tilvane {

// A 24-bit picture decoded row after row from its top (a PNG or JPEG file as stored), a band at a
// time; skipped rows are decoded and let go.
template <typename Decoder>
class Decoded_Rows final : public Picture_Rows {
public:
    // Decodes the decoder's next row, the picture's row numbered row, into bgr (width pixels of 3
    // bytes), or throws the format's error.
    using Row_Reader = void (*)(Decoder& decoder, int row, std::uint8_t* bgr);

    Decoded_Rows(std::unique_ptr<Decoder> decoder, Row_Reader read_row)
        : Picture_Rows(decoder->Width(), decoder->Height(), Raster_Image(0, 0)),
          decoder_(std::move(decoder)),
          read_row_(read_row) {}

private:
    Raster_Image Band(int top, int rows) override {
        const std::size_t row_bytes = static_cast<std::size_t>(Width()) * 3;
        std::vector<std::uint8_t> bgr(row_bytes * static_cast<std::size_t>(rows));
        for (; decoded_ < top + rows; ++decoded_) {
            // A skipped row is decoded into the band's first row, which a later one overwrites.
            const int into = std::max(0, decoded_ - top);
            read_row_(*decoder_, decoded_, bgr.data() + static_cast<std::size_t>(into) * row_bytes);
        }
        if (decoded_ == Height()) decoder_->Finish();
        return Raster_Image::From_Layout(Width(), rows, Pixel_Format::Bits24, {}, kMasks888, 24, std::move(bgr));
    }

    std::unique_ptr<Decoder> decoder_;
    Row_Reader read_row_;
    int decoded_ = 0;  // the rows decoded so far
};

}  // namespace tilvane
