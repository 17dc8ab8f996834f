#include "tile_extraction.h"

#include <cstdio>
#include <vector>

#include "codecs/bmp/bmp_codec.h"
#include "codecs/picture_rows.h"
#include "image/raster_drawing.h"
#include "image/raster_image.h"
#include "support/error.h"
#include "support/file_io.h"

namespace tilvane {
namespace {

std::string Three_Digits(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", number);
    return text;
}

// One tile file: encoded into a buffer that every tile of the run reuses, then written with
// one call, since creating the files is what a run spends its time on.
class Tile_Writer {
public:
    void Write(const Raster_Image& tile, const std::string& path) {
        bytes_.clear();
        Encode_Bmp(tile, [this](std::span<const std::uint8_t> chunk) { bytes_.insert(bytes_.end(), chunk.begin(), chunk.end()); });
        Write_File_New_Or_Replacing(path, bytes_);
    }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

Extract_Limit Extract_Limit_From_Index(int index) {
    return index >= 0 && index <= 2 ? static_cast<Extract_Limit>(index) : Extract_Limit::All;
}

std::string Extracted_Tile_Name(const std::string& directory, int column, int row) {
    return directory + Three_Digits(column) + "," + Three_Digits(row) + ".bmp";
}

void Extract_Tiles(const std::string& mosaic_path, const std::string& directory, const Extract_Settings& settings,
                   Run_Progress& progress, Picture_Formats formats) {
    if (settings.tile_width < 1 || settings.tile_height < 1 || !settings.Advances())
        throw Error::Of_Kind(Error_Kind::Grid_Never_Advances);
    const bool whole_rows = settings.limit == Extract_Limit::All || settings.limit == Extract_Limit::First_Row;
    const bool every_row = settings.limit == Extract_Limit::All || settings.limit == Extract_Limit::First_Column;

    // Read a band of one tile row at a time, so that a poster of any size takes only a band.
    const std::unique_ptr<Picture_Rows> mosaic = Open_Picture_Rows(mosaic_path, formats);
    const int width = mosaic->Width(), height = mosaic->Height();
    // The tile buffer: the mosaic's layout, colour table included, so each tile file holds
    // exactly the mosaic's pixels. An edge tile starts from this blank again, so the part of it
    // beyond the mosaic is black rather than what the tile before it left there.
    const Raster_Image blank = mosaic->Blank(settings.tile_width, settings.tile_height);
    Raster_Image tile = blank;
    Tile_Writer writer;

    progress.Initialise_Processing(0, 0, settings.Progress_Maximum(height));
    progress.Let_Messages_Run();
    int row = 0;
    for (int y = 0; y < height && !progress.Abort_Requested();) {
        ++row;
        int column = 0;
        const bool bottom_edge = y + settings.tile_height > height;
        mosaic->Skip_Rows(y - mosaic->Rows_Read());
        const Raster_Image band = mosaic->Read_Rows(settings.tile_height);
        for (int x = 0; x < width && !progress.Abort_Requested();) {
            ++column;
            const Rect source = Rect::At(x, 0, settings.tile_width, settings.tile_height);
            if (bottom_edge || x + settings.tile_width > width) tile = blank;
            Copy_Rect(tile, Rect::At(0, 0, settings.tile_width, settings.tile_height), band, source);
            writer.Write(tile, Extracted_Tile_Name(directory, column, row));
            x = whole_rows ? x + settings.Step_X() : width;
        }
        y = every_row ? y + settings.Step_Y() : height;
        progress.Update_Processing(y);
        progress.Let_Messages_Run();
    }
    progress.End_Processing();
    progress.Let_Messages_Run();
}

}  // namespace tilvane
