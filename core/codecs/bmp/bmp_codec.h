#pragma once
#include <cstdint>
#include <future>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "codecs/band_writer.h"
#include "codecs/picture_rows.h"
#include "image/raster_image.h"
#include "support/byte_stream.h"
#include "support/file_io.h"

namespace tilvane {

// What a BMP file declared, for reports such as `tilvane-cli info`.
struct Bmp_Description {
    std::string header_kind;   // for example "BITMAPCOREHEADER", "BITMAPINFOHEADER", "BITMAPV5HEADER"
    std::string compression;   // for example "BI_RGB", "BI_RLE8", "BI_BITFIELDS"
    int bits_per_pixel = 0;    // as stored in the file
    int colour_table_entries = 0;
    bool top_down = false;
    int width = 0;
    int height = 0;
    Pixel_Format pixel_format = Pixel_Format::Bits24;  // what the pixels decode to
};

// Reads only a BMP file's headers: what Decode_Bmp would make of it, without its pixels. Throws
// a Not_Valid error for headers that are not a well-formed bitmap's.
Bmp_Description Describe_Bmp(const Byte_Source& source);

// Decodes a whole BMP file held in memory. Throws a Not_Valid error for anything that is
// not a well-formed bitmap; never reads outside `bytes` and never allocates more than the file
// could describe.
Raster_Image Decode_Bmp(const Byte_Source& source, Bmp_Description* description = nullptr);
Raster_Image Decode_Bmp(std::span<const std::uint8_t> bytes, Bmp_Description* description = nullptr);

// Reads a BMP file a band of rows at a time (Picture_Rows): a file stored row by row where its rows
// lie, any other whole. Throws as Decode_Bmp does, for pixel data shorter than the picture too.
std::unique_ptr<Picture_Rows> Read_Bmp_Rows(const Byte_Source& source);

// Where the encoder's BMP file of a width x height picture in like's pixel format (and with its
// colour table) puts its parts: headers, channel masks and colour table, then the rows.
struct Bmp_File_Layout {
    std::uint64_t pixel_offset = 0;
    std::uint64_t Row_Stride = 0;  // bytes a row, padded to 4
    std::uint64_t file_size = 0;
    // Whether the whole file fits the format's 32-bit size fields.
    bool Fits() const { return file_size <= 0xFFFFFFFFu; }
};
Bmp_File_Layout Bmp_Layout_Of(std::uint64_t width, std::uint64_t height, const Raster_Image& like);

// Encodes an image as an uncompressed BMP in its own pixel format: BITMAPINFOHEADER, colour
// table for palette formats, BI_BITFIELDS masks for 16-bit 5-6-5 and custom layouts, rows
// bottom-up padded to 4 bytes.
// Throws a Not_Valid error for an image without pixels or too large for the format's
// 32-bit size fields, before writing anything.
void Encode_Bmp(const Raster_Image& image, const Byte_Sink& sink);
std::vector<std::uint8_t> Encode_Bmp(const Raster_Image& image);

// Writes the same file as Encode_Bmp into file from bands of rows given top to bottom, each band
// a picture of the file's width in like's pixel format and colour table: the headers are known
// in advance, and each band goes where the bottom-up file keeps its rows. Refuses what Encode_Bmp
// refuses, before writing anything.
class Bmp_Writer final : public Band_Writer {
public:
    Bmp_Writer(int width, int height, const Raster_Image& like, Replacing_File& file);
    // Waits for the last band's write.
    ~Bmp_Writer() override;
    // The next band.Height() rows; the file is whole once all height rows are written and Finish
    // has returned. The band's rows go to the file while the caller makes the next band; an
    // error of that write comes from the next call.
    void Write_Band(const Raster_Image& band) override;
    void Finish() override;

private:
    Replacing_File& file_;
    Channel_Masks masks_;
    Bmp_File_Layout layout_;
    int width_;
    int rows_left_ = 0;
    // Two bands' rows as stored, one being written while the other is made, kept from band to
    // band: buffers this large taken afresh each time would cost the system mapping and zeroing
    // their pages, more than writing them.
    std::vector<std::uint8_t> rows_[2];
    int next_ = 0;  // the buffer the next band goes into
    std::future<void> writing_;
};

}  // namespace tilvane
