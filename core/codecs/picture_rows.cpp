#include "picture_rows.h"

#include <algorithm>

#include "image/raster_drawing.h"
#include "support/error.h"
#include "support/file_io.h"

namespace tilvane {
namespace {

class Whole_Picture_Rows final : public Picture_Rows {
public:
    explicit Whole_Picture_Rows(Raster_Image picture)
        : Picture_Rows(picture.Width(), picture.Height(), picture.Blank_With_Layout(0, 0)), picture_(std::move(picture)) {}

private:
    Raster_Image Band(int top, int rows) override {
        Raster_Image band = picture_.Blank_With_Layout(Width(), rows);
        Copy_Rect(band, Rect::At(0, 0, Width(), rows), picture_, Rect::At(0, top, Width(), rows));
        return band;
    }

    Raster_Image picture_;
};

// A file's reader whose errors name the file; it keeps the file open while it reads.
class File_Rows final : public Picture_Rows {
public:
    File_Rows(std::string path, std::unique_ptr<Input_File> file, std::unique_ptr<Picture_Rows> rows)
        : Picture_Rows(rows->Width(), rows->Height(), rows->Blank(0, 0)),
          path_(std::move(path)),
          file_(std::move(file)),
          rows_(std::move(rows)) {}

private:
    Raster_Image Band(int top, int rows) override {
        try {
            rows_->Skip_Rows(top - rows_->Rows_Read());
            return rows_->Read_Rows(rows);
        } catch (...) {
            Rethrow_Naming_File(path_);
        }
    }

    std::string path_;
    std::unique_ptr<Input_File> file_;
    std::unique_ptr<Picture_Rows> rows_;
};

}  // namespace

Raster_Image Picture_Rows::Read_Rows(int rows) {
    rows = std::min(rows, height_ - next_row_);
    if (rows <= 0) return Blank(width_, 0);
    Raster_Image band = Band(next_row_, rows);
    next_row_ += rows;
    return band;
}

void Picture_Rows::Skip_Rows(int rows) {
    next_row_ += std::clamp(rows, 0, height_ - next_row_);
}

Raster_Image Picture_Rows::Blank(int width, int height) const {
    return prototype_.Blank_With_Layout(width, height);
}

std::unique_ptr<Picture_Rows> Rows_Of(Raster_Image picture) {
    return std::make_unique<Whole_Picture_Rows>(std::move(picture));
}

std::unique_ptr<Picture_Rows> Open_Picture_Rows(const std::string& path, Picture_Formats formats) {
    // Opened first, so that a name that is missing or a folder is called so, whatever its extension.
    auto file = std::make_unique<Input_File>(path);
    const Picture_Format& format = Format_To_Read(path, *file, formats);
    try {
        std::unique_ptr<Picture_Rows> rows = format.read_rows(*file);
        return std::make_unique<File_Rows>(path, std::move(file), std::move(rows));
    } catch (...) {
        Rethrow_Naming_File(path);
    }
}

}  // namespace tilvane
