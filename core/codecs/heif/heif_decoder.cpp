#include "codecs/heif/heif_codec.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

#include <libheif/heif.h>

#include "codecs/decode_limits.h"
#include "codecs/onto_white.h"
#include "support/error.h"

namespace tilvane {
namespace {

// HEVC and AV1 code a flat 64x64 block in a fraction of a byte, and a grid may name one tile
// many times, so a HEIF file's size bounds its pixels far more loosely than a JPEG's does: heif-enc
// codes a flat grey 4032x3024 picture in 3 KB, a quarter of what this allows. Still, a few hostile
// bytes must not claim gigabytes.
constexpr std::uint64_t kPixels_Per_File_Byte = std::uint64_t{1} << 14;

// libheif reads a file through these, from a Byte_Source, so the file's bytes are never all held.
struct Reader_State {
    const Byte_Source* source;
    std::uint64_t position = 0;
};

int64_t Position(void* user) {
    return static_cast<int64_t>(static_cast<Reader_State*>(user)->position);
}

int Read(void* out, size_t size, void* user) {
    auto* state = static_cast<Reader_State*>(user);
    if (!state->source->Read(state->position, {static_cast<std::uint8_t*>(out), size})) return 1;
    state->position += size;
    return 0;
}

int Seek(int64_t position, void* user) {
    auto* state = static_cast<Reader_State*>(user);
    if (position < 0 || static_cast<std::uint64_t>(position) > state->source->size()) return 1;
    state->position = static_cast<std::uint64_t>(position);
    return 0;
}

heif_reader_grow_status Wait_For_Size(int64_t size, void* user) {
    const bool there = size >= 0 && static_cast<std::uint64_t>(size) <= static_cast<Reader_State*>(user)->source->size();
    return there ? heif_reader_grow_status_size_reached : heif_reader_grow_status_size_beyond_eof;
}

constexpr heif_reader kReader = {1, Position, Read, Seek, Wait_For_Size};

// libheif's own refusals: memory it could not get, or a size beyond its security limits, is a
// picture too large; everything else a file it cannot read.
[[noreturn]] void Refuse(const heif_error& error) {
    if (error.code == heif_error_Memory_allocation_error) throw Error::Too_Many_Pixels();
    throw Error::Picture_Not_Valid(kHeif_Name);
}

void Check(const heif_error& error) {
    if (error.code != heif_error_Ok) Refuse(error);
}

struct Context_Free {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct Handle_Free {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct Image_Free {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct Options_Free {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

// A file's boxes read and its primary picture found, its size checked against the limits.
class Heif_File {
public:
    explicit Heif_File(const Byte_Source& source) : reader_{&source}, context_(heif_context_alloc()) {
        if (!context_) throw std::bad_alloc();
        Check(heif_context_read_from_reader(context_.get(), &kReader, &reader_, nullptr));
        heif_image_handle* primary = nullptr;
        Check(heif_context_get_primary_image_handle(context_.get(), &primary));
        primary_.reset(primary);
        const int width = heif_image_handle_get_width(primary);
        const int height = heif_image_handle_get_height(primary);
        if (width <= 0 || height <= 0) throw Error::Picture_Not_Valid(kHeif_Name);
        const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
        if (!decode_limits::Fits_Memory(width, height) || width > Raster_Image::kMax_Dimension ||
            height > Raster_Image::kMax_Dimension ||
            pixels > std::max(decode_limits::kFree_Pixels, kPixels_Per_File_Byte * source.size()))
            throw Error::Too_Many_Pixels();
        size_ = {width, height};
    }

    Picture_Size Size() const { return size_; }
    const heif_image_handle* Primary() const { return primary_.get(); }

private:
    Reader_State reader_;
    std::unique_ptr<heif_context, Context_Free> context_;
    std::unique_ptr<heif_image_handle, Handle_Free> primary_;
    Picture_Size size_;
};

// Turns 8-bit RGB or RGBA rows into blue-green-red ones, alpha laid onto white.
void Copy_8_Bit(const std::uint8_t* plane, int stride, bool alpha, Raster_Image& image) {
    const int channels = alpha ? 4 : 3;
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* in = plane + static_cast<std::size_t>(y) * stride;
        std::uint8_t* out = image.Row(y);
        for (int x = 0; x < image.Width(); ++x, in += channels, out += 3) {
            const std::uint8_t a = alpha ? in[3] : 255;
            for (int channel = 0; channel < 3; ++channel) out[channel] = Onto_White(in[2 - channel], a);
        }
    }
}

// The same for rows of 16-bit little-endian samples of bits bits each. A sample is shifted up to
// 16 bits, as libheif's own converter writes 16-bit PNG samples, and rounded to 8 bits as a
// 16-bit PNG's are, so that a picture reads alike from the HEIF file and from that PNG.
void Copy_Deep(const std::uint8_t* plane, int stride, bool alpha, int bits, Raster_Image& image) {
    const int channels = alpha ? 4 : 3;
    const int shift = 16 - bits;
    const auto sample = [shift](const std::uint8_t* p, int i) {
        return static_cast<std::uint16_t>((p[2 * i] | p[2 * i + 1] << 8) << shift);
    };
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* in = plane + static_cast<std::size_t>(y) * stride;
        std::uint8_t* out = image.Row(y);
        for (int x = 0; x < image.Width(); ++x, in += 2 * channels, out += 3) {
            const std::uint16_t a = alpha ? sample(in, 3) : std::uint16_t{65535};
            for (int channel = 0; channel < 3; ++channel) out[channel] = Onto_White(sample(in, 2 - channel), a);
        }
    }
}

Raster_Image Decode_Primary(const Heif_File& file) {
    const heif_image_handle* handle = file.Primary();
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    const int luma_bits = heif_image_handle_get_luma_bits_per_pixel(handle);
    if (luma_bits <= 0 || luma_bits > 16) throw Error::Picture_Not_Valid(kHeif_Name);
    const bool deep = luma_bits > 8;
    const heif_chroma chroma = deep ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
                                    : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);

    // The file's transforms stay on (libheif's default); strict decoding refuses a picture
    // with missing tiles rather than filling them in.
    const std::unique_ptr<heif_decoding_options, Options_Free> options(heif_decoding_options_alloc());
    if (!options) throw std::bad_alloc();
    options->strict_decoding = 1;
    heif_image* decoded = nullptr;
    Check(heif_decode_image(handle, &decoded, heif_colorspace_RGB, chroma, options.get()));
    const std::unique_ptr<heif_image, Image_Free> picture(decoded);

    const int width = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    const int bits = heif_image_get_bits_per_pixel_range(decoded, heif_channel_interleaved);
    int stride = 0;
    const std::uint8_t* plane = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    const Picture_Size size = file.Size();
    if (!plane || width != size.width || height != size.height || bits <= 0 || bits > 16 || (bits > 8) != deep)
        throw Error::Picture_Not_Valid(kHeif_Name);

    Raster_Image image(width, height);
    if (deep)
        Copy_Deep(plane, stride, alpha, bits, image);
    else
        Copy_8_Bit(plane, stride, alpha, image);
    return image;
}

}  // namespace

bool Can_Decode_Avif() {
    return heif_have_decoder_for_format(heif_compression_AV1) != 0;
}

Picture_Size Read_Heif_Size(const Byte_Source& source) {
    return Heif_File(source).Size();
}

Raster_Image Decode_Heif(const Byte_Source& source) {
    return Decode_Primary(Heif_File(source));
}

Raster_Image Decode_Heif(std::span<const std::uint8_t> bytes) {
    return Decode_Heif(Memory_Source(bytes));
}

}  // namespace tilvane
