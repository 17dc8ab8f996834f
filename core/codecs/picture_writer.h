#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "codecs/picture_format.h"
#include "support/byte_stream.h"
#include "support/work_crew.h"

namespace tilvane {

class Band_Writer;
class Replacing_File;

// Throws, about path, Error Too_Large naming the size when a width x height picture in format
// (a BMP in like's pixel format) is beyond what the format stores: Bitmap_Fault File_Too_Large for
// a file over what its size fields hold (a BMP's 4 GiB), Side_Too_Long for a side over the
// format's largest_side, Bad_Dimensions for a side over Raster_Image::kMax_Dimension in any format.
void Check_Picture_Fits(const std::string& path, const Picture_Format& format, std::uint64_t width,
                        std::uint64_t height, const Raster_Image& like);

// Writes a width x height picture to path from bands of rows given top to bottom, in format (a
// BMP keeps like's pixel format and colour table; the others are 24-bit colour), holding only a
// band or a few at a time: the same file as Save_Picture of the whole picture (a PNG may deflate
// differently). The bytes go to a temporary file beside path, which Commit puts in its place;
// dropped before (an error, an interrupt), the writer removes it and leaves path as it was.
// Refuses what Check_Picture_Fits refuses before creating anything; errors name path.
class Picture_Writer {
public:
    Picture_Writer(const std::string& path, const Picture_Format& format, int width, int height,
                   const Raster_Image& like, const Save_Options& options, Work_Crew& crew);
    ~Picture_Writer();
    Picture_Writer(const Picture_Writer&) = delete;
    Picture_Writer& operator=(const Picture_Writer&) = delete;

    // The next band.Height() rows, band of the picture's width and like's layout.
    void Write_Band(const Raster_Image& band);
    // Ends the file, once every row is written, and flushes it (Replacing_File::Finish), so that
    // only putting it in place is left to fail.
    void Finish();
    // Finishes, unless done, and puts the file in path's place.
    void Commit();

private:
    std::string path_;
    std::unique_ptr<Replacing_File> file_;
    std::unique_ptr<Band_Writer> writer_;
    bool finished_ = false;
};

}  // namespace tilvane
