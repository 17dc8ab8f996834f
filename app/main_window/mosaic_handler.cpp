// "Make Mosaic": the page's inputs checked in order, then the build with the progress dialog.
#include <windows.h>

#include "desktop/file_system.h"
#include "kit/text.h"
#include "main_window/main_form.h"
#include "main_window/program.h"
#include "mosaic/mosaic_build.h"
#include "progress/progress_form_reporter.h"
#include "tiles/file_names.h"

namespace tilvane::app {

void TMainForm1::Connect_Mosaic_Handler() {
    Make_Mosaic_BitBtn.On_Click = [this] { Make_Mosaic_BitBtnClick(); };
}

bool TMainForm1::Check_Tiles_For_Mosaic() {
    if (tile_list_.Empty()) {
        Show_Error("Error: There are no Tiles in the list to use in the Mosaic !");
        return false;
    }
    std::vector<int> missing;
    for (int i = 0; i < tile_list_.Count(); ++i)
        if (!desktop::File_Exists(tile_list_.Item(i))) missing.push_back(i);
    const std::string count = std::to_string(missing.size());
    if (static_cast<int>(missing.size()) == tile_list_.Count()) {
        Show_Error("Error: None of the " + count + " in the Tiles List could be found !");
        return false;
    }
    if (missing.empty()) return true;
    if (!Ask("Error: " + count + " tiles in the Tiles List could not be found !  " +
             "Would you like to remove the missing tiles from the list and proceed ?"))
        return false;
    for (auto index = missing.rbegin(); index != missing.rend(); ++index) tile_list_.Delete_Item(*index);
    Tiles_ListBox.Reset(tile_list_.Count());
    return true;
}

bool TMainForm1::Check_Output_For_Mosaic() {
    if (!Check_Bitmap_File_Name(Output_File_Name_Edit, "Error: The Output File name cannot be blank.", "",
                                tiles::Bitmap_Name_Checks::New_File))
        return false;
    const Mosaic_Settings settings = Mosaic_Page_Settings();
    if (const auto problem = Grid_Problem(settings)) {
        Show_Error(*problem);
        // The width is checked first, so the message is about it whenever it cannot advance.
        (settings.Step_X() <= 0 ? Horizontal_Tile_Size_SpinEdit : Vertical_Tile_Size_SpinEdit).Focus();
        return false;
    }
    if (!desktop::File_Exists(kit::To_Utf8(Output_File_Name_Edit.Text()))) return true;
    Output_File_Name_Edit.Focus();
    return Ask("Warning: The Output File already exists.  Overwrite this file ?");
}

Mosaic_Settings TMainForm1::Mosaic_Page_Settings() const {
    return {Horizontal_Tile_Size_SpinEdit.Value(),
            Vertical_Tile_Size_SpinEdit.Value(),
            Tiles_Crop_To_Size_RadioButton.Checked() ? FittingMode::TruncateCrop : FittingMode::ExpandShrink,
            Insert_Gap_Between_Tiles_CheckBox.Checked(),
            Horizontal_Tile_Gap_SpinEdit.Value(),
            Vertical_Tile_Gap_SpinEdit.Value()};
}

void TMainForm1::Make_Mosaic_BitBtnClick() {
    if (!Check_Original_File_Name() || !Check_Tiles_For_Mosaic() || !Check_Output_For_Mosaic()) return;

    const Long_Run run(*this);
    // The build draws from the list as it stands now: the list's buttons stay usable while the
    // progress dialog lets messages through, and a removal then must not pull tiles from under
    // the build.
    const std::vector<std::string> tiles = tile_list_.Items();
    Progress_Form_Reporter progress(program_.Progress_Form);
    Build_Mosaic(kit::To_Utf8(Input_File_Name_Edit.Text()), kit::To_Utf8(Output_File_Name_Edit.Text()), tiles,
                 Mosaic_Page_Settings(), program_.Services.random, progress);
}

}  // namespace tilvane::app
