#include <algorithm>
#include <memory>
#include <vector>

#include <webp/decode.h>
#include <webp/demux.h>

#include "codecs/decode_limits.h"
#include "codecs/onto_white.h"
#include "codecs/webp/webp_codec.h"
#include "support/error.h"

namespace tilvane {
namespace {

Error Webp_Not_Valid() { return Error::Picture_Not_Valid(kWebp_Name); }

// The whole file: libwebp decodes from bytes in memory. A RIFF file holds at most 4 GiB.
std::vector<std::uint8_t> Whole_File(const Byte_Source& source) {
    if (source.size() > 0xFFFFFFFFu + std::uint64_t{8}) throw Webp_Not_Valid();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(source.size()));
    if (!source.Read(0, bytes)) throw Webp_Not_Valid();
    return bytes;
}

struct Anim_Decoder_Delete {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

// An animation's first frame as it shows: laid on its canvas, which starts transparent.
void Decode_First_Frame(const std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t>& bgra) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) throw Webp_Not_Valid();
    options.color_mode = MODE_BGRA;
    options.use_threads = 0;
    const WebPData data{bytes.data(), bytes.size()};
    const std::unique_ptr<WebPAnimDecoder, Anim_Decoder_Delete> decoder(WebPAnimDecoderNew(&data, &options));
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info)) throw Webp_Not_Valid();
    std::uint8_t* frame = nullptr;
    int timestamp = 0;
    if (static_cast<std::uint64_t>(info.canvas_width) * info.canvas_height * 4 != bgra.size() ||
        !WebPAnimDecoderGetNext(decoder.get(), &frame, &timestamp))
        throw Webp_Not_Valid();
    std::copy(frame, frame + bgra.size(), bgra.begin());
}

}  // namespace

Raster_Image Decode_Webp(const Byte_Source& source) {
    const std::vector<std::uint8_t> bytes = Whole_File(source);
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK) throw Webp_Not_Valid();
    const auto width = static_cast<std::uint64_t>(features.width), height = static_cast<std::uint64_t>(features.height);
    // A lossless stream can describe a large picture in a few bytes.
    if (!decode_limits::Fits_Memory(width, height) || !decode_limits::Plausible_For_Data(width * height, bytes.size()))
        throw Error::Too_Many_Pixels();
    const std::size_t pixels = static_cast<std::size_t>(width * height);
    std::vector<std::uint8_t> bgra(pixels * 4);
    if (features.has_animation) {
        Decode_First_Frame(bytes, bgra);
    } else if (!WebPDecodeBGRAInto(bytes.data(), bytes.size(), bgra.data(), bgra.size(), features.width * 4)) {
        throw Webp_Not_Valid();
    }
    std::vector<std::uint8_t> bgr(pixels * 3);
    for (std::size_t i = 0; i < pixels; ++i)
        for (int channel = 0; channel < 3; ++channel) bgr[i * 3 + channel] = Onto_White(bgra[i * 4 + channel], bgra[i * 4 + 3]);
    return Raster_Image::From_Layout(features.width, features.height, Pixel_Format::Bits24, {}, kMasks888, 24, std::move(bgr));
}

Raster_Image Decode_Webp(std::span<const std::uint8_t> bytes) { return Decode_Webp(Memory_Source(bytes)); }

std::unique_ptr<Picture_Rows> Read_Webp_Rows(const Byte_Source& source) { return Rows_Of(Decode_Webp(source)); }

}  // namespace tilvane
