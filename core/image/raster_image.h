#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "colour.h"
#include "colour_table.h"
#include "pixel_format.h"
#include "rect.h"

namespace tilvane {

// An in-memory bitmap. Pixels are held as blue-green-red byte triples, row 0 at the top, rows
// packed without padding, whatever the pixel format: the format decides which colours a pixel
// can hold (every write is reduced to the nearest colour the format can store) and how the image
// is saved. A palette image also holds each pixel's colour table index, in a plane of one byte a
// pixel laid out like the colours, so that a colour the table repeats keeps the index it was
// read with; its colours are always its indexes' entries.
class Raster_Image {
public:
    // Far beyond what memory allows in both directions, and small enough that a column of
    // bytes sums within 32 bits.
    static constexpr int kMax_Dimension = 1 << 24;

    Raster_Image() = default;
    Raster_Image(int width, int height, Pixel_Format format = Pixel_Format::Bits24);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // New area gets the fill colour; pixels outside the new size are dropped; the same value
    // changes nothing.
    void Set_Width(int width) { Set_Size(width, height_); }
    void Set_Height(int height) { Set_Size(width_, height); }
    void Set_Size(int width, int height);

    Pixel_Format Format() const { return format_; }
    // Converts the pixels to what the new format can hold. Custom throws "Invalid pixel format".
    void Set_Format(Pixel_Format format);
    // Takes other's pixel format together with its colour table, so that other's pixels copy
    // over unchanged; otherwise as Set_Format.
    void Set_Format_Of(const Raster_Image& other);
    const Colour_Table& Table() const { return table_; }
    // Masks of a 16- or 32-bit layout as stored in a file (the custom format keeps its own).
    const Channel_Masks& Masks() const { return masks_; }
    // The number of bits per pixel a file of this image uses (15 is stored in 16).
    int Stored_Bits_Per_Pixel() const;

    Colour Fill_Colour() const { return fill_; }
    void Set_Fill_Colour(Colour c) { fill_ = c; }

    Colour Pixel(int x, int y) const {
        const std::uint8_t* p = Pixel_Address(x, y);
        return {p[2], p[1], p[0]};
    }
    // Stores the colour nearest to c; in a palette image the first of the nearest entries.
    void Set_Pixel(int x, int y, Colour c);

    // The colour this image stores when asked to store c.
    Colour Representable(Colour c) const;
    // Replaces each of a run of pixels from (x, y) on by what this image stores for its colour.
    void Reduce_Run(int x, int y, std::size_t pixels);
    // True when every 24-bit colour is stored as it is (24-bit and 32-bit images).
    bool Stores_Every_Colour() const { return rounding_.identity && !Has_Colour_Table(format_); }
    // True when every pixel of other is stored as it is, so copies from it are plain byte copies.
    bool Stores_Unchanged(const Raster_Image& other) const;

    // Raw rows for fast loops: 3 bytes a pixel, blue first. Writers must store only
    // representable colours, and in a palette image set their indexes too (see Copy_Run and
    // Reduce_Run).
    std::uint8_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * Row_Bytes(); }
    const std::uint8_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * Row_Bytes(); }
    std::size_t Row_Bytes() const { return static_cast<std::size_t>(width_) * 3; }
    // A row of a palette image's colour indexes, one byte a pixel; null in a direct format.
    std::uint8_t* Index_Row(int y) { return indexes_.empty() ? nullptr : &indexes_[Row_Start(y)]; }
    const std::uint8_t* Index_Row(int y) const { return indexes_.empty() ? nullptr : &indexes_[Row_Start(y)]; }

    // Copies pixels of src's row src_y from src_x on to this image's row y from x on. With
    // unchanged, which must be Stores_Unchanged(src), they are copied as they are, a palette
    // image's indexes included; otherwise each is reduced to what this image stores.
    void Copy_Run(int x, int y, const Raster_Image& src, int src_x, int src_y, std::size_t pixels, bool unchanged) {
        std::memcpy(Pixel_Address(x, y), src.Pixel_Address(src_x, src_y), pixels * 3);
        if (!unchanged)
            Reduce_Run(x, y, pixels);
        else if (!indexes_.empty())
            std::memcpy(&indexes_[Row_Start(y) + static_cast<std::size_t>(x)],
                        &src.indexes_[src.Row_Start(src_y) + static_cast<std::size_t>(src_x)], pixels);
    }

    // Builds an image of a layout read from a file: a palette format with its table, a standard
    // direct format, or a custom one with its masks. The pixels are stored as given: for a
    // palette format one colour index a pixel, each below the table's size, otherwise
    // blue-green-red triples.
    static Raster_Image From_Layout(int width, int height, Pixel_Format format, Colour_Table table,
                                   Channel_Masks masks, int stored_bits, std::vector<std::uint8_t> bgr);

    // A new image of the given size with this image's layout (format, colour table, masks) and
    // fill colour, filled with that colour.
    Raster_Image Blank_With_Layout(int width, int height) const;

private:
    std::size_t Row_Start(int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
    std::uint8_t* Pixel_Address(int x, int y) { return Row(y) + static_cast<std::size_t>(x) * 3; }
    const std::uint8_t* Pixel_Address(int x, int y) const { return Row(y) + static_cast<std::size_t>(x) * 3; }
    static void Store(std::uint8_t* p, Colour c) {
        p[0] = c.blue;
        p[1] = c.green;
        p[2] = c.red;
    }
    void Apply_Layout(Pixel_Format format);
    void Reduce_Pixels();
    std::vector<std::uint8_t> Colours_Of_Indexes() const;

    int width_ = 0;
    int height_ = 0;
    Pixel_Format format_ = Pixel_Format::Bits24;
    Colour_Table table_;
    Channel_Masks masks_ = kMasks888;
    int custom_bits_ = 0;
    Channel_Rounding rounding_ = Channel_Rounding::None();
    Colour fill_ = kWhite;
    std::vector<std::uint8_t> pixels_;
    std::vector<std::uint8_t> indexes_;  // palette formats only
};

}  // namespace tilvane
