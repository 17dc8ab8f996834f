#pragma once
// The checks that "Make Mosaic" runs on its inputs before anything is drawn, in the order the
// user meets them. The program and the command-line tool both run them; the words for each
// problem are the shell's (shell/input_check_text.h).
#include <string>
#include <string_view>
#include <vector>

#include "mosaic/mosaic_build.h"
#include "tiles/file_names.h"

namespace tilvane {

enum class Mosaic_Input_Problem {
    None,
    Original_Blank,
    Original_Not_Bitmap,
    Original_Not_Found,
    No_Tiles,
    No_Tile_Found,       // every listed tile is missing
    Some_Tiles_Missing,  // the program asks whether to drop them and go on
    Output_Blank,
    Output_Not_Bitmap,
    Zero_Tile_Width,   // with no horizontal gap the grid would never advance
    Zero_Tile_Height,  // likewise vertically
    Output_Exists,     // the program asks whether to overwrite it
};

struct Mosaic_Input_Check {
    Mosaic_Input_Problem problem = Mosaic_Input_Problem::None;
    // The names as completed by the checks that ran; the program writes them back into its
    // fields even when a later check fails.
    std::string original;
    std::string output;
    std::vector<int> missing_tiles;  // indexes into the tile list, ascending
    int tile_count = 0;
    Picture_Formats formats = Picture_Formats::Bmp_Only;  // which names the checks let pass
};

// Runs the checks up to the first problem. A name without a directory part is taken to be in
// program_directory (which ends with a backslash, or is empty to leave names as they are).
// JPEG and PNG names pass where the settings take every format by its extension, and there an
// output name without an extension gets ".BMP" as the original's does.
[[nodiscard]] Mosaic_Input_Check Check_Mosaic_Inputs(const Mosaic_Job& inputs, std::string_view program_directory,
                                                     const tiles::Path_Exists& file_exists);

}  // namespace tilvane
