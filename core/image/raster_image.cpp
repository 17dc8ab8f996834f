#include "raster_image.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

#include "support/error.h"

namespace tilvane {

Raster_Image::Raster_Image(int width, int height, Pixel_Format format) {
    Set_Format(format);
    Set_Size(width, height);
}

Raster_Image Raster_Image::From_Layout(int width, int height, Pixel_Format format, Colour_Table table,
                                     Channel_Masks masks, int stored_bits, std::vector<std::uint8_t> pixels) {
    Raster_Image image;
    image.width_ = width;
    image.height_ = height;
    image.format_ = format;
    if (Has_Colour_Table(format)) {
        image.table_ = std::move(table);
        image.indexes_ = std::move(pixels);
        image.pixels_ = image.Colours_Of_Indexes();
        return image;
    }
    image.masks_ = format == Pixel_Format::Custom ? masks : Channel_Masks{};
    if (format != Pixel_Format::Custom) image.Apply_Layout(format);
    image.rounding_ = Channel_Rounding::For_Masks(image.masks_);
    image.custom_bits_ = format == Pixel_Format::Custom ? stored_bits : 0;
    image.pixels_ = std::move(pixels);
    return image;
}

void Raster_Image::Set_Size(int width, int height) {
    width = std::clamp(width, 0, kMax_Dimension);
    height = std::clamp(height, 0, kMax_Dimension);
    if (width == width_ && height == height_) return;

    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> pixels(count * 3);
    const Colour fill = Representable(fill_);
    for (std::size_t i = 0; i < pixels.size(); i += 3) Store(&pixels[i], fill);
    std::vector<std::uint8_t> indexes(Has_Colour_Table(format_) ? count : 0,
                                      static_cast<std::uint8_t>(Has_Colour_Table(format_) ? table_.Nearest_Index(fill_) : 0));

    const std::size_t kept = static_cast<std::size_t>(std::min(width, width_));
    for (int y = 0; y < std::min(height, height_); ++y) {
        const std::size_t to = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        std::memcpy(&pixels[to * 3], Row(y), kept * 3);
        if (!indexes.empty()) std::memcpy(&indexes[to], Index_Row(y), kept);
    }

    pixels_ = std::move(pixels);
    indexes_ = std::move(indexes);
    width_ = width;
    height_ = height;
}

std::vector<std::uint8_t> Raster_Image::Colours_Of_Indexes() const {
    std::uint8_t highest = 0;
    for (const std::uint8_t i : indexes_) highest = std::max(highest, i);
    if (indexes_.size() != static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) ||
        (!indexes_.empty() && highest >= table_.size()))
        throw std::invalid_argument("Raster_Image: colour indexes that do not fit the image or its table");
    // Each pixel's colour goes out as four bytes, the fourth overwritten by the next pixel.
    std::array<std::array<std::uint8_t, 4>, Colour_Table::kMax_Entries> bgr{};
    for (int i = 0; i < table_.size(); ++i) bgr[static_cast<std::size_t>(i)] = {table_[i].blue, table_[i].green, table_[i].red, 0};
    std::vector<std::uint8_t> colours(indexes_.size() * 3 + 1);
    for (std::size_t i = 0; i < indexes_.size(); ++i) std::memcpy(&colours[i * 3], bgr[indexes_[i]].data(), 4);
    colours.pop_back();
    return colours;
}

void Raster_Image::Apply_Layout(Pixel_Format format) {
    format_ = format;
    custom_bits_ = 0;
    table_ = Colour_Table::Standard(format);
    masks_ = format == Pixel_Format::Bits15 ? kMasks555 : format == Pixel_Format::Bits16 ? kMasks565 : kMasks888;
    rounding_ = Channel_Rounding::For_Masks(Has_Colour_Table(format) ? kMasks888 : masks_);
}

void Raster_Image::Set_Format(Pixel_Format format) {
    if (format == Pixel_Format::Custom) throw Error::Invalid_Pixel_Format();
    if (format == format_) return;
    Apply_Layout(format);
    Reduce_Pixels();
}

void Raster_Image::Set_Format_Of(const Raster_Image& other) {
    if (!Has_Colour_Table(other.format_)) {
        Set_Format(other.format_);
        return;
    }
    if (format_ == other.format_ && table_.Entries() == other.table_.Entries()) return;
    Apply_Layout(other.format_);
    table_ = other.table_;
    Reduce_Pixels();
}

void Raster_Image::Reduce_Pixels() {
    if (Has_Colour_Table(format_))
        indexes_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    else
        indexes_ = {};
    for (int y = 0; y < height_; ++y) Reduce_Run(0, y, static_cast<std::size_t>(width_));
}

void Raster_Image::Set_Pixel(int x, int y, Colour c) {
    if (!Has_Colour_Table(format_)) {
        Store(Pixel_Address(x, y), Representable(c));
        return;
    }
    const int index = table_.Nearest_Index(c);
    indexes_[Row_Start(y) + static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(index);
    Store(Pixel_Address(x, y), table_[index]);
}

int Raster_Image::Stored_Bits_Per_Pixel() const {
    if (format_ == Pixel_Format::Custom) return custom_bits_;
    if (format_ == Pixel_Format::Bits15) return 16;
    return static_cast<int>(format_);
}

Colour Raster_Image::Representable(Colour c) const {
    if (Has_Colour_Table(format_)) return table_.Nearest(c);
    return {rounding_.red[c.red], rounding_.green[c.green], rounding_.blue[c.blue]};
}

void Raster_Image::Reduce_Run(int x, int y, std::size_t pixels) {
    if (pixels == 0) return;
    std::uint8_t* bgr = Pixel_Address(x, y);
    if (Has_Colour_Table(format_)) {
        table_.Reduce(bgr, &indexes_[Row_Start(y) + static_cast<std::size_t>(x)], pixels);
        return;
    }
    if (rounding_.identity) return;
    for (std::size_t i = 0; i < pixels; ++i, bgr += 3) {
        bgr[0] = rounding_.blue[bgr[0]];
        bgr[1] = rounding_.green[bgr[1]];
        bgr[2] = rounding_.red[bgr[2]];
    }
}

bool Raster_Image::Stores_Unchanged(const Raster_Image& other) const {
    if (Stores_Every_Colour()) return true;
    if (format_ != other.format_) return false;
    if (Has_Colour_Table(format_)) return table_.Entries() == other.table_.Entries();
    return masks_ == other.masks_;
}

Raster_Image Raster_Image::Blank_With_Layout(int width, int height) const {
    Raster_Image image = From_Layout(0, 0, format_, table_, masks_, custom_bits_, {});
    image.fill_ = fill_;
    image.Set_Size(width, height);
    return image;
}

}  // namespace tilvane
