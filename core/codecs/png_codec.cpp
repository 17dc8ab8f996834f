#include "codecs/png_codec.h"
#include "codecs/png_row_decoder.h"

#include <exception>
#include <memory>
#include <new>
#include <vector>

#include <spng.h>

#include "codecs/decode_limits.h"
#include "codecs/onto_white.h"
#include "support/error.h"

namespace tilvane {
namespace {

// Text, profile and other chunks that libspng keeps beside the image: far more than real files
// carry, and a bound on what a hostile file can make it hold.
constexpr std::size_t kMax_Chunk_Bytes = std::size_t{16} << 20;
constexpr std::size_t kMax_Kept_Chunk_Bytes = std::size_t{64} << 20;

// Deflate cannot shrink data by more than about 1032 to 1, so a file smaller than its rows
// divided by that cannot hold them: refusing it never refuses a real file, and keeps a few
// hostile bytes from claiming gigabytes.
constexpr std::uint64_t kMax_Inflate_Ratio = 1032;

// Where the pixels of each interlace pass lie in a row; a plain image is one pass of them all.
constexpr int kPass_Column_Start[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr int kPass_Column_Step[7] = {8, 8, 4, 4, 2, 2, 1};

int Read_From_Source(spng_ctx*, void* user, void* out, std::size_t length) {
    auto* r = static_cast<Png_Row_Decoder::Stream_Reader*>(user);
    const std::uint64_t size = r->source->size();
    if (r->offset > size || length > size - r->offset) return SPNG_IO_EOF;
    if (!r->source->Read(r->offset, std::span(static_cast<std::uint8_t*>(out), length))) return SPNG_IO_ERROR;
    r->offset += length;
    return 0;
}

int Channels_Of(const spng_ihdr& h) {
    switch (h.color_type) {
        case SPNG_COLOR_TYPE_TRUECOLOR: return 3;
        case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA: return 2;
        case SPNG_COLOR_TYPE_TRUECOLOR_ALPHA: return 4;
        default: return 1;
    }
}

bool Within_Limits(const spng_ihdr& h, std::uint64_t file_bytes, decode_limits::Pixel_Cap cap) {
    const std::uint64_t width = h.width;
    const std::uint64_t height = h.height;
    if ((cap == decode_limits::Pixel_Cap::Applies && !decode_limits::Fits_Memory(width, height)) ||
        width > Raster_Image::kMax_Dimension || height > Raster_Image::kMax_Dimension)
        return false;
    const std::uint64_t row_bytes = 1 + (width * static_cast<std::uint64_t>(Channels_Of(h) * h.bit_depth) + 7) / 8;
    return height * row_bytes <= kMax_Inflate_Ratio * file_bytes;
}

// Turns the RGBA pixels of one pass in a decoded row into blue-green-red ones.
template <typename Sample>
void Flatten_Row(const Sample* rgba, std::uint8_t* bgr, int first, int step, int width) {
    for (int x = first; x < width; x += step) {
        const Sample* p = rgba + static_cast<std::size_t>(x) * 4;
        std::uint8_t* out = bgr + static_cast<std::size_t>(x) * 3;
        for (int channel = 0; channel < 3; ++channel) out[channel] = Onto_White(p[2 - channel], p[3]);
    }
}

}  // namespace

void Png_Row_Decoder::Context_Free::operator()(spng_ctx* ctx) const {
    spng_ctx_free(ctx);
}

Png_Row_Decoder::Png_Row_Decoder(const Byte_Source& source, decode_limits::Pixel_Cap cap)
    : ctx_(spng_ctx_new(0)), reader_{&source} {
    if (!ctx_) throw std::bad_alloc();
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Mutated files rarely keep their checksums right: the fuzz build reads past them (the
    // deflate streams' own included) so that its inputs reach the chunk parsers and the inflater.
    spng_set_crc_action(ctx_.get(), SPNG_CRC_USE, SPNG_CRC_USE);
#endif
    spng_ihdr header{};
    if (spng_set_png_stream(ctx_.get(), Read_From_Source, &reader_) != 0 ||
        spng_set_chunk_limits(ctx_.get(), kMax_Chunk_Bytes, kMax_Kept_Chunk_Bytes) != 0 ||
        spng_get_ihdr(ctx_.get(), &header) != 0 || !Within_Limits(header, source.size(), cap))
        throw Error::Png_Not_Valid();
    wide_ = header.bit_depth == 16;
    interlaced_ = header.interlace_method != 0;
    if (spng_decode_image(ctx_.get(), nullptr, 0, wide_ ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8,
                          SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE) != 0)
        throw Error::Png_Not_Valid();
    width_ = static_cast<int>(header.width);
    height_ = static_cast<int>(header.height);
    decoded_ = std::make_unique<std::uint16_t[]>(static_cast<std::size_t>(width_) * 4);
}

Png_Row_Decoder::~Png_Row_Decoder() = default;

int Png_Row_Decoder::Next_Row() {
    if (ended_) return -1;
    spng_row_info row{};
    const int status = spng_get_row_info(ctx_.get(), &row);
    if (status == SPNG_EOI) return -1;
    if (status != 0) throw Error::Png_Not_Valid();
    pass_ = interlaced_ ? row.pass : 6;
    return static_cast<int>(row.row_num);
}

void Png_Row_Decoder::Decode_Row(std::uint8_t* bgr) {
    auto* const decoded_bytes = reinterpret_cast<std::uint8_t*>(decoded_.get());
    const int status = spng_decode_row(ctx_.get(), decoded_bytes, static_cast<std::size_t>(width_) * (wide_ ? 8 : 4));
    if (status != 0 && status != SPNG_EOI) throw Error::Png_Not_Valid();
    // libspng says the image has ended with its last row.
    ended_ = status == SPNG_EOI;
    if (wide_)
        Flatten_Row(decoded_.get(), bgr, kPass_Column_Start[pass_], kPass_Column_Step[pass_], width_);
    else
        Flatten_Row(decoded_bytes, bgr, kPass_Column_Start[pass_], kPass_Column_Step[pass_], width_);
}

void Png_Row_Decoder::Finish() {
    if (Next_Row() != -1 || spng_decode_chunks(ctx_.get()) != 0) throw Error::Png_Not_Valid();
}

Raster_Image Decode_Png(const Byte_Source& source) {
    Png_Row_Decoder decoder(source, decode_limits::Pixel_Cap::Applies);
    const int width = decoder.Width();
    const int height = decoder.Height();
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
    // The pixels take their memory as rows arrive, so a file that ends early never fills it.
    std::vector<std::uint8_t> bgr;
    bgr.reserve(row_bytes * static_cast<std::size_t>(height));
    for (int row; (row = decoder.Next_Row()) != -1;) {
        const std::size_t end = (static_cast<std::size_t>(row) + 1) * row_bytes;
        if (bgr.size() < end) bgr.resize(end);
        decoder.Decode_Row(bgr.data() + static_cast<std::size_t>(row) * row_bytes);
    }
    if (bgr.size() != row_bytes * static_cast<std::size_t>(height)) throw Error::Png_Not_Valid();
    decoder.Finish();
    return Raster_Image::From_Layout(width, height, Pixel_Format::Bits24, {}, kMasks888, 24, std::move(bgr));
}

Raster_Image Decode_Png(std::span<const std::uint8_t> bytes) {
    return Decode_Png(Memory_Source(bytes));
}

}  // namespace tilvane
