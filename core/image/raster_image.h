#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "colour.h"
#include "colour_table.h"
#include "pixel_format.h"
#include "rect.h"
#include "support/flush_to_disk.h"

namespace tilvane {

// An in-memory bitmap. Pixels are held as blue-green-red byte triples, row 0 at the top, rows
// packed without padding, whatever the pixel format: the format decides which colours a pixel
// can hold (every write is reduced to the nearest colour the format can store) and how the image
// is saved. A palette image also holds each pixel's colour table index, in a plane of one byte a
// pixel laid out like the colours, so that a colour the table repeats keeps the index it was
// read with; its colours are always its indexes' entries.
class RasterImage {
public:
    // Far beyond what memory allows in both directions, and small enough that a column of
    // bytes sums within 32 bits.
    static constexpr int kMaxDimension = 1 << 24;

    RasterImage() = default;
    RasterImage(int width, int height, PixelFormat format = PixelFormat::Bits24);

    int width() const { return width_; }
    int height() const { return height_; }
    // New area gets the fill colour; pixels outside the new size are dropped; the same value
    // changes nothing.
    void set_width(int width) { set_size(width, height_); }
    void set_height(int height) { set_size(width_, height); }
    void set_size(int width, int height);

    PixelFormat pixel_format() const { return format_; }
    // Converts the pixels to what the new format can hold. Custom throws "Invalid pixel format".
    void set_pixel_format(PixelFormat format);
    // Takes other's pixel format together with its colour table, so that other's pixels copy
    // over unchanged; otherwise as set_pixel_format.
    void set_pixel_format_of(const RasterImage& other);
    const ColourTable& colour_table() const { return table_; }
    // Masks of a 16- or 32-bit layout as stored in a file (the custom format keeps its own).
    const ChannelMasks& channel_masks() const { return masks_; }
    // The number of bits per pixel a file of this image uses (15 is stored in 16).
    int stored_bits_per_pixel() const;

    Colour fill_colour() const { return fill_; }
    void set_fill_colour(Colour c) { fill_ = c; }

    Colour pixel(int x, int y) const {
        const std::uint8_t* p = pixel_address(x, y);
        return {p[2], p[1], p[0]};
    }
    // Stores the colour nearest to c; in a palette image the first of the nearest entries.
    void set_pixel(int x, int y, Colour c);

    // The colour this image stores when asked to store c.
    Colour representable(Colour c) const;
    // Replaces each of a run of pixels from (x, y) on by what this image stores for its colour.
    void reduce_run(int x, int y, std::size_t pixels);
    // True when every 24-bit colour is stored as it is (24-bit and 32-bit images).
    bool stores_every_colour() const { return rounding_.identity && !has_colour_table(format_); }
    // True when every pixel of other is stored as it is, so copies from it are plain byte copies.
    bool stores_unchanged(const RasterImage& other) const;

    // Raw rows for fast loops: 3 bytes a pixel, blue first. Writers must store only
    // representable colours, and in a palette image set their indexes too (see copy_run and
    // reduce_run).
    std::uint8_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * row_bytes(); }
    const std::uint8_t* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * row_bytes(); }
    std::size_t row_bytes() const { return static_cast<std::size_t>(width_) * 3; }
    // A row of a palette image's colour indexes, one byte a pixel; null in a direct format.
    std::uint8_t* index_row(int y) { return indexes_.empty() ? nullptr : &indexes_[row_start(y)]; }
    const std::uint8_t* index_row(int y) const { return indexes_.empty() ? nullptr : &indexes_[row_start(y)]; }

    // Copies pixels of src's row src_y from src_x on to this image's row y from x on. With
    // unchanged, which must be stores_unchanged(src), they are copied as they are, a palette
    // image's indexes included; otherwise each is reduced to what this image stores.
    void copy_run(int x, int y, const RasterImage& src, int src_x, int src_y, std::size_t pixels, bool unchanged) {
        std::memcpy(pixel_address(x, y), src.pixel_address(src_x, src_y), pixels * 3);
        if (!unchanged)
            reduce_run(x, y, pixels);
        else if (!indexes_.empty())
            std::memcpy(&indexes_[row_start(y) + static_cast<std::size_t>(x)],
                        &src.indexes_[src.row_start(src_y) + static_cast<std::size_t>(src_x)], pixels);
    }

    // Builds an image of a layout read from a file: a palette format with its table, a standard
    // direct format, or a custom one with its masks. The pixels are stored as given: for a
    // palette format one colour index a pixel, each below the table's size, otherwise
    // blue-green-red triples.
    static RasterImage from_layout(int width, int height, PixelFormat format, ColourTable table,
                                   ChannelMasks masks, int stored_bits, std::vector<std::uint8_t> bgr);

    // A new image of the given size with this image's layout (format, colour table, masks) and
    // fill colour, filled with that colour.
    RasterImage blank_with_layout(int width, int height) const;

    // Errors name the file, a refused bitmap's included.
    void load_from_file(const std::string& path);
    void save_to_file(const std::string& path, Flush_To_Disk flush = Flush_To_Disk::Yes) const;

private:
    std::size_t row_start(int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
    std::uint8_t* pixel_address(int x, int y) { return row(y) + static_cast<std::size_t>(x) * 3; }
    const std::uint8_t* pixel_address(int x, int y) const { return row(y) + static_cast<std::size_t>(x) * 3; }
    static void store(std::uint8_t* p, Colour c) {
        p[0] = c.blue;
        p[1] = c.green;
        p[2] = c.red;
    }
    void apply_layout(PixelFormat format);
    void reduce_pixels();
    std::vector<std::uint8_t> colours_of_indexes() const;

    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Bits24;
    ColourTable table_;
    ChannelMasks masks_ = kMasks888;
    int custom_bits_ = 0;
    ChannelRounding rounding_ = ChannelRounding::none();
    Colour fill_ = kWhite;
    std::vector<std::uint8_t> pixels_;
    std::vector<std::uint8_t> indexes_;  // palette formats only
};

}  // namespace tilvane
