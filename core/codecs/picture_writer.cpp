#include "picture_writer.h"

#include "codecs/bmp/bmp_codec.h"
#include "codecs/jpeg/jpeg_codec.h"
#include "codecs/png/png_writer.h"
#include "support/error.h"
#include "support/file_io.h"

namespace tilvane {

void Check_Picture_Fits(const std::string& path, Picture_Format format, std::uint64_t width, std::uint64_t height,
                        const Raster_Image& like) {
    const auto refuse = [&](Bitmap_Fault fault) { throw Error::Too_Large_Picture(path, fault, width, height); };
    if (width > Raster_Image::kMax_Dimension || height > Raster_Image::kMax_Dimension) refuse(Bitmap_Fault::Bad_Dimensions);
    if (format == Picture_Format::Bmp && !Bmp_Layout_Of(width, height, like).Fits()) refuse(Bitmap_Fault::File_Too_Large);
    if (format == Picture_Format::Jpeg && (width > kLargest_Jpeg_Side || height > kLargest_Jpeg_Side))
        refuse(Bitmap_Fault::Side_Too_Long);
}

Picture_Writer::Picture_Writer(const std::string& path, Picture_Format format, int width, int height,
                               const Raster_Image& like, const Save_Options& options, Work_Crew& crew)
    : path_(path) {
    Check_Picture_Fits(path, format, static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), like);
    file_ = std::make_unique<Replacing_File>(path, options.flush);
    sink_ = file_->Sink();
    try {
        switch (format) {
            case Picture_Format::Bmp: bmp_ = std::make_unique<Bmp_Writer>(width, height, like, *file_); break;
            case Picture_Format::Jpeg: jpeg_ = std::make_unique<Jpeg_Writer>(width, height, options.quality, sink_); break;
            case Picture_Format::Png: png_ = std::make_unique<Png_Writer>(width, height, sink_, crew); break;
        }
    } catch (...) {
        Rethrow_Naming_File(path_);
    }
}

Picture_Writer::~Picture_Writer() = default;

void Picture_Writer::Write_Band(const Raster_Image& band) {
    try {
        if (bmp_) return bmp_->Write_Band(band);
        for (int y = 0; y < band.Height(); ++y) jpeg_ ? jpeg_->Write_Row(band.Row(y)) : png_->Write_Row(band.Row(y));
    } catch (...) {
        Rethrow_Naming_File(path_);
    }
}

void Picture_Writer::Commit() {
    try {
        if (bmp_) bmp_->Finish();
    } catch (...) {
        Rethrow_Naming_File(path_);
    }
    file_->Commit();
}

}  // namespace tilvane
