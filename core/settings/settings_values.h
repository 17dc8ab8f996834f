#pragma once
// What the settings file keeps between runs: the main window's placement and the values of both
// pages, under the names of the controls that hold them, with each key's default and range.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mosaic/mosaic_options.h"

namespace tilvane::settings {

inline constexpr std::string_view kSettings_File_Name = "Tilvane.ini";
inline constexpr std::string_view kSettings_Section = "Tilvane";

struct Settings {
    int window_top_posn = 0;
    int window_left_posn = 0;
    int window_Width = 0;
    int window_Height = 0;
    bool Always_on_Top_Option = false;
    bool Auto_Run_at_Windows_Startup_Option = false;
    bool WindowState_wsMaximized = false;
    std::string Input_File_Name_Edit;
    std::string Output_File_Name_Edit;
    bool Tiles_Crop_To_Size_RadioButton = false;
    bool Insert_Gap_Between_Tiles_CheckBox = false;
    int Horizontal_Tile_Size_SpinEdit = 0;
    int Vertical_Tile_Size_SpinEdit = 0;
    int Horizontal_Tile_Gap_SpinEdit = 0;
    int Vertical_Tile_Gap_SpinEdit = 0;
    std::string Extract_Mosaic_Bitmap_File_Name_Edit;
    int Extract_Tile_Width_SpinEdit = 0;
    int Extract_Tile_Height_SpinEdit = 0;
    int Extract_Image_Limits_RadioGroup = 0;  // the selected item, 0 to 3, or -1 for none
    std::string Extracted_Tile_Directory_Edit;
    std::string Last_Mosaic_Directory_Edit;
    std::string Last_Tile_Directory_Edit;
    // The Options menu and its "Mosaic Options ..." dialog, after every other key, each under its
    // row's key in kMosaic_Option_Rows ("Tile_Choice_Option", "Mosaic_Scale_Option", ...). The
    // grid and the fitting are the page's fields above; the placements file goes beside the mosaic.
    Mosaic_Options mosaic_options;

    bool operator==(const Settings&) const = default;
};

// Every key read from a section's "key=value" lines (see Profile_Value): a missing or unreadable
// value gives the key's default, and a number outside its range the nearest bound. No lines at
// all give the factory settings.
[[nodiscard]] Settings Read_Settings(const std::vector<std::string>& section_lines);

// The keys and their texts in the order they are written: the maximised state first, then the
// placement, the check marks and the fields. Numbers in decimal, booleans as "1" and "0".
[[nodiscard]] std::vector<std::pair<std::string_view, std::string>> Settings_Entries(const Settings& settings);

}  // namespace tilvane::settings
