#include <algorithm>
#include <exception>
#include <memory>
#include <new>

#include <webp/encode.h>

#include "codecs/webp/webp_codec.h"
#include "image/raster_drawing.h"
#include "support/error.h"

namespace tilvane {
namespace {

void Check_Size(int width, int height) {
    if (width <= 0 || height <= 0) throw Error::Not_Valid(Bitmap_Fault::Empty_Image);
    if (width > kLargest_Webp_Side || height > kLargest_Webp_Side)
        throw Error::Too_Large_Picture({}, Bitmap_Fault::Side_Too_Long, 0, 0, kWebp_Name, kLargest_Webp_Side);
}

// Where libwebp's bytes go: the sink, whose error is kept to be thrown once libwebp has returned.
struct Sink_Writer {
    const Byte_Sink* sink;
    std::exception_ptr failure;
};

int Write_To_Sink(const std::uint8_t* data, std::size_t size, const WebPPicture* picture) {
    auto* writer = static_cast<Sink_Writer*>(picture->custom_ptr);
    try {
        (*writer->sink)(std::span(data, size));
        return 1;
    } catch (...) {
        writer->failure = std::current_exception();
        return 0;
    }
}

struct Picture_Free {
    void operator()(WebPPicture* picture) const { WebPPictureFree(picture); }
};

}  // namespace

void Encode_Webp(const Raster_Image& image, Webp_Compression compression, const Byte_Sink& sink) {
    Check_Size(image.Width(), image.Height());
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&picture)) throw std::bad_alloc();
    config.lossless = compression.lossless ? 1 : 0;
    // For a lossless file the quality is how hard libwebp tries; its default is kept.
    if (!compression.lossless) config.quality = static_cast<float>(std::clamp(compression.quality, 1, 100));
    picture.use_argb = config.lossless;
    picture.width = image.Width();
    picture.height = image.Height();
    const std::unique_ptr<WebPPicture, Picture_Free> owned(&picture);
    // The image's rows lie one after another, 3 bytes a pixel.
    if (!WebPPictureImportBGR(&picture, image.Row(0), image.Width() * 3)) throw std::bad_alloc();
    Sink_Writer writer{&sink, {}};
    picture.writer = Write_To_Sink;
    picture.custom_ptr = &writer;
    if (!WebPEncode(&config, &picture)) {
        if (writer.failure) std::rethrow_exception(writer.failure);
        // With its input checked beforehand, libwebp fails only for want of memory.
        throw std::bad_alloc();
    }
}

Webp_Writer::Webp_Writer(int width, int height, Webp_Compression compression, Byte_Sink sink)
    : compression_(compression), sink_(std::move(sink)) {
    Check_Size(width, height);
    picture_ = Raster_Image(width, height);
}

void Webp_Writer::Write_Band(const Raster_Image& band) {
    if (band.Width() != picture_.Width() || band.Height() > picture_.Height() - rows_given_)
        throw Error::Not_Valid(Bitmap_Fault::Bad_Dimensions);
    Copy_Rect(picture_, Rect::At(0, rows_given_, band.Width(), band.Height()), band, Rect::At(0, 0, band.Width(), band.Height()));
    rows_given_ += band.Height();
}

void Webp_Writer::Finish() {
    if (rows_given_ != picture_.Height()) throw Error::Not_Valid(Bitmap_Fault::Bad_Dimensions);
    Encode_Webp(picture_, compression_, sink_);
}

}  // namespace tilvane
