#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "codecs/band_writer.h"
#include "support/byte_stream.h"
#include "support/work_crew.h"

namespace tilvane {

// Writes an 8-bit RGB PNG from its rows, top to bottom, holding only a few bands of rows at a
// time. Each band is filtered and deflated on its own member of the crew, the bands joined into
// one zlib stream (each but the last ends on a byte boundary without ending the stream), so the
// work spreads over every processor while the file stays one ordinary image.
class Png_Writer final : public Row_Writer {
public:
    // Writes the signature and header to sink. Throws a Not_Valid error for a size without
    // pixels, before writing anything. Errors of the sink propagate.
    Png_Writer(int width, int height, Byte_Sink sink, Work_Crew& crew);
    ~Png_Writer() override;
    Png_Writer(const Png_Writer&) = delete;
    Png_Writer& operator=(const Png_Writer&) = delete;

    // The next row: width pixels of blue, green and red bytes. The last row ends the file.
    void Write_Row(const std::uint8_t* bgr) override;

private:
    struct Band;
    void Write_Bands(bool last);

    int width_, height_;
    Byte_Sink sink_;
    Work_Crew& crew_;
    int rows_given_ = 0;
    int band_rows_;
    std::size_t batch_bytes_;             // a band for each member
    std::vector<std::uint8_t> pending_;   // RGB rows given since the last bands went out
    std::vector<std::uint8_t> above_;     // the row before them, for the filters
    std::vector<std::unique_ptr<Band>> bands_;  // one a member
    std::uint32_t adler_ = 1;
};

}  // namespace tilvane
