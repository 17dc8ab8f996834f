#include <vector>

#include "jpeg_codec.h"
#include "jpeg_scanline_decoder.h"
#include "picture_rows.h"

namespace tilvane {
namespace {

// A JPEG file stored upright, decoded a band of scanlines at a time; skipped rows are decoded and
// let go.
class Jpeg_Rows final : public Picture_Rows {
public:
    explicit Jpeg_Rows(std::unique_ptr<Jpeg_Scanline_Decoder> decoder)
        : Picture_Rows(decoder->Width(), decoder->Height(), Raster_Image(0, 0)), decoder_(std::move(decoder)) {}

private:
    Raster_Image Band(int top, int rows) override {
        const std::size_t row_bytes = static_cast<std::size_t>(Width()) * 3;
        std::vector<std::uint8_t> bgr(row_bytes * static_cast<std::size_t>(rows));
        for (; decoded_ < top; ++decoded_) decoder_->Read_Rows(bgr.data(), 1);
        decoder_->Read_Rows(bgr.data(), rows);
        decoded_ += rows;
        if (decoded_ == Height()) decoder_->Finish();
        return Raster_Image::From_Layout(Width(), rows, Pixel_Format::Bits24, {}, kMasks888, 24, std::move(bgr));
    }

    std::unique_ptr<Jpeg_Scanline_Decoder> decoder_;
    int decoded_ = 0;  // the rows decoded so far
};

}  // namespace

std::unique_ptr<Picture_Rows> Read_Jpeg_Rows(const Byte_Source& source) {
    auto decoder = std::make_unique<Jpeg_Scanline_Decoder>(source, Load_Hint{}, decode_limits::Pixel_Cap::Lifted);
    // Turning a picture upright moves its rows across the whole of it.
    if (decoder->Orientation() != 1) {
        decoder.reset();
        return Rows_Of(Decode_Jpeg(source));
    }
    return std::make_unique<Jpeg_Rows>(std::move(decoder));
}

}  // namespace tilvane
