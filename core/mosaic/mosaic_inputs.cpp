#include "mosaic/mosaic_inputs.h"

namespace tilvane {

Mosaic_Input_Check Check_Mosaic_Inputs(const Mosaic_Job& inputs, std::string_view program_directory,
                                       const tiles::Path_Exists& file_exists) {
    using enum Mosaic_Input_Problem;
    using tiles::Bitmap_Name_Outcome;
    Mosaic_Input_Check check{None, inputs.original, inputs.output, {}, static_cast<int>(inputs.tiles.size()),
                             inputs.settings.formats};
    const auto stop = [&](Mosaic_Input_Problem problem) {
        check.problem = problem;
        return check;
    };
    const tiles::Bitmap_Name_Result original =
        tiles::Check_Bitmap_Name(inputs.original, program_directory, file_exists, tiles::Bitmap_Name_Checks::Existing_File,
                                 inputs.settings.formats);
    check.original = original.name;
    switch (original.outcome) {
        case Bitmap_Name_Outcome::Ok: break;
        case Bitmap_Name_Outcome::Blank: return stop(Original_Blank);
        case Bitmap_Name_Outcome::Not_Bitmap: return stop(Original_Not_Bitmap);
        case Bitmap_Name_Outcome::Not_Found: return stop(Original_Not_Found);
    }

    if (inputs.tiles.empty()) return stop(No_Tiles);
    for (int i = 0; i < check.tile_count; ++i)
        if (!file_exists(inputs.tiles[static_cast<std::size_t>(i)])) check.missing_tiles.push_back(i);
    if (static_cast<int>(check.missing_tiles.size()) == check.tile_count) return stop(No_Tile_Found);
    if (!check.missing_tiles.empty()) return stop(Some_Tiles_Missing);

    const tiles::Bitmap_Name_Result output =
        tiles::Check_Bitmap_Name(inputs.output, program_directory, file_exists, tiles::Bitmap_Name_Checks::New_File,
                                 inputs.settings.formats);
    check.output = output.name;
    if (output.outcome == Bitmap_Name_Outcome::Blank) return stop(Output_Blank);
    if (output.outcome == Bitmap_Name_Outcome::Not_Bitmap) return stop(Output_Not_Bitmap);

    if (inputs.settings.Step_X() <= 0) return stop(Zero_Tile_Width);
    if (inputs.settings.Step_Y() <= 0) return stop(Zero_Tile_Height);
    if (file_exists(check.output)) return stop(Output_Exists);
    return check;
}

}  // namespace tilvane
