#include "codecs/png_codec.h"

#include <exception>
#include <memory>
#include <new>
#include <vector>

#include <spng.h>

#include "codecs/decode_limits.h"
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

struct Context_Free {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using Context = std::unique_ptr<spng_ctx, Context_Free>;

Context New_Context(int flags) {
    Context ctx(spng_ctx_new(flags));
    if (!ctx) throw std::bad_alloc();
    return ctx;
}

struct Stream_Reader {
    const Byte_Source* source;
    std::uint64_t offset = 0;
};

int Read_From_Source(spng_ctx*, void* user, void* out, std::size_t length) {
    auto* r = static_cast<Stream_Reader*>(user);
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

bool Within_Limits(const spng_ihdr& h, std::uint64_t file_bytes) {
    const std::uint64_t width = h.width;
    const std::uint64_t height = h.height;
    if (!decode_limits::Fits_Memory(width, height) || width > Raster_Image::kMax_Dimension ||
        height > Raster_Image::kMax_Dimension)
        return false;
    const std::uint64_t row_bytes = 1 + (width * static_cast<std::uint64_t>(Channels_Of(h) * h.bit_depth) + 7) / 8;
    return height * row_bytes <= kMax_Inflate_Ratio * file_bytes;
}

// A colour laid onto white: an 8-bit channel under an 8-bit alpha.
std::uint8_t Onto_White(std::uint8_t value, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((unsigned{value} * alpha + 255 * (255u - alpha) + 127) / 255);
}

// The same for 16-bit channels, rounded to 8 bits in one step.
std::uint8_t Onto_White(std::uint16_t value, std::uint16_t alpha) {
    constexpr std::uint64_t kFull = 65535;
    constexpr std::uint64_t kSquare = kFull * kFull;
    const std::uint64_t blended = std::uint64_t{value} * alpha + kFull * (kFull - alpha);
    return static_cast<std::uint8_t>((blended * 255 + kSquare / 2) / kSquare);
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

Raster_Image Decode_Png(const Byte_Source& source) {
    const Context ctx = New_Context(0);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Mutated files rarely keep their checksums right: the fuzz build reads past them (the
    // deflate streams' own included) so that its inputs reach the chunk parsers and the inflater.
    spng_set_crc_action(ctx.get(), SPNG_CRC_USE, SPNG_CRC_USE);
#endif
    Stream_Reader reader{&source};
    spng_ihdr header{};
    if (spng_set_png_stream(ctx.get(), Read_From_Source, &reader) != 0 ||
        spng_set_chunk_limits(ctx.get(), kMax_Chunk_Bytes, kMax_Kept_Chunk_Bytes) != 0 ||
        spng_get_ihdr(ctx.get(), &header) != 0 || !Within_Limits(header, source.size()))
        throw Error::Png_Not_Valid();

    const bool wide = header.bit_depth == 16;
    const int format = wide ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
    if (spng_decode_image(ctx.get(), nullptr, 0, format, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE) != 0)
        throw Error::Png_Not_Valid();

    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
    // Four channels of 8 or 16 bits a pixel, as libspng hands them over.
    std::vector<std::uint16_t> decoded(static_cast<std::size_t>(width) * 4);
    auto* const decoded_bytes = reinterpret_cast<std::uint8_t*>(decoded.data());
    const std::size_t decoded_size = static_cast<std::size_t>(width) * (wide ? 8 : 4);
    // The pixels take their memory as rows arrive, so a file that ends early never fills it.
    std::vector<std::uint8_t> bgr;
    bgr.reserve(row_bytes * static_cast<std::size_t>(height));
    for (;;) {
        spng_row_info row{};
        const int status = spng_get_row_info(ctx.get(), &row);
        if (status == SPNG_EOI) break;
        const int decoded_status = status == 0 ? spng_decode_row(ctx.get(), decoded_bytes, decoded_size) : status;
        if (decoded_status != 0 && decoded_status != SPNG_EOI) throw Error::Png_Not_Valid();

        const std::size_t end = (static_cast<std::size_t>(row.row_num) + 1) * row_bytes;
        if (bgr.size() < end) bgr.resize(end);
        const int pass = header.interlace_method ? row.pass : 6;
        std::uint8_t* out = bgr.data() + static_cast<std::size_t>(row.row_num) * row_bytes;
        if (wide)
            Flatten_Row(decoded.data(), out, kPass_Column_Start[pass], kPass_Column_Step[pass], width);
        else
            Flatten_Row(decoded_bytes, out, kPass_Column_Start[pass], kPass_Column_Step[pass], width);
        if (decoded_status == SPNG_EOI) break;
    }
    // The rest of the file up to its end chunk, so that a file cut short is refused.
    if (bgr.size() != row_bytes * static_cast<std::size_t>(height) || spng_decode_chunks(ctx.get()) != 0)
        throw Error::Png_Not_Valid();
    return Raster_Image::From_Layout(width, height, Pixel_Format::Bits24, {}, kMasks888, 24, std::move(bgr));
}

Raster_Image Decode_Png(std::span<const std::uint8_t> bytes) {
    return Decode_Png(Memory_Source(bytes));
}

}  // namespace tilvane
