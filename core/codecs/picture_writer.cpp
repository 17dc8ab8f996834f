#include "picture_writer.h"

#include "codecs/band_writer.h"
#include "support/error.h"
#include "support/file_io.h"

namespace tilvane {

void Check_Picture_Fits(const std::string& path, const Picture_Format& format, std::uint64_t width,
                        std::uint64_t height, const Raster_Image& like) {
    const auto refuse = [&](Bitmap_Fault fault) {
        throw Error::Too_Large_Picture(path, fault, width, height, format.name, format.largest_side);
    };
    if (width > Raster_Image::kMax_Dimension || height > Raster_Image::kMax_Dimension) refuse(Bitmap_Fault::Bad_Dimensions);
    if (format.file_fits && !format.file_fits(width, height, like)) refuse(Bitmap_Fault::File_Too_Large);
    const auto largest = static_cast<std::uint64_t>(format.largest_side);
    if (largest > 0 && (width > largest || height > largest)) refuse(Bitmap_Fault::Side_Too_Long);
}

Picture_Writer::Picture_Writer(const std::string& path, const Picture_Format& format, int width, int height,
                               const Raster_Image& like, const Save_Options& options, Work_Crew& crew)
    : path_(path) {
    Check_Picture_Fits(path, format, static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), like);
    file_ = std::make_unique<Replacing_File>(path, options.flush);
    try {
        writer_ = format.open_writer({width, height, like, options, *file_, crew});
    } catch (...) {
        Rethrow_Naming_File(path_);
    }
}

Picture_Writer::~Picture_Writer() = default;

void Picture_Writer::Write_Band(const Raster_Image& band) {
    try {
        writer_->Write_Band(band);
    } catch (...) {
        Rethrow_Naming_File(path_);
    }
}

void Picture_Writer::Finish() {
    try {
        writer_->Finish();
    } catch (...) {
        Rethrow_Naming_File(path_);
    }
    file_->Finish();
    finished_ = true;
}

void Picture_Writer::Commit() {
    if (!finished_) Finish();
    file_->Commit();
}

}  // namespace tilvane
