#pragma once
#include <memory>
#include <string>

#include "image/raster_image.h"
#include "codecs/picture_format.h"
#include "support/byte_stream.h"

namespace tilvane {

// A picture read from its file a band of rows at a time, top to bottom, so that only a band is
// held in memory whatever the picture's size. The bands hold exactly the pixels (and layout:
// pixel format, colour table, masks) that reading the picture whole gives. A file that cannot
// be read in bands (run-length BMP data, a BMP holding a JPEG or PNG, an interlaced PNG, a JPEG
// that is not stored upright) is read whole, within the decoders' pixel cap, and handed out in
// bands all the same.
class Picture_Rows {
public:
    virtual ~Picture_Rows() = default;
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Rows_Read() const { return next_row_; }

    // The next rows (as many as are left, at most rows) as an image of the picture's layout.
    // Errors name no file (Open_Picture_Rows's reader names its file).
    Raster_Image Read_Rows(int rows);
    // Passes over the next rows (as many as are left, at most rows).
    void Skip_Rows(int rows);
    // A blank image of the picture's layout, filled with black.
    Raster_Image Blank(int width, int height) const;

protected:
    // The prototype: an image of the layout (of any size).
    Picture_Rows(int width, int height, Raster_Image prototype)
        : width_(width), height_(height), prototype_(std::move(prototype)) {
        prototype_.Set_Fill_Colour(kBlack);
    }
    // The picture's rows [top, top + rows) as an image of its layout; asked for in order from
    // the top, with gaps where rows are skipped.
    virtual Raster_Image Band(int top, int rows) = 0;

private:
    int width_;
    int height_;
    Raster_Image prototype_;
    int next_row_ = 0;
};

// Hands out the bands of a picture read whole.
std::unique_ptr<Picture_Rows> Rows_Of(Raster_Image picture);

// Opens a picture file as Load_Picture reads it under formats (a BMP file whatever its name
// with Bmp_Only), with Load_Picture's errors, which name the file, from the opening and from
// every band read. Each format's reader (Picture_Format::read_rows) reads from bytes that
// outlive it and throws, as the whole decoder does, for headers that are not valid and for data
// found not valid as the bands are read.
std::unique_ptr<Picture_Rows> Open_Picture_Rows(const std::string& path,
                                                Picture_Formats formats = Picture_Formats::By_Extension);

}  // namespace tilvane
