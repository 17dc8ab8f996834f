#include <algorithm>
#include <vector>

#include "picture_rows.h"
#include "png_codec.h"
#include "png_row_decoder.h"
#include "support/error.h"

namespace tilvane {
namespace {

// A PNG file stored row after row, decoded a band at a time; skipped rows are decoded and let go.
class Png_Rows final : public Picture_Rows {
public:
    explicit Png_Rows(std::unique_ptr<Png_Row_Decoder> decoder)
        : Picture_Rows(decoder->Width(), decoder->Height(), Raster_Image(0, 0)), decoder_(std::move(decoder)) {}

private:
    Raster_Image Band(int top, int rows) override {
        const std::size_t row_bytes = static_cast<std::size_t>(Width()) * 3;
        std::vector<std::uint8_t> bgr(row_bytes * static_cast<std::size_t>(rows));
        for (; decoded_ < top + rows; ++decoded_) {
            if (decoder_->Next_Row() != decoded_) throw Error::Png_Not_Valid();
            // A skipped row is decoded into the band's first row, which a later one overwrites.
            const int into = std::max(0, decoded_ - top);
            decoder_->Decode_Row(bgr.data() + static_cast<std::size_t>(into) * row_bytes);
        }
        if (decoded_ == Height()) decoder_->Finish();
        return Raster_Image::From_Layout(Width(), rows, Pixel_Format::Bits24, {}, kMasks888, 24, std::move(bgr));
    }

    std::unique_ptr<Png_Row_Decoder> decoder_;
    int decoded_ = 0;  // the rows decoded so far
};

}  // namespace

std::unique_ptr<Picture_Rows> Read_Png_Rows(const Byte_Source& source) {
    auto decoder = std::make_unique<Png_Row_Decoder>(source, decode_limits::Pixel_Cap::Lifted);
    // An interlaced file's passes each cover the whole picture.
    if (decoder->Interlaced()) return Rows_Of(Decode_Png(source));
    return std::make_unique<Png_Rows>(std::move(decoder));
}

}  // namespace tilvane
