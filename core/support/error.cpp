#include "support/error.h"

#include <new>
#include <cerrno>

namespace tilvane {

const char* Error::what() const noexcept {
    switch (kind_) {
        case Error_Kind::Cannot_Open: return "tilvane::Error: cannot open";
        case Error_Kind::Cannot_Open_Folder: return "tilvane::Error: cannot open a folder";
        case Error_Kind::Cannot_Create_Folder: return "tilvane::Error: cannot create a folder";
        case Error_Kind::Not_Valid: return "tilvane::Error: not a valid bitmap";
        case Error_Kind::Cannot_Create: return "tilvane::Error: cannot create";
        case Error_Kind::Invalid_Pixel_Format: return "tilvane::Error: invalid pixel format";
        case Error_Kind::Jpeg_Not_Valid: return "tilvane::Error: not a valid JPEG image";
        case Error_Kind::Png_Not_Valid: return "tilvane::Error: not a valid PNG image";
        case Error_Kind::Heif_Not_Valid: return "tilvane::Error: not a valid HEIF image";
        case Error_Kind::Too_Large: return "tilvane::Error: picture too large";
        case Error_Kind::Unknown_Extension: return "tilvane::Error: unknown picture file extension";
        case Error_Kind::No_Tiles: return "tilvane::Error: no tiles";
        case Error_Kind::Grid_Never_Advances: return "tilvane::Error: a grid that never advances";
        case Error_Kind::Scale_Out_Of_Range: return "tilvane::Error: scale out of range";
        case Error_Kind::Negative_Distance: return "tilvane::Error: negative distance between repeats";
        case Error_Kind::Blend_Out_Of_Range: return "tilvane::Error: blend out of range";
        case Error_Kind::Cannot_Write_Settings: return "tilvane::Error: cannot write the settings";
        case Error_Kind::No_Readable_Tile: return "tilvane::Error: no readable tile";
        case Error_Kind::Uses_Too_Few: return "tilvane::Error: too few uses of each tile to cover the grid";
        case Error_Kind::Placement_Not_Valid: return "tilvane::Error: not a placement";
        case Error_Kind::Placement_Tile_Unknown: return "tilvane::Error: a placement of a tile not in the list";
        case Error_Kind::Placement_Cell_Outside: return "tilvane::Error: a placement outside the grid";
        case Error_Kind::Placement_Cell_Repeated: return "tilvane::Error: a cell placed twice";
    }
    return "tilvane::Error";
}

void Rethrow_Naming_File(const std::string& path) {
    try {
        throw;
    } catch (const Error& error) {
        if (error.Path().empty()) throw error.About_File(path);  // codecs know bytes, not names
        throw;
    } catch (const std::bad_alloc&) {
        throw Error(Error_Kind::Too_Large, path, Bitmap_Fault::Too_Many_Pixels);
    }
}

std::error_code Last_System_Error() {
    return errno == 0 ? std::error_code{} : std::error_code(errno, std::generic_category());
}

}  // namespace tilvane
