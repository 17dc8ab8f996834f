#include "shell/error_report.h"

#include "codecs/decode_limits.h"
#include "mosaic/mosaic_build.h"
#include "mosaic/mosaic_option_table.h"
#include "tiles/file_names.h"

namespace tilvane::shell {
namespace {

std::string Too_Large_Text(const Error& error) {
    std::string picture = "The picture " + error.Path();
    if (error.Width() > 0) picture += " of " + std::to_string(error.Width()) + "x" + std::to_string(error.Height()) + " pixels";
    picture += " is too large";
    const std::string for_format = " for a " + error.Format() + " file";
    if (error.Fault() == Bitmap_Fault::Side_Too_Long)
        return picture + for_format + ": at most " + std::to_string(error.Number()) + " pixels a side";
    if (error.Fault() == Bitmap_Fault::File_Too_Large) return picture + for_format + ": at most 4 GiB";
    if (error.Fault() == Bitmap_Fault::Bad_Dimensions)
        return picture + ": at most " + std::to_string(Raster_Image::kMax_Dimension) + " pixels a side";
    return picture + ": its pixels need more than " + std::to_string(decode_limits::kMax_Pixel_Bytes >> 20) + " MB";
}

std::string Line_Text(const Error& error) {
    return "Line " + std::to_string(error.Number()) + " of " + error.Path();
}

}  // namespace

std::string Error_Text(const std::exception& error) {
    const auto* core = dynamic_cast<const Error*>(&error);
    if (!core) return error.what();
    switch (core->Kind()) {
        case Error_Kind::Cannot_Open: return "Cannot open file " + core->Path();
        case Error_Kind::Cannot_Open_Folder: return "Cannot open folder " + core->Path();
        case Error_Kind::Cannot_Create_Folder: return "Cannot create folder " + core->Path();
        case Error_Kind::Not_Valid: return "Bitmap image is not valid";
        case Error_Kind::Cannot_Create: return "Cannot create file " + core->Path();
        case Error_Kind::Cannot_Write: return "Cannot write file " + core->Path();
        case Error_Kind::Invalid_Pixel_Format: return "Invalid pixel format";
        case Error_Kind::Picture_Not_Valid: return core->Format() + " image is not valid";
        case Error_Kind::Too_Large: return Too_Large_Text(*core);
        case Error_Kind::No_Readable_Tile: return "None of the tiles could be read";
        case Error_Kind::Unknown_Extension: {
            const std::string_view extension = tilvane::Extension_Part(core->Path());
            const std::string named = "(." + std::string(extension.empty() ? extension : extension.substr(1)) + ")";
            // A picture format that is read but never written.
            if (const Picture_Format* format = Format_For_Path(core->Path()); format && !format->open_writer)
                return std::string(format->name) + " pictures are read, not written " + named;
            return "Unknown picture file extension " + named;
        }
        case Error_Kind::No_Tiles: return "Error: There are no Tiles in the list to use in the Mosaic !";
        case Error_Kind::Grid_Never_Advances: return "Error: The Tile Size cannot be 0 unless a Gap between the Tiles is set.";
        case Error_Kind::Option_Out_Of_Range: return Option_Range_Text(core->Number());
        case Error_Kind::Cannot_Write_Settings: return "Unable to write to " + core->Path();
        case Error_Kind::Uses_Too_Few:
            return "Error: The Tiles cannot cover every cell with so few uses of each: at least " +
                   std::to_string(core->Number()) + " are needed.";
        case Error_Kind::Placement_Not_Valid:
            return Line_Text(*core) + " is not a placement (column,row,x,y,width,height,tile and perhaps mirrored)";
        case Error_Kind::Placement_Tile_Unknown: return Line_Text(*core) + " names a tile that is not in the list";
        case Error_Kind::Placement_Cell_Outside: return Line_Text(*core) + " names a cell outside the grid";
        case Error_Kind::Placement_Cell_Repeated: return Line_Text(*core) + " names a cell that an earlier line placed";
        case Error_Kind::Placement_Place_Wrong:
            return Line_Text(*core) + " gives an x, y, width or height that is not its column and row's in this grid";
        case Error_Kind::Placement_Over_Cap:
            return Line_Text(*core) + " uses " + core->Tile() + " more than the " + std::to_string(core->Width()) +
                   " times allowed";
        case Error_Kind::Library_Not_Valid: return "Tile library " + core->Path() + " is damaged or is not a tile library";
    }
    return core->what();
}

std::string Error_Text_With_Details(const std::exception& error) {
    const auto* core = dynamic_cast<const Error*>(&error);
    std::string text = Error_Text(error);
    if (!core) return text;
    const bool names_file = core->Kind() == Error_Kind::Cannot_Open || core->Kind() == Error_Kind::Cannot_Create ||
                            core->Kind() == Error_Kind::Cannot_Write ||
                            core->Kind() == Error_Kind::Cannot_Open_Folder ||
                            core->Kind() == Error_Kind::Cannot_Create_Folder ||
                            core->Kind() == Error_Kind::Too_Large || core->Kind() == Error_Kind::Unknown_Extension ||
                            core->Kind() == Error_Kind::Cannot_Write_Settings || core->Kind() == Error_Kind::Library_Not_Valid ||
                            (core->Kind() >= Error_Kind::Placement_Not_Valid && core->Kind() <= Error_Kind::Placement_Over_Cap);
    if (!names_file && !core->Path().empty()) text += ": " + core->Path();
    if (core->Reason()) text += ": " + core->Reason().message();
    return text;
}

std::string With_Full_Stop(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    return text;
}

}  // namespace tilvane::shell
