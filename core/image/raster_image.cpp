#include "raster_image.h"

#include <algorithm>
#include <cstring>

#include "bmp_codec.h"
#include "image_error.h"
#include "support/file_io.h"

namespace tilvane {

RasterImage::RasterImage(int width, int height, PixelFormat format) {
    set_pixel_format(format);
    set_size(width, height);
}

RasterImage RasterImage::from_layout(int width, int height, PixelFormat format, ColourTable table,
                                     ChannelMasks masks, int stored_bits, std::vector<std::uint8_t> bgr) {
    RasterImage image;
    image.width_ = width;
    image.height_ = height;
    image.format_ = format;
    if (has_colour_table(format)) {
        image.table_ = std::move(table);
    } else {
        image.masks_ = format == PixelFormat::Custom ? masks : ChannelMasks{};
        if (format != PixelFormat::Custom) image.apply_layout(format);
        image.rounding_ = ChannelRounding::for_masks(image.masks_);
    }
    image.custom_bits_ = format == PixelFormat::Custom ? stored_bits : 0;
    image.pixels_ = std::move(bgr);
    return image;
}

void RasterImage::set_size(int width, int height) {
    width = std::clamp(width, 0, kMaxDimension);
    height = std::clamp(height, 0, kMaxDimension);
    if (width == width_ && height == height_) return;

    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    const Colour fill = representable(fill_);
    for (std::size_t i = 0; i < pixels.size(); i += 3) store(&pixels[i], fill);

    const std::size_t kept_row_bytes = static_cast<std::size_t>(std::min(width, width_)) * 3;
    const std::size_t new_row_bytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < std::min(height, height_); ++y)
        std::memcpy(&pixels[static_cast<std::size_t>(y) * new_row_bytes], row(y), kept_row_bytes);

    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
}

void RasterImage::apply_layout(PixelFormat format) {
    format_ = format;
    custom_bits_ = 0;
    table_ = ColourTable::standard(format);
    masks_ = format == PixelFormat::Bits15 ? kMasks555 : format == PixelFormat::Bits16 ? kMasks565 : kMasks888;
    rounding_ = ChannelRounding::for_masks(has_colour_table(format) ? kMasks888 : masks_);
}

void RasterImage::set_pixel_format(PixelFormat format) {
    if (format == PixelFormat::Custom) throw ImageError::invalid_pixel_format();
    if (format == format_) return;
    apply_layout(format);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = row(y);
        for (int x = 0; x < width_; ++x, p += 3) store(p, representable({p[2], p[1], p[0]}));
    }
}

int RasterImage::stored_bits_per_pixel() const {
    if (format_ == PixelFormat::Custom) return custom_bits_;
    if (format_ == PixelFormat::Bits15) return 16;
    return static_cast<int>(format_);
}

Colour RasterImage::representable(Colour c) const {
    if (has_colour_table(format_)) return table_.nearest(c);
    return {rounding_.red[c.red], rounding_.green[c.green], rounding_.blue[c.blue]};
}

bool RasterImage::stores_unchanged(const RasterImage& other) const {
    if (stores_every_colour()) return true;
    if (format_ != other.format_) return false;
    if (has_colour_table(format_)) return table_.entries() == other.table_.entries();
    return masks_ == other.masks_;
}

RasterImage RasterImage::blank_with_layout(int width, int height) const {
    RasterImage image = from_layout(0, 0, format_, table_, masks_, custom_bits_, {});
    image.fill_ = fill_;
    image.set_size(width, height);
    return image;
}

void RasterImage::load_from_file(const std::string& path) {
    // Decode into a new image first, so a failure leaves this one as it was.
    RasterImage loaded = decode_bmp(Input_File(path));
    loaded.fill_ = fill_;
    *this = std::move(loaded);
}

void RasterImage::save_to_file(const std::string& path) const {
    write_file_atomically(path, [this](const Byte_Sink& sink) { encode_bmp(*this, sink); });
}

namespace {


// Writes n source pixels to target, reduced to what dst holds when convert is set.
void put_run(const RasterImage& dst, std::uint8_t* target, const std::uint8_t* source, std::size_t n, bool convert) {
    if (!convert) {
        std::memcpy(target, source, n * 3);
        return;
    }
    for (std::size_t i = 0; i < n; ++i, target += 3, source += 3) {
        const Colour c = dst.representable({source[2], source[1], source[0]});
        target[0] = c.blue;
        target[1] = c.green;
        target[2] = c.red;
    }
}

// A pixel-for-pixel copy between rectangles of one size: the overlap of what exists on both
// sides is copied row by row.
void copy_same_size(RasterImage& dst, Rect dst_rect, const RasterImage& src, Rect src_rect, bool convert) {
    const std::int64_t dx = std::int64_t{src_rect.left} - dst_rect.left;
    const std::int64_t dy = std::int64_t{src_rect.top} - dst_rect.top;
    Rect r = clip_to(dst_rect, dst.width(), dst.height());
    r.left = static_cast<std::int32_t>(std::max<std::int64_t>(r.left, -dx));
    r.top = static_cast<std::int32_t>(std::max<std::int64_t>(r.top, -dy));
    r.right = static_cast<std::int32_t>(std::min<std::int64_t>(r.right, src.width() - dx));
    r.bottom = static_cast<std::int32_t>(std::min<std::int64_t>(r.bottom, src.height() - dy));
    if (r.empty()) return;
    const std::size_t n = static_cast<std::size_t>(r.width());
    for (int y = r.top; y < r.bottom; ++y)
        put_run(dst, dst.row(y) + static_cast<std::size_t>(r.left) * 3,
                src.row(static_cast<int>(y + dy)) + static_cast<std::size_t>(r.left + dx) * 3, n, convert);
}

// For each destination position d in [0, dst_length), the source position it takes, or -1 where
// that lies outside the source. Positions map by truncation: d * src_length / dst_length. The
// vector is reused between calls, since a mosaic build scales one tile per cell.
const std::vector<int>& source_positions(std::vector<int>& positions, int dst_length, int src_start, int src_length,
                                         int src_limit) {
    positions.resize(static_cast<std::size_t>(dst_length));
    for (int d = 0; d < dst_length; ++d) {
        const auto s = src_start + static_cast<std::int64_t>(d) * src_length / dst_length;
        positions[static_cast<std::size_t>(d)] = s >= 0 && s < src_limit ? static_cast<int>(s) : -1;
    }
    return positions;
}

// Scales src_rect of src into dst_rect of dst: one source pixel per destination pixel.
void draw_scaled(RasterImage& dst, Rect dst_rect, const RasterImage& src, Rect src_rect) {
    if (dst_rect.empty() || src_rect.empty()) return;
    const bool convert = !dst.stores_unchanged(src);
    if (dst_rect.width() == src_rect.width() && dst_rect.height() == src_rect.height()) {
        copy_same_size(dst, dst_rect, src, src_rect, convert);
        return;
    }
    const Rect clipped = clip_to(dst_rect, dst.width(), dst.height());
    if (clipped.empty()) return;
    thread_local std::vector<int> column_buffer, row_buffer;
    const std::vector<int>& columns =
        source_positions(column_buffer, dst_rect.width(), src_rect.left, src_rect.width(), src.width());
    const std::vector<int>& rows = source_positions(row_buffer, dst_rect.height(), src_rect.top, src_rect.height(), src.height());

    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const int sy = rows[static_cast<std::size_t>(y - dst_rect.top)];
        if (sy < 0) continue;
        const std::uint8_t* source_row = src.row(sy);
        std::uint8_t* target = dst.row(y) + static_cast<std::size_t>(clipped.left) * 3;
        for (int x = clipped.left; x < clipped.right; ++x, target += 3) {
            const int sx = columns[static_cast<std::size_t>(x - dst_rect.left)];
            if (sx >= 0) put_run(dst, target, source_row + static_cast<std::size_t>(sx) * 3, 1, convert);
        }
    }
}

}  // namespace

void copy_rect(RasterImage& dst, Rect dst_rect, const RasterImage& src, Rect src_rect) {
    draw_scaled(dst, dst_rect, src, src_rect);
}

void stretch_draw(RasterImage& dst, Rect dst_rect, const RasterImage& src) {
    draw_scaled(dst, dst_rect, src, Rect::at(0, 0, src.width(), src.height()));
}

// The loops below treat a rectangle's rows as runs of bytes with a pattern that repeats every
// three bytes (blue, green, red): one sum or one shift per byte position keeps them simple
// enough for the compiler to vectorise.

Colour Average_Colour(const RasterImage& image, Rect r) {
    const Rect c = clip_to(r, image.width(), image.height());
    if (c.empty()) return kBlack;
    const std::size_t run = static_cast<std::size_t>(c.width()) * 3;
    // A column of at most kMaxDimension bytes of 255 fits 32 bits.
    thread_local std::vector<std::uint32_t> column_sums;
    column_sums.assign(run, 0);
    std::uint32_t* sums = column_sums.data();
    for (int y = c.top; y < c.bottom; ++y) {
        const std::uint8_t* p = image.row(y) + static_cast<std::size_t>(c.left) * 3;
        for (std::size_t i = 0; i < run; ++i) sums[i] += p[i];
    }
    std::uint64_t channel[3] = {0, 0, 0};
    for (std::size_t i = 0; i < run; ++i) channel[i % 3] += sums[i];
    const std::uint64_t count = static_cast<std::uint64_t>(c.width()) * static_cast<std::uint64_t>(c.height());
    return {static_cast<std::uint8_t>(channel[2] / count), static_cast<std::uint8_t>(channel[1] / count),
            static_cast<std::uint8_t>(channel[0] / count)};
}

void Align_Average_Colour(RasterImage& image, Rect r, Colour from, Colour to) {
    const Rect c = clip_to(r, image.width(), image.height());
    if (c.empty()) return;
    const std::size_t run = static_cast<std::size_t>(c.width()) * 3;
    const std::int16_t deltas[3] = {static_cast<std::int16_t>(to.blue - from.blue),
                                    static_cast<std::int16_t>(to.green - from.green),
                                    static_cast<std::int16_t>(to.red - from.red)};
    thread_local std::vector<std::int16_t> shift;
    shift.resize(run);
    for (std::size_t i = 0; i < run; ++i) shift[i] = deltas[i % 3];
    const std::int16_t* d = shift.data();

    const bool exact = image.stores_every_colour();
    for (int y = c.top; y < c.bottom; ++y) {
        std::uint8_t* p = image.row(y) + static_cast<std::size_t>(c.left) * 3;
        for (std::size_t i = 0; i < run; ++i) {
            const int v = p[i] + d[i];
            p[i] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
        }
        if (exact) continue;
        for (std::size_t i = 0; i < run; i += 3) {
            const Colour stored = image.representable({p[i + 2], p[i + 1], p[i]});
            p[i] = stored.blue;
            p[i + 1] = stored.green;
            p[i + 2] = stored.red;
        }
    }
}

}  // namespace tilvane
