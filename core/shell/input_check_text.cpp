#include "shell/input_check_text.h"

namespace tilvane::shell {

std::string Mosaic_Input_Text(const Mosaic_Input_Check& check) {
    const std::string missing = std::to_string(check.missing_tiles.size());
    switch (check.problem) {
        case Mosaic_Input_Problem::None: return {};
        case Mosaic_Input_Problem::Original_Blank: return std::string(kOriginal_Blank_Message);
        case Mosaic_Input_Problem::Original_Not_Bitmap:
        case Mosaic_Input_Problem::Output_Not_Bitmap: return Only_Picture_Files_Message(check.formats);
        case Mosaic_Input_Problem::Original_Not_Found: return std::string(kOriginal_Not_Found_Message);
        case Mosaic_Input_Problem::No_Tiles: return "Error: There are no Tiles in the list to use in the Mosaic !";
        case Mosaic_Input_Problem::No_Tile_Found: return "Error: None of the " + missing + " in the Tiles List could be found !";
        case Mosaic_Input_Problem::Some_Tiles_Missing: return "Error: " + missing + " tiles in the Tiles List could not be found !";
        case Mosaic_Input_Problem::Output_Blank: return "Error: The Output File name cannot be blank.";
        case Mosaic_Input_Problem::Zero_Tile_Width:
            return "Error: The Tile Width cannot be 0 unless a horizontal Gap between the Mosaic Tiles is set.";
        case Mosaic_Input_Problem::Zero_Tile_Height:
            return "Error: The Tile Height cannot be 0 unless a vertical Gap between the Mosaic Tiles is set.";
        case Mosaic_Input_Problem::Output_Exists: return "Warning: The Output File already exists.";
    }
    return {};
}

std::string Not_A_Number_Text(std::string_view field, int minimum, int maximum) {
    return "Error: The " + std::string(field) + " must be a number from " + std::to_string(minimum) + " to " +
           std::to_string(maximum) + ".";
}

std::string Extract_Input_Text(Extract_Input_Problem problem) {
    switch (problem) {
        case Extract_Input_Problem::None: return {};
        case Extract_Input_Problem::Directory_Blank: return "Error: The Directory to hold the Extracted Tiles cannot be blank.";
    }
    return {};
}

}  // namespace tilvane::shell
