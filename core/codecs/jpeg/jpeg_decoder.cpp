#include <algorithm>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "jpeg_error_trap.h"
#include <jerror.h>

#include "codecs/decode_limits.h"
#include "codecs/exif_orientation.h"
#include "jpeg_codec.h"
#include "jpeg_scanline_decoder.h"
#include "support/error.h"

namespace tilvane {
namespace {

// A real progressive file has about ten scans; thousands of tiny ones would each walk the
// whole image, a hang in all but name.
constexpr int kMax_Scans = 256;
constexpr std::size_t kChunk_Bytes = std::size_t{64} << 10;

void Limit_Scans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMax_Scans) info->err->error_exit(info);
}

// Feeds libjpeg from a Byte_Source a chunk at a time. Running out of data is fatal rather than
// libjpeg's usual warning and grey remainder, so a cut-off file is refused.
struct Chunk_Reader {
    jpeg_source_mgr manager;
    const Byte_Source* source;
    std::uint64_t offset;
    JOCTET chunk[kChunk_Bytes];
};

void Start_Reading(j_decompress_ptr) {}
void Stop_Reading(j_decompress_ptr) {}

boolean Fill_Chunk(j_decompress_ptr info) {
    auto* r = reinterpret_cast<Chunk_Reader*>(info->src);
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(r->source->size() - r->offset, kChunk_Bytes));
    if (n == 0) ERREXIT(info, JERR_INPUT_EOF);
    if (!r->source->Read(r->offset, std::span(r->chunk, n))) ERREXIT(info, JERR_FILE_READ);
    r->offset += n;
    r->manager.next_input_byte = r->chunk;
    r->manager.bytes_in_buffer = n;
    return TRUE;
}

void Skip_Bytes(j_decompress_ptr info, long count) {
    auto* r = reinterpret_cast<Chunk_Reader*>(info->src);
    if (count <= 0) return;
    const auto n = static_cast<std::uint64_t>(count);
    if (n <= r->manager.bytes_in_buffer) {
        r->manager.next_input_byte += n;
        r->manager.bytes_in_buffer -= n;
        return;
    }
    r->offset = std::min(r->source->size(), r->offset + (n - r->manager.bytes_in_buffer));
    r->manager.bytes_in_buffer = 0;
}

}  // namespace

// Everything a decode owns lives here, outside the functions that libjpeg jumps back into.
struct Jpeg_Scanline_Decoder::Decode {
    jpeg_decompress_struct info{};
    jpeg::Error_Trap trap{};
    jpeg_progress_mgr progress{};
    Chunk_Reader reader{};
    bool created = false;
    bool too_large = false;
    bool cmyk = false;
    int orientation = 1;
    std::vector<JSAMPLE> cmyk_row;

    ~Decode() {
        if (created) jpeg_destroy_decompress(&info);
    }
};

namespace {

using Decode = Jpeg_Scanline_Decoder::Decode;

// CMYK samples are taken as Adobe's writers store them, 0 meaning full ink, with or without
// their marker: libjpeg's own conversion (cmyk_to_rgb in its tools) reads them so, and a file
// without the marker reads as a negative otherwise.
void Cmyk_To_Bgr(const JSAMPLE* cmyk, std::size_t width, std::uint8_t* bgr) {
    for (std::size_t x = 0; x < width; ++x, cmyk += 4, bgr += 3)
        for (int channel = 0; channel < 3; ++channel)
            bgr[channel] = static_cast<std::uint8_t>((cmyk[2 - channel] * unsigned{cmyk[3]} + 127) / 255);
}

// Sets the smallest scale M/8 whose output still covers the hint, and the output size. libjpeg
// scales inside the inverse DCT, so a picture decoded at 1/8 costs a fraction of a full decode.
void Choose_Scale(jpeg_decompress_struct& info, Load_Hint hint) {
    info.scale_denom = 8;
    info.scale_num = hint.min_width > 0 && hint.min_height > 0 ? 1 : 8;
    for (;; ++info.scale_num) {
        jpeg_calc_output_dimensions(&info);
        if (info.scale_num == 8 || (info.output_width >= static_cast<JDIMENSION>(hint.min_width) &&
                                    info.output_height >= static_cast<JDIMENSION>(hint.min_height)))
            return;
    }
}

// False when libjpeg gave up or the image is beyond the limits. Its own locals are plain values
// that are not read again after a jump back.
bool start_decode(Decode& d, const Byte_Source& source, Load_Hint hint, decode_limits::Pixel_Cap cap) {
    d.info.err = jpeg::Set_Trap(d.trap);
    if (setjmp(d.trap.jump)) return false;

    jpeg_create_decompress(&d.info);
    d.created = true;
    // Coefficient buffers of progressive files count here; beyond it libjpeg fails cleanly.
    d.info.mem->max_memory_to_use =
        static_cast<long>(std::min<std::uint64_t>(decode_limits::kMax_Pixel_Bytes, std::numeric_limits<long>::max()));
    d.progress.progress_monitor = Limit_Scans;
    d.info.progress = &d.progress;
    d.reader.source = &source;
    d.reader.manager.init_source = Start_Reading;
    d.reader.manager.fill_input_buffer = Fill_Chunk;
    d.reader.manager.skip_input_data = Skip_Bytes;
    d.reader.manager.resync_to_restart = jpeg_resync_to_restart;
    d.reader.manager.term_source = Stop_Reading;
    d.info.src = &d.reader.manager;

    jpeg_save_markers(&d.info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&d.info, TRUE);
    for (jpeg_saved_marker_ptr m = d.info.marker_list; m && d.orientation == 1; m = m->next)
        d.orientation = Exif_Orientation({m->data, m->data_length});
    // The hint is for the upright picture.
    if (d.orientation >= 5) std::swap(hint.min_width, hint.min_height);
    const std::uint64_t pixels = std::uint64_t{d.info.image_width} * d.info.image_height;
    if (!decode_limits::Plausible_For_Data(pixels, source.size())) return false;
    d.cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = d.cmyk ? JCS_CMYK : JCS_EXT_BGR;
    Choose_Scale(d.info, hint);
    if (cap == decode_limits::Pixel_Cap::Applies && !decode_limits::Fits_Memory(d.info.output_width, d.info.output_height)) {
        d.too_large = true;
        return false;
    }
    jpeg_start_decompress(&d.info);
    if (d.cmyk) d.cmyk_row.resize(static_cast<std::size_t>(d.info.output_width) * 4);
    return true;
}

bool read_rows(Decode& d, std::uint8_t* bgr, int rows) {
    if (setjmp(d.trap.jump)) return false;
    const std::size_t width = d.info.output_width;
    for (int r = 0; r < rows; ++r) {
        std::uint8_t* out = bgr + static_cast<std::size_t>(r) * width * 3;
        JSAMPROW row = d.cmyk ? d.cmyk_row.data() : out;
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1) return false;
        if (d.cmyk) Cmyk_To_Bgr(row, width, out);
    }
    return true;
}

bool finish(Decode& d) {
    if (setjmp(d.trap.jump)) return false;
    jpeg_finish_decompress(&d.info);
    return true;
}

}  // namespace

Jpeg_Scanline_Decoder::Jpeg_Scanline_Decoder(const Byte_Source& source, Load_Hint hint, decode_limits::Pixel_Cap cap)
    : d_(std::make_unique<Decode>()) {
    if (!start_decode(*d_, source, hint, cap)) throw d_->too_large ? Error::Too_Many_Pixels() : Error::Picture_Not_Valid(kJpeg_Name);
}

Jpeg_Scanline_Decoder::~Jpeg_Scanline_Decoder() = default;

int Jpeg_Scanline_Decoder::Width() const {
    return static_cast<int>(d_->info.output_width);
}

int Jpeg_Scanline_Decoder::Height() const {
    return static_cast<int>(d_->info.output_height);
}

int Jpeg_Scanline_Decoder::Orientation() const {
    return d_->orientation;
}

void Jpeg_Scanline_Decoder::Read_Rows(std::uint8_t* bgr, int rows) {
    if (!read_rows(*d_, bgr, rows)) throw Error::Picture_Not_Valid(kJpeg_Name);
}

void Jpeg_Scanline_Decoder::Finish() {
    if (!finish(*d_)) throw Error::Picture_Not_Valid(kJpeg_Name);
}

Raster_Image Decode_Jpeg(const Byte_Source& source, Load_Hint hint) {
    Jpeg_Scanline_Decoder decoder(source, hint, decode_limits::Pixel_Cap::Applies);
    int width = decoder.Width();
    int height = decoder.Height();
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(height));
    decoder.Read_Rows(bgr.data(), height);
    decoder.Finish();
    Make_Upright(bgr, width, height, decoder.Orientation());
    return Raster_Image::From_Layout(width, height, Pixel_Format::Bits24, {}, kMasks888, 24, std::move(bgr));
}

Raster_Image Decode_Jpeg(std::span<const std::uint8_t> bytes, Load_Hint hint) {
    return Decode_Jpeg(Memory_Source(bytes), hint);
}

}  // namespace tilvane
