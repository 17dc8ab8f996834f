// "Make Mosaic": the page's inputs checked in order, then the build with the progress dialog.
#include <windows.h>

#include "desktop/file_system.h"
#include "main_window/main_form.h"
#include "main_window/program.h"
#include "mosaic/mosaic_build.h"
#include "mosaic/mosaic_inputs.h"
#include "progress/progress_form_reporter.h"
#include "shell/input_check_text.h"
#include "win/text.h"

namespace tilvane::app {

void TMainForm1::Connect_Mosaic_Handler() {
    Make_Mosaic_BitBtn.On_Click = [this] { Make_Mosaic_BitBtnClick(); };
}

bool TMainForm1::Check_Page_For_Mosaic() {
    for (;;) {
        const Mosaic_Inputs inputs{win::To_Utf8(Input_File_Name_Edit.Text()), tile_list_.Items(),
                                   win::To_Utf8(Output_File_Name_Edit.Text()), Mosaic_Page_Settings()};
        const Mosaic_Input_Check check = Check_Mosaic_Inputs(inputs, Program_Directory(), desktop::File_Exists);
        if (check.original != inputs.original) Input_File_Name_Edit.Set_Text(win::To_Wide(check.original));
        if (check.output != inputs.output) Output_File_Name_Edit.Set_Text(win::To_Wide(check.output));
        const std::string text = shell::Mosaic_Input_Text(check);
        switch (check.problem) {
            case Mosaic_Input_Problem::None: return true;
            case Mosaic_Input_Problem::Some_Tiles_Missing:
                if (!Ask(text + std::string(shell::kRemove_Missing_Tiles_Question))) return false;
                for (auto index = check.missing_tiles.rbegin(); index != check.missing_tiles.rend(); ++index)
                    tile_list_.Delete_Item(*index);
                Tiles_ListBox.Reset(tile_list_.Count());
                continue;  // on to the checks after the tiles
            case Mosaic_Input_Problem::Output_Exists:
                Output_File_Name_Edit.Focus();
                return Ask(text + std::string(shell::kOverwrite_Question));
            default:
                Show_Error(text);
                if (kit::Control* field = Field_Of(check.problem)) field->Focus();
                return false;
        }
    }
}

kit::Control* TMainForm1::Field_Of(Mosaic_Input_Problem problem) {
    switch (problem) {
        case Mosaic_Input_Problem::Original_Blank:
        case Mosaic_Input_Problem::Original_Not_Bitmap:
        case Mosaic_Input_Problem::Original_Not_Found: return &Input_File_Name_Edit;
        case Mosaic_Input_Problem::Output_Blank:
        case Mosaic_Input_Problem::Output_Not_Bitmap: return &Output_File_Name_Edit;
        case Mosaic_Input_Problem::Zero_Tile_Width: return &Horizontal_Tile_Size_SpinEdit;
        case Mosaic_Input_Problem::Zero_Tile_Height: return &Vertical_Tile_Size_SpinEdit;
        default: return nullptr;  // the tile list's problems leave the focus where it is
    }
}

Mosaic_Settings TMainForm1::Mosaic_Page_Settings() const {
    return {{Horizontal_Tile_Size_SpinEdit.Value(), Vertical_Tile_Size_SpinEdit.Value(),
             Insert_Gap_Between_Tiles_CheckBox.Checked(), Horizontal_Tile_Gap_SpinEdit.Value(),
             Vertical_Tile_Gap_SpinEdit.Value()},
            Tiles_Crop_To_Size_RadioButton.Checked() ? Fitting_Mode::Truncate_Crop : Fitting_Mode::Expand_Shrink,
            Chosen_Tile_Choice()};
}

void TMainForm1::Make_Mosaic_BitBtnClick() {
    if (!Check_Page_For_Mosaic()) return;

    const Long_Run run(*this);
    // The build draws from the list as it stands now: the list's buttons stay usable while the
    // progress dialog lets messages through, and a removal then must not pull tiles from under
    // the build.
    const std::vector<std::string> tiles = tile_list_.Items();
    Progress_Form_Reporter progress(program_.Progress_Form);
    Build_Mosaic(win::To_Utf8(Input_File_Name_Edit.Text()), win::To_Utf8(Output_File_Name_Edit.Text()), tiles,
                 Mosaic_Page_Settings(), program_.Services.random, progress);
}

}  // namespace tilvane::app
