#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <utility>

#include "jpeg_error_trap.h"
#include <jerror.h>

#include "jpeg_codec.h"
#include "support/error.h"

namespace tilvane {
namespace {

static_assert(kLargest_Jpeg_Side == JPEG_MAX_DIMENSION);
constexpr std::size_t kChunk_Bytes = std::size_t{64} << 10;

// Hands libjpeg's output to a Byte_Sink a chunk at a time. An exception from the sink must not
// cross libjpeg's C frames: it is kept here and libjpeg stopped through the error trap.
struct Chunk_Writer {
    jpeg_destination_mgr manager;
    const Byte_Sink* sink;
    std::exception_ptr failure;
    JOCTET chunk[kChunk_Bytes];
};

Chunk_Writer& Writer_Of(j_compress_ptr info) { return *reinterpret_cast<Chunk_Writer*>(info->dest); }

void Start_Chunk(j_compress_ptr info) {
    Chunk_Writer& w = Writer_Of(info);
    w.manager.next_output_byte = w.chunk;
    w.manager.free_in_buffer = kChunk_Bytes;
}

void Hand_Over(j_compress_ptr info, std::size_t bytes) {
    Chunk_Writer& w = Writer_Of(info);
    try {
        (*w.sink)(std::span<const std::uint8_t>(w.chunk, bytes));
    } catch (...) {
        w.failure = std::current_exception();
        ERREXIT(info, JERR_FILE_WRITE);
    }
}

boolean Pass_Full_Chunk(j_compress_ptr info) {
    Hand_Over(info, kChunk_Bytes);
    Start_Chunk(info);
    return TRUE;
}

void Pass_Last_Chunk(j_compress_ptr info) { Hand_Over(info, kChunk_Bytes - Writer_Of(info).manager.free_in_buffer); }

}  // namespace

// Everything an encode owns lives here, outside the functions that libjpeg jumps back into.
struct Jpeg_Writer::Encode {
    jpeg_compress_struct info{};
    jpeg::Error_Trap trap{};
    Chunk_Writer writer{};
    Byte_Sink sink;
    bool created = false;

    ~Encode() {
        if (created) jpeg_destroy_compress(&info);
    }
};

namespace {

// Runs a libjpeg call with the trap set here, so that a fatal error jumps back to this frame;
// nothing of call's with a destructor is left behind by the jump.
template <typename Call>
bool Trapped(Jpeg_Writer::Encode& e, const Call& call) {
    if (setjmp(e.trap.jump)) return false;
    call();
    return true;
}

}  // namespace

std::uint64_t Jpeg_Coefficient_Bytes(int width, int height) {
    // Six blocks of 64 two-byte coefficients for each 16x16 block, the edges padded to whole ones.
    const auto blocks = [](int side) { return (static_cast<std::uint64_t>(side) + 15) / 16; };
    return blocks(width) * blocks(height) * 6 * 64 * sizeof(JCOEF);
}

Jpeg_Writer::Jpeg_Writer(int width, int height, int quality, Byte_Sink sink, std::uint64_t optimising_budget)
    : encode_(std::make_unique<Encode>()) {
    if (width <= 0 || height <= 0) throw Error::Not_Valid(Bitmap_Fault::Empty_Image);
    if (width > kLargest_Jpeg_Side || height > kLargest_Jpeg_Side) throw Error::Too_Large_Picture({}, Bitmap_Fault::Side_Too_Long, 0, 0, kJpeg_Name, kLargest_Jpeg_Side);
    Encode& e = *encode_;
    e.sink = std::move(sink);
    e.writer.sink = &e.sink;
    e.info.err = jpeg::Set_Trap(e.trap);
    Check(Trapped(e, [&] {
        jpeg_create_compress(&e.info);
        e.created = true;
        e.writer.manager.init_destination = Start_Chunk;
        e.writer.manager.empty_output_buffer = Pass_Full_Chunk;
        e.writer.manager.term_destination = Pass_Last_Chunk;
        e.info.dest = &e.writer.manager;
        e.info.image_width = static_cast<JDIMENSION>(width);
        e.info.image_height = static_cast<JDIMENSION>(height);
        e.info.input_components = 3;
        e.info.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&e.info);
        jpeg_set_quality(&e.info, std::clamp(quality, 1, 100), TRUE);
        e.info.optimize_coding = Jpeg_Coefficient_Bytes(width, height) <= optimising_budget;
        jpeg_start_compress(&e.info, TRUE);
    }));
}

Jpeg_Writer::~Jpeg_Writer() = default;

void Jpeg_Writer::Write_Row(const std::uint8_t* bgr) {
    Encode& e = *encode_;
    if (e.info.next_scanline >= e.info.image_height) throw Error::Not_Valid(Bitmap_Fault::Bad_Dimensions);
    // libjpeg only reads the rows it is given.
    JSAMPROW row = const_cast<JSAMPLE*>(bgr);
    Check(Trapped(e, [&] {
        jpeg_write_scanlines(&e.info, &row, 1);
        if (e.info.next_scanline == e.info.image_height) jpeg_finish_compress(&e.info);
    }));
}

void Jpeg_Writer::Check(bool done) {
    if (done) return;
    if (encode_->writer.failure) std::rethrow_exception(encode_->writer.failure);
    // With its input checked beforehand, libjpeg fails only for want of memory.
    throw std::bad_alloc();
}

void Encode_Jpeg(const Raster_Image& image, int quality, const Byte_Sink& sink) {
    Jpeg_Writer writer(image.Width(), image.Height(), quality, sink);
    for (int y = 0; y < image.Height(); ++y) writer.Write_Row(image.Row(y));
}

}  // namespace tilvane
