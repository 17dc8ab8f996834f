#include "raster_image.h"

#include <algorithm>
#include <cstring>

#include "support/error.h"

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
    if (format == PixelFormat::Custom) throw Error::Invalid_Pixel_Format();
    if (format == format_) return;
    apply_layout(format);
    reduce_pixels();
}

void RasterImage::set_pixel_format_of(const RasterImage& other) {
    if (!has_colour_table(other.format_)) {
        set_pixel_format(other.format_);
        return;
    }
    if (format_ == other.format_ && table_.entries() == other.table_.entries()) return;
    apply_layout(other.format_);
    table_ = other.table_;
    reduce_pixels();
}

void RasterImage::reduce_pixels() {
    for (int y = 0; y < height_; ++y) reduce_run(row(y), static_cast<std::size_t>(width_));
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

void RasterImage::reduce_run(std::uint8_t* bgr, std::size_t pixels) const {
    if (has_colour_table(format_)) {
        table_.reduce(bgr, pixels);
        return;
    }
    if (rounding_.identity) return;
    for (std::size_t i = 0; i < pixels; ++i, bgr += 3) {
        bgr[0] = rounding_.blue[bgr[0]];
        bgr[1] = rounding_.green[bgr[1]];
        bgr[2] = rounding_.red[bgr[2]];
    }
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

}  // namespace tilvane
