#include "extract/extract_inputs.h"

#include <algorithm>

namespace tilvane {
namespace {

// Nothing but blanks, control characters and separators.
bool Names_No_Folder(const std::string& directory) {
    return std::all_of(directory.begin(), directory.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F || c == '\\' || c == '/';
    });
}

}  // namespace

Extract_Input_Check Check_Extract_Inputs(const Extract_Inputs& inputs) {
    Extract_Input_Check check{Extract_Input_Problem::None, inputs.settings};
    Extract_Settings& settings = check.settings;
    settings.tile_width = kExtract_Tile_Size_Range.Clamp(settings.tile_width);
    settings.tile_height = kExtract_Tile_Size_Range.Clamp(settings.tile_height);
    settings.gap_horizontal = kTile_Gap_Range.Clamp(settings.gap_horizontal);
    settings.gap_vertical = kTile_Gap_Range.Clamp(settings.gap_vertical);
    if (Names_No_Folder(inputs.directory)) check.problem = Extract_Input_Problem::Directory_Blank;
    return check;
}

}  // namespace tilvane
