#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "bmp_codec.h"
#include "bmp_format.h"
#include "image/raster_image.h"
#include "support/byte_stream.h"

// What the whole BMP decoder and the banded BMP reader share: a file's layout as its headers
// give it, and its stored rows turned into an image's rows.
namespace tilvane::bmp {

// Everything the headers say about where the pixels are and how they are stored.
struct Layout {
    int width = 0;
    int height = 0;
    bool top_down = false;
    int bits = 0;
    std::uint32_t compression = Rgb;
    Channel_Masks masks = kMasks888;
    std::uint64_t table_offset = 0;
    int table_entry_size = 4;
    std::uint64_t table_entries = 0;  // as declared, which may exceed what is read
    std::uint64_t pixel_offset = 0;
};

// A file's headers (its first few kilobytes, which hold the colour table too) and what they say.
struct Headers {
    std::vector<std::uint8_t> bytes;
    Layout layout;
    Bmp_Description description;
};

// Throws a Not_Valid error for headers that are not a well-formed bitmap's.
Headers Read_Headers(const Byte_Source& source);

// Throws a Not_Valid error when the pixel data after the headers cannot hold the pixels (for
// run-length data: is too sparse for the picture's size). The last row's padding may be missing.
void Check_Pixel_Data(const Layout& l, const Byte_Source& data);

inline bool Is_Embedded(std::uint32_t compression) {
    return compression == Jpeg || compression == Png;
}

// True for pixels stored a row at a time as they are (neither run-length nor embedded), which
// can be read in any order.
inline bool Stored_Row_By_Row(const Layout& l) {
    return !Is_Run_Length(l.compression) && !Is_Embedded(l.compression);
}

// The colour table, cut to 2^bits entries and to what lies before the pixels.
std::vector<Colour> Read_Colour_Table(const Headers& headers);

// The table of a palette file's pixels. Indexes past the file's table read as black: the table
// gains black entries up to the highest index used, so that every pixel keeps its own index.
Colour_Table Palette_Table(std::vector<Colour> entries, std::uint8_t highest_index);

// The format a file's pixels decode to.
Pixel_Format Decoded_Format(const Layout& l);

// Bytes an image row holds a pixel: a colour index in a palette file, blue-green-red otherwise.
inline std::size_t Pixel_Bytes(const Layout& l) {
    return l.bits <= 8 ? 1 : 3;
}

// Turns the stored rows of pixels of a file stored row by row into its image rows [top,
// top + rows) at out, Pixel_Bytes a pixel, reading them chunk by chunk, so a large picture's
// file is never held in memory beside its pixels. The last row's padding may be missing from
// the file; it reads as zeros. Throws a Not_Valid error for data that cannot be read.
class Row_Converter {
public:
    explicit Row_Converter(const Layout& l);
    void Convert(const Byte_Source& data, int top, int rows, std::uint8_t* out) const;

private:
    Layout layout_;
    std::function<void(const std::uint8_t* stored, std::uint8_t* image_row)> convert_;
};

}  // namespace tilvane::bmp
