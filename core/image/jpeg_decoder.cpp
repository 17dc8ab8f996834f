#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h uses FILE and size_t without including their headers
#include <memory>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "decode_limits.h"
#include "jpeg_codec.h"
#include "support/error.h"
#include "support/file_io.h"

namespace tilvane {
namespace {

// A real progressive file has about ten scans; thousands of tiny ones would each walk the
// whole image, a hang in all but name.
constexpr int kMaxScans = 256;
constexpr std::size_t kChunkBytes = std::size_t{64} << 10;

// libjpeg reports a fatal error through error_exit, which must not return: it jumps back into
// decode_into(). The frames it leaves are libjpeg's and the callbacks below, none of which
// holds an object with a destructor.
struct Error_Trap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jump_back(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Error_Trap*>(info->err)->jump, 1);
}

// Warnings (extraneous bytes, corrupt entropy data) would go to stderr; the pixels libjpeg
// makes of such data are kept.
void stay_quiet(j_common_ptr) {}

void limit_scans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) info->err->error_exit(info);
}

// Feeds libjpeg from a Byte_Source a chunk at a time. Running out of data is fatal rather than
// libjpeg's usual warning and grey remainder, so a cut-off file is refused.
struct Chunk_Reader {
    jpeg_source_mgr manager;
    const Byte_Source* source;
    std::uint64_t offset;
    JOCTET chunk[kChunkBytes];
};

void start_reading(j_decompress_ptr) {}
void stop_reading(j_decompress_ptr) {}

boolean fill_chunk(j_decompress_ptr info) {
    auto* r = reinterpret_cast<Chunk_Reader*>(info->src);
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(r->source->size() - r->offset, kChunkBytes));
    if (n == 0) ERREXIT(info, JERR_INPUT_EOF);
    if (!r->source->read(r->offset, std::span(r->chunk, n))) ERREXIT(info, JERR_FILE_READ);
    r->offset += n;
    r->manager.next_input_byte = r->chunk;
    r->manager.bytes_in_buffer = n;
    return TRUE;
}

void skip_bytes(j_decompress_ptr info, long count) {
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

// Everything a decode owns lives here, outside the function that libjpeg jumps back into.
struct Decode {
    jpeg_decompress_struct info{};
    Error_Trap trap{};
    jpeg_progress_mgr progress{};
    Chunk_Reader reader{};
    bool created = false;
    std::vector<std::uint8_t> bgr;
    std::vector<JSAMPLE> cmyk_row;

    ~Decode() {
        if (created) jpeg_destroy_decompress(&info);
    }
};

// Adobe's writers store CMYK inverted (0 is full ink), and libjpeg keeps it that way.
void cmyk_to_bgr(const JSAMPLE* cmyk, std::size_t width, bool inverted, std::uint8_t* bgr) {
    for (std::size_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int channel = 0; channel < 3; ++channel) {
            const unsigned ink = inverted ? cmyk[2 - channel] : 255u - cmyk[2 - channel];
            bgr[channel] = static_cast<std::uint8_t>((ink * k + 127) / 255);
        }
    }
}

// False when libjpeg gave up or the image is beyond the limits. Its own locals are plain values
// that are not read again after a jump back.
bool decode_into(Decode& d, const Byte_Source& source) {
    d.info.err = jpeg_std_error(&d.trap.manager);
    d.trap.manager.error_exit = jump_back;
    d.trap.manager.output_message = stay_quiet;
    if (setjmp(d.trap.jump)) return false;

    jpeg_create_decompress(&d.info);
    d.created = true;
    // Coefficient buffers of progressive files count here; beyond it libjpeg fails cleanly.
    d.info.mem->max_memory_to_use = static_cast<long>(decode_limits::kMaxPixelBytes);
    d.progress.progress_monitor = limit_scans;
    d.info.progress = &d.progress;
    d.reader.source = &source;
    d.reader.manager.init_source = start_reading;
    d.reader.manager.fill_input_buffer = fill_chunk;
    d.reader.manager.skip_input_data = skip_bytes;
    d.reader.manager.resync_to_restart = jpeg_resync_to_restart;
    d.reader.manager.term_source = stop_reading;
    d.info.src = &d.reader.manager;

    jpeg_read_header(&d.info, TRUE);
    const std::uint64_t width = d.info.image_width;
    const std::uint64_t height = d.info.image_height;
    if (!decode_limits::fits_memory(width, height) || !decode_limits::plausible_for_data(width * height, source.size()))
        return false;
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&d.info);

    const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
    d.bgr.resize(row_bytes * static_cast<std::size_t>(height));
    if (cmyk) d.cmyk_row.resize(static_cast<std::size_t>(width) * 4);
    while (d.info.output_scanline < d.info.output_height) {
        std::uint8_t* out = d.bgr.data() + d.info.output_scanline * row_bytes;
        JSAMPROW row = cmyk ? d.cmyk_row.data() : out;
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1) return false;
        if (cmyk) cmyk_to_bgr(row, static_cast<std::size_t>(width), d.info.saw_Adobe_marker, out);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

}  // namespace

RasterImage decode_jpeg(const Byte_Source& source) {
    const auto d = std::make_unique<Decode>();
    if (!decode_into(*d, source)) throw Error::Jpeg_Not_Valid();
    const int width = static_cast<int>(d->info.output_width);
    const int height = static_cast<int>(d->info.output_height);
    return RasterImage::from_layout(width, height, PixelFormat::Bits24, {}, kMasks888, 24, std::move(d->bgr));
}

RasterImage decode_jpeg(std::span<const std::uint8_t> bytes) {
    return decode_jpeg(Memory_Source(bytes));
}

RasterImage load_jpeg_file(const std::string& path) {
    return decode_jpeg(Input_File(path));
}

}  // namespace tilvane
