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

RasterImage RasterImage::blank_with_layout(int width, int height) const {
    RasterImage image = from_layout(0, 0, format_, table_, masks_, custom_bits_, {});
    image.fill_ = fill_;
    image.set_size(width, height);
    return image;
}

void RasterImage::load_from_file(const std::string& path) {
    // Decode into a new image first, so a failure leaves this one as it was.
    RasterImage loaded = decode_bmp(read_whole_file(path));
    loaded.fill_ = fill_;
    *this = std::move(loaded);
}

void RasterImage::save_to_file(const std::string& path) const {
    write_file_atomically(path, encode_bmp(*this));
}

namespace {

// Whether every pixel of src is already one that dst stores unchanged.
bool same_colour_space(const RasterImage& dst, const RasterImage& src) {
    if (dst.stores_every_colour()) return true;
    if (dst.pixel_format() != src.pixel_format()) return false;
    if (has_colour_table(dst.pixel_format())) return dst.colour_table().entries() == src.colour_table().entries();
    return dst.channel_masks() == src.channel_masks();
}

// For each destination position d in [0, dst_length), the source position it takes, or -1 where
// that lies outside the source. Positions map by truncation: d * src_length / dst_length.
std::vector<int> source_positions(int dst_length, int src_start, int src_length, int src_limit) {
    std::vector<int> positions(static_cast<std::size_t>(dst_length));
    for (int d = 0; d < dst_length; ++d) {
        const auto s = src_start + static_cast<std::int64_t>(d) * src_length / dst_length;
        positions[static_cast<std::size_t>(d)] = s >= 0 && s < src_limit ? static_cast<int>(s) : -1;
    }
    return positions;
}

// Draws src_rect of src into dst_rect of dst, one source pixel per destination pixel.
void draw_scaled(RasterImage& dst, Rect dst_rect, const RasterImage& src, Rect src_rect) {
    if (dst_rect.empty() || src_rect.empty()) return;
    const Rect clipped = clip_to(dst_rect, dst.width(), dst.height());
    if (clipped.empty()) return;

    const std::vector<int> columns = source_positions(dst_rect.width(), src_rect.left, src_rect.width(), src.width());
    const std::vector<int> rows = source_positions(dst_rect.height(), src_rect.top, src_rect.height(), src.height());
    const bool convert = !same_colour_space(dst, src);
    const bool one_to_one = dst_rect.width() == src_rect.width();

    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const int sy = rows[static_cast<std::size_t>(y - dst_rect.top)];
        if (sy < 0) continue;
        const std::uint8_t* source_row = src.row(sy);
        std::uint8_t* target = dst.row(y) + static_cast<std::size_t>(clipped.left) * 3;
        int x = clipped.left;
        if (one_to_one && !convert) {
            // Copy the run of columns that the source covers in one go.
            while (x < clipped.right && columns[static_cast<std::size_t>(x - dst_rect.left)] < 0) ++x, target += 3;
            int end = x;
            while (end < clipped.right && columns[static_cast<std::size_t>(end - dst_rect.left)] >= 0) ++end;
            if (end > x) {
                const int sx = columns[static_cast<std::size_t>(x - dst_rect.left)];
                std::memcpy(target, source_row + static_cast<std::size_t>(sx) * 3, static_cast<std::size_t>(end - x) * 3);
            }
            continue;
        }
        for (; x < clipped.right; ++x, target += 3) {
            const int sx = columns[static_cast<std::size_t>(x - dst_rect.left)];
            if (sx < 0) continue;
            const std::uint8_t* s = source_row + static_cast<std::size_t>(sx) * 3;
            if (convert) {
                const Colour c = dst.representable({s[2], s[1], s[0]});
                target[0] = c.blue;
                target[1] = c.green;
                target[2] = c.red;
            } else {
                std::memcpy(target, s, 3);
            }
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

Colour Average_Colour(const RasterImage& image, Rect r) {
    const Rect c = clip_to(r, image.width(), image.height());
    if (c.empty()) return kBlack;
    std::uint64_t blue = 0, green = 0, red = 0;
    for (int y = c.top; y < c.bottom; ++y) {
        const std::uint8_t* p = image.row(y) + static_cast<std::size_t>(c.left) * 3;
        const std::uint8_t* end = p + static_cast<std::size_t>(c.width()) * 3;
        for (; p < end; p += 3) {
            blue += p[0];
            green += p[1];
            red += p[2];
        }
    }
    const std::uint64_t count = static_cast<std::uint64_t>(c.width()) * static_cast<std::uint64_t>(c.height());
    return {static_cast<std::uint8_t>(red / count), static_cast<std::uint8_t>(green / count),
            static_cast<std::uint8_t>(blue / count)};
}

void Align_Average_Colour(RasterImage& image, Rect r, Colour from, Colour to) {
    const Rect c = clip_to(r, image.width(), image.height());
    if (c.empty()) return;
    // One look-up table per channel, in the image's blue-green-red byte order.
    std::uint8_t shift[3][256];
    const int deltas[3] = {to.blue - from.blue, to.green - from.green, to.red - from.red};
    for (int channel = 0; channel < 3; ++channel)
        for (int v = 0; v < 256; ++v) shift[channel][v] = static_cast<std::uint8_t>(std::clamp(v + deltas[channel], 0, 255));

    const bool exact = image.stores_every_colour();
    for (int y = c.top; y < c.bottom; ++y) {
        std::uint8_t* p = image.row(y) + static_cast<std::size_t>(c.left) * 3;
        std::uint8_t* end = p + static_cast<std::size_t>(c.width()) * 3;
        for (; p < end; p += 3) {
            p[0] = shift[0][p[0]];
            p[1] = shift[1][p[1]];
            p[2] = shift[2][p[2]];
            if (!exact) {
                const Colour stored = image.representable({p[2], p[1], p[0]});
                p[0] = stored.blue;
                p[1] = stored.green;
                p[2] = stored.red;
            }
        }
    }
}

}  // namespace tilvane
