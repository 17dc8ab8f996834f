#include "raster_image.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

#include "support/error.h"

namespace tilvane {

RasterImage::RasterImage(int width, int height, PixelFormat format) {
    set_pixel_format(format);
    set_size(width, height);
}

RasterImage RasterImage::from_layout(int width, int height, PixelFormat format, ColourTable table,
                                     ChannelMasks masks, int stored_bits, std::vector<std::uint8_t> pixels) {
    RasterImage image;
    image.width_ = width;
    image.height_ = height;
    image.format_ = format;
    if (has_colour_table(format)) {
        image.table_ = std::move(table);
        image.indexes_ = std::move(pixels);
        image.pixels_ = image.colours_of_indexes();
        return image;
    }
    image.masks_ = format == PixelFormat::Custom ? masks : ChannelMasks{};
    if (format != PixelFormat::Custom) image.apply_layout(format);
    image.rounding_ = ChannelRounding::for_masks(image.masks_);
    image.custom_bits_ = format == PixelFormat::Custom ? stored_bits : 0;
    image.pixels_ = std::move(pixels);
    return image;
}

void RasterImage::set_size(int width, int height) {
    width = std::clamp(width, 0, kMaxDimension);
    height = std::clamp(height, 0, kMaxDimension);
    if (width == width_ && height == height_) return;

    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> pixels(count * 3);
    const Colour fill = representable(fill_);
    for (std::size_t i = 0; i < pixels.size(); i += 3) store(&pixels[i], fill);
    std::vector<std::uint8_t> indexes(has_colour_table(format_) ? count : 0,
                                      static_cast<std::uint8_t>(has_colour_table(format_) ? table_.nearest_index(fill_) : 0));

    const std::size_t kept = static_cast<std::size_t>(std::min(width, width_));
    for (int y = 0; y < std::min(height, height_); ++y) {
        const std::size_t to = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        std::memcpy(&pixels[to * 3], row(y), kept * 3);
        if (!indexes.empty()) std::memcpy(&indexes[to], index_row(y), kept);
    }

    pixels_ = std::move(pixels);
    indexes_ = std::move(indexes);
    width_ = width;
    height_ = height;
}

std::vector<std::uint8_t> RasterImage::colours_of_indexes() const {
    std::uint8_t highest = 0;
    for (const std::uint8_t i : indexes_) highest = std::max(highest, i);
    if (indexes_.size() != static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) ||
        (!indexes_.empty() && highest >= table_.size()))
        throw std::invalid_argument("RasterImage: colour indexes that do not fit the image or its table");
    // Each pixel's colour goes out as four bytes, the fourth overwritten by the next pixel.
    std::array<std::array<std::uint8_t, 4>, ColourTable::kMaxEntries> bgr{};
    for (int i = 0; i < table_.size(); ++i) bgr[static_cast<std::size_t>(i)] = {table_[i].blue, table_[i].green, table_[i].red, 0};
    std::vector<std::uint8_t> colours(indexes_.size() * 3 + 1);
    for (std::size_t i = 0; i < indexes_.size(); ++i) std::memcpy(&colours[i * 3], bgr[indexes_[i]].data(), 4);
    colours.pop_back();
    return colours;
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
    if (has_colour_table(format_))
        indexes_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    else
        indexes_ = {};
    for (int y = 0; y < height_; ++y) reduce_run(0, y, static_cast<std::size_t>(width_));
}

void RasterImage::set_pixel(int x, int y, Colour c) {
    if (!has_colour_table(format_)) {
        store(pixel_address(x, y), representable(c));
        return;
    }
    const int index = table_.nearest_index(c);
    indexes_[row_start(y) + static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(index);
    store(pixel_address(x, y), table_[index]);
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

void RasterImage::reduce_run(int x, int y, std::size_t pixels) {
    if (pixels == 0) return;
    std::uint8_t* bgr = pixel_address(x, y);
    if (has_colour_table(format_)) {
        table_.reduce(bgr, &indexes_[row_start(y) + static_cast<std::size_t>(x)], pixels);
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
