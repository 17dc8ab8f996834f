// The extraction page: "Extract Tiles", the preview of the first tile, the tile-size shortcut and
// the choice of the directory that the tiles go to.
#include <windows.h>

#include <filesystem>
#include <system_error>

#include "desktop/file_system.h"
#include "extract/extract_inputs.h"
#include "extract/tile_extraction.h"
#include "main_window/main_form.h"
#include "main_window/program.h"
#include "progress/progress_form_reporter.h"
#include "shell/input_check_text.h"
#include "support/native_path.h"
#include "tiles/file_names.h"
#include "win/text.h"

namespace tilvane::app {

void TMainForm1::Connect_Extract_Handlers() {
    Extract_Mosaic_Tiles_BitBtn.On_Click = [this] { Extract_Mosaic_Tiles_BitBtnClick(); };
    Test_Show_Image_Preview_BitBtn.On_Click = [this] { Test_Show_Image_Preview_BitBtnClick(); };
    Extract_Mosaic_Bitmap_File_Name_Edit.On_Change = [this] { Extract_Mosaic_Bitmap_File_Name_EditChange(); };
    Extract_Tile_Width_SpinEdit.On_Change = [this] { Extract_Tile_Width_SpinEditChange(); };
    Extract_Tile_Height_SpinEdit.On_Change = [this] { Extract_Tile_Height_SpinEditChange(); };
    Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtn.On_Click = [this] {
        Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtnClick();
    };
    Extracted_Tile_Directory_SpeedButton.On_Click = [this] { Extracted_Tile_Directory_SpeedButtonClick(); };
}

Extract_Settings TMainForm1::Extract_Page_Settings() const {
    Extract_Settings settings;
    settings.tile_width = Extract_Tile_Width_SpinEdit.Value();
    settings.tile_height = Extract_Tile_Height_SpinEdit.Value();
    settings.gap = Extract_Gap_Between_Tiles_CheckBox.Checked();
    settings.gap_horizontal = Extract_Horizontal_Tile_Gap_SpinEdit.Value();
    settings.gap_vertical = Extract_Vertical_Tile_Gap_SpinEdit.Value();
    settings.limit = Extract_Limit_From_Index(Extract_Image_Limits_RadioGroup.Item_Index());
    return settings;
}

void TMainForm1::Extract_Mosaic_Tiles_BitBtnClick() {
    const std::string directory = tiles::Normalise_Directory_Name(win::To_Utf8(Extracted_Tile_Directory_Edit.Text()));
    Extracted_Tile_Directory_Edit.Set_Text(win::To_Wide(directory));
    // Bare tile names would land in whatever folder the program was started in, thousands of
    // them, maybe the system's own; a field of blanks comes out as the drive's root.
    const Extract_Input_Problem problem = Check_Extract_Inputs(directory);
    if (problem != Extract_Input_Problem::None) {
        Show_Error(shell::Extract_Input_Text(problem));
        Extracted_Tile_Directory_Edit.Focus();
        return;
    }
    const Long_Run run(*this);
    // The page stays usable while the progress dialog lets messages through; the run keeps the
    // grid it started with.
    Progress_Form_Reporter progress(program_.Progress_Form);
    Extract_Tiles(win::To_Utf8(Extract_Mosaic_Bitmap_File_Name_Edit.Text()), directory, Extract_Page_Settings(), progress);
}

void TMainForm1::Test_Show_Image_Preview_BitBtnClick() {
    if (!Check_Bitmap_File_Name(Extract_Mosaic_Bitmap_File_Name_Edit, "Error: The Mosaic File name cannot be blank.",
                                "Error: The Mosaic File name does NOT exist.", tiles::Bitmap_Name_Checks::Existing_File))
        return;
    Extract_Tile_Width_SpinEditChange();
    Extract_Tile_Height_SpinEditChange();
    Extract_Tile_Preview_Image.Load_File(win::To_Utf8(Extract_Mosaic_Bitmap_File_Name_Edit.Text()));
}

void TMainForm1::Extract_Mosaic_Bitmap_File_Name_EditChange() {
    Extract_Tile_Width_SpinEditChange();
    Extract_Tile_Height_SpinEditChange();
    // Any picture the box can show, not only bitmaps; a name of no file keeps the last picture.
    const std::string name = win::To_Utf8(Extract_Mosaic_Bitmap_File_Name_Edit.Text());
    if (desktop::File_Exists(name)) Extract_Tile_Preview_Image.Load_File(name);
}

void TMainForm1::Extract_Tile_Width_SpinEditChange() {
    kit::Bounds box = Extract_Tile_Preview_Image.Get_Bounds();
    box.width = Extract_Tile_Width_SpinEdit.Value();
    Extract_Tile_Preview_Image.Set_Bounds(box);
}

void TMainForm1::Extract_Tile_Height_SpinEditChange() {
    kit::Bounds box = Extract_Tile_Preview_Image.Get_Bounds();
    box.height = Extract_Tile_Height_SpinEdit.Value();
    Extract_Tile_Preview_Image.Set_Bounds(box);
}

void TMainForm1::Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtnClick() {
    // The size fields hold kExtract_Tile_Size_Range, so a mosaic tile size of 0 arrives as 1.
    Extract_Tile_Width_SpinEdit.Set_Value(Horizontal_Tile_Size_SpinEdit.Value());
    Extract_Tile_Height_SpinEdit.Set_Value(Vertical_Tile_Size_SpinEdit.Value());
}

void TMainForm1::Extracted_Tile_Directory_SpeedButtonClick() {
    const std::string start =
        tiles::Usable_Last_Directory(win::To_Utf8(Last_Tile_Directory_Edit), Program_Directory(), desktop::Directory_Exists);
    const std::optional<std::wstring> chosen = program_.Services.picker.Choose_Folder(
        Handle(), {L"Select the target directory for the extracted tiles", win::To_Wide(start),
                   [this](const std::wstring& directory) { return Create_Missing_Directory(directory); }});
    if (!chosen) return;
    const std::wstring directory = win::To_Wide(tiles::Normalise_Directory_Name(win::To_Utf8(*chosen)));
    Extracted_Tile_Directory_Edit.Set_Text(directory);
    Last_Tile_Directory_Edit = directory;
}

bool TMainForm1::Create_Missing_Directory(const std::wstring& directory) {
    const std::string name = win::To_Utf8(directory);
    if (!Ask("The Directory " + name + " does not exist.  Create this directory ?")) return false;
    std::error_code error;
    std::filesystem::create_directories(Native_Path(name), error);
    if (desktop::Directory_Exists(name)) return true;
    Show_Error("Error: The Directory " + name + " could not be created.");
    return false;
}

}  // namespace tilvane::app
