#pragma once
#include <cstdint>

#include "image/raster_image.h"

namespace tilvane {

// Writes one picture file from bands of rows given top to bottom, each band of the picture's
// width: every format's writer takes its picture this way.
class Band_Writer {
public:
    virtual ~Band_Writer() = default;
    // The next band.Height() rows.
    virtual void Write_Band(const Raster_Image& band) = 0;
    // Ends the file once every row is written.
    virtual void Finish() = 0;
};

// A writer that takes 24-bit rows one at a time, its file ended by the last row.
class Row_Writer : public Band_Writer {
public:
    // The next row: the picture's width of blue, green and red bytes.
    virtual void Write_Row(const std::uint8_t* bgr) = 0;

    void Write_Band(const Raster_Image& band) final {
        for (int y = 0; y < band.Height(); ++y) Write_Row(band.Row(y));
    }
    void Finish() final {}
};

}  // namespace tilvane
