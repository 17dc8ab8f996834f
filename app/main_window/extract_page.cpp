// The extraction page: "Extract Tiles", the preview of the first tile, the tile-size shortcut and
// the choice of the directory that the tiles go to.
#include "main_window/extract_page.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

#include "desktop/file_system.h"
#include "extract/extract_inputs.h"
#include "extract/tile_extraction.h"
#include "main_window/number_fields.h"
#include "main_window/page_layout.h"
#include "progress/progress_form_reporter.h"
#include "settings/settings_values.h"
#include "shell/input_check_text.h"
#include "support/native_path.h"
#include "tiles/file_names.h"
#include "win/text.h"

namespace tilvane::app {
Extract_Page::Extract_Page(kit::Tab_Control& tabs, const Services& services)
    : Extract_TabSheet(tabs, {"Extract_TabSheet", {}, L" Extract Images from an Existing  Mosaic "}),
      Extract_Mosaic_GroupBox(Extract_TabSheet,
                              Step("Extract_Mosaic_GroupBox", 2, 50, L" Step 1 - Select the Mosaic's File Name : ")),
      Extract_Mosaic_Bitmap_File_Name_Edit(Extract_Mosaic_GroupBox,
                                           {"Extract_Mosaic_Bitmap_File_Name_Edit", {10, 20, 455, 23}}),
      Extract_Mosaic_Bitmap_File_Name_SpeedButton(Extract_Mosaic_GroupBox,
                                                  {"Extract_Mosaic_Bitmap_File_Name_SpeedButton", {469, 19, 30, 25},
                                                   L"...", L"Select the Mosaic"}),
      View_Mosaic_2_SpeedButton(Extract_Mosaic_GroupBox,
                                {"View_Mosaic_2_SpeedButton", {503, 19, 50, 25}, L"View", L"View the mosaic image"}),
      Extract_Tile_Size_GroupBox(Extract_TabSheet, Step("Extract_Tile_Size_GroupBox", 54, 104,
                                                        L" Step 2 - Specify the Tile Size (in pixels) : ")),
      Extract_Tile_Width_Label(Extract_Tile_Size_GroupBox, {"Extract_Tile_Width_Label", {10, 25, 84, 20}, L"Tile Width :"}),
      Extract_Tile_Width_SpinEdit(Extract_Tile_Size_GroupBox, {"Extract_Tile_Width_SpinEdit", {96, 22, 60, 23}},
                                  kExtract_Tile_Size_Range.minimum, kExtract_Tile_Size_Range.maximum),
      Extract_Tile_Height_Label(Extract_Tile_Size_GroupBox,
                                {"Extract_Tile_Height_Label", {10, 61, 84, 20}, L"Tile Height :"}),
      Extract_Tile_Height_SpinEdit(Extract_Tile_Size_GroupBox, {"Extract_Tile_Height_SpinEdit", {96, 58, 60, 23}},
                                   kExtract_Tile_Size_Range.minimum, kExtract_Tile_Size_Range.maximum),
      Test_Show_Image_Preview_BitBtn(Extract_Tile_Size_GroupBox,
                                     {"Test_Show_Image_Preview_BitBtn", {168, 21, 90, 25}, L"Test / Show"}),
      Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtn(
          Extract_Tile_Size_GroupBox,
          {"Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtn", {168, 57, 90, 25}, L"Set Select",
           L"Set the tile size to the current Mosaic Tile Size, in Step 3 on \"Make a New Mosaic\" tab."}),
      Extract_Tile_Preview_Image(Extract_Tile_Size_GroupBox, {"Extract_Tile_Preview_Image", {272, 20, 80, 76}}),
      Extract_Tile_Gap_GroupBox(Extract_TabSheet,
                                Step("Extract_Tile_Gap_GroupBox", 160, 50,
                                     L" Step 3 - Allow for a Gap (in pixels) between the Tiles in the Mosaic : ")),
      Extract_Gap_Between_Tiles_CheckBox(Extract_Tile_Gap_GroupBox, {"Extract_Gap_Between_Tiles_CheckBox",
                                                                     {10, 22, 240, 20}, L"Allow a Gap between Mosaic Tiles"}),
      Extract_Horizontal_Tile_Gap_Label(Extract_Tile_Gap_GroupBox,
                                        {"Extract_Horizontal_Tile_Gap_Label", {256, 23, 80, 20}, L"Horizontal :"}),
      Extract_Horizontal_Tile_Gap_SpinEdit(Extract_Tile_Gap_GroupBox,
                                           {"Extract_Horizontal_Tile_Gap_SpinEdit", {338, 20, 60, 23}},
                                           kTile_Gap_Range.minimum, kTile_Gap_Range.maximum),
      Extract_Vertical_Tile_Gap_Label(Extract_Tile_Gap_GroupBox,
                                      {"Extract_Vertical_Tile_Gap_Label", {410, 23, 64, 20}, L"Vertical :"}),
      Extract_Vertical_Tile_Gap_SpinEdit(Extract_Tile_Gap_GroupBox,
                                         {"Extract_Vertical_Tile_Gap_SpinEdit", {476, 20, 60, 23}},
                                         kTile_Gap_Range.minimum, kTile_Gap_Range.maximum),
      Extract_Image_Limits_RadioGroup(Extract_TabSheet,
                                      Step("Extract_Image_Limits_RadioGroup", 212, 102,
                                           L" Step 4 - Extract Tile Processing Limits : "),
                                      {L"Extract the first image only.  i.e. at row 1, column 1.",
                                       L"Extract all images from the first row only.",
                                       L"Extract all images from the first column only.",
                                       L"Extract all images from all rows and columns."}),
      Extracted_Tile_Directory_GroupBox(
          Extract_TabSheet, Step("Extracted_Tile_Directory_GroupBox", 316, 50,
                                 L" Step 5 - Specify the Directory to hold the Extracted Tiles : ")),
      Extracted_Tile_Directory_Edit(Extracted_Tile_Directory_GroupBox, {"Extracted_Tile_Directory_Edit", {10, 20, 489, 23}}),
      Extracted_Tile_Directory_SpeedButton(Extracted_Tile_Directory_GroupBox,
                                           {"Extracted_Tile_Directory_SpeedButton", {503, 19, 50, 25}, L"...",
                                            L"Select the target directory for the extracted tiles"}),
      BitBtn1(Extract_TabSheet, {"BitBtn1", {kHelp_Left, kButton_Top, kButton_Width, kButton_Height}, L"Help", kHelp_Hint}),
      Extract_Mosaic_Tiles_BitBtn(Extract_TabSheet,
                                  {"Extract_Mosaic_Tiles_BitBtn", {kAction_Left, kButton_Top, kButton_Width, kButton_Height},
                                   L"Extract Tiles", L"Extract the Tiles from the Mosaic"}),
      Exit_BitBtn2(Extract_TabSheet,
                   {"Exit_BitBtn2", {kExit_Left, kButton_Top, kButton_Width, kButton_Height}, L"Exit", kExit_Hint}),
      file_fields_(services.file_fields),
      progress_form_(services.progress_form),
      long_runs_(services.long_runs),
      mosaic_tile_size_(services.mosaic_tile_size) {
    Extract_Image_Limits_RadioGroup.Set_Item_Index(3);
    // Never kept in the settings file: every run starts with no extraction gap.
    Extract_Horizontal_Tile_Gap_SpinEdit.Set_Value(0);
    Extract_Vertical_Tile_Gap_SpinEdit.Set_Value(0);
    Extract_Mosaic_Bitmap_File_Name_SpeedButton.On_Click = [this] { Extract_Mosaic_Bitmap_File_Name_SpeedButtonClick(); };
    View_Mosaic_2_SpeedButton.On_Click = [this] { View_Mosaic_2_SpeedButtonClick(); };
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

void Extract_Page::Load_Settings(const settings::Settings& settings) {
    Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(win::To_Wide(settings.Extract_Mosaic_Bitmap_File_Name_Edit));
    Extract_Tile_Width_SpinEdit.Set_Value(settings.Extract_Tile_Width_SpinEdit);
    Extract_Tile_Height_SpinEdit.Set_Value(settings.Extract_Tile_Height_SpinEdit);
    Extract_Image_Limits_RadioGroup.Set_Item_Index(settings.Extract_Image_Limits_RadioGroup);
    Extracted_Tile_Directory_Edit.Set_Text(win::To_Wide(settings.Extracted_Tile_Directory_Edit));
}

void Extract_Page::Save_Settings(settings::Settings& settings) const {
    settings.Extract_Mosaic_Bitmap_File_Name_Edit = win::To_Utf8(Extract_Mosaic_Bitmap_File_Name_Edit.Text());
    settings.Extract_Tile_Width_SpinEdit = Extract_Tile_Width_SpinEdit.Value();
    settings.Extract_Tile_Height_SpinEdit = Extract_Tile_Height_SpinEdit.Value();
    settings.Extract_Image_Limits_RadioGroup = Extract_Image_Limits_RadioGroup.Item_Index();
    settings.Extracted_Tile_Directory_Edit = win::To_Utf8(Extracted_Tile_Directory_Edit.Text());
}

void Extract_Page::Extract_Mosaic_Bitmap_File_Name_SpeedButtonClick() {
    // The mosaic to cut is picked under the original picture's title.
    file_fields_.Choose_Single_File(Extract_Mosaic_Bitmap_File_Name_Edit, kOriginal_Picture_Title,
                                    kExisting_File_Options);
}

void Extract_Page::View_Mosaic_2_SpeedButtonClick() {
    file_fields_.View_File(Extract_Mosaic_Bitmap_File_Name_Edit,
                           "Error: The Mosaic file name is blank or the file does not exist.");
}

Extract_Settings Extract_Page::Extract_Page_Settings() const {
    Extract_Settings settings;
    settings.tile_width = Extract_Tile_Width_SpinEdit.Value();
    settings.tile_height = Extract_Tile_Height_SpinEdit.Value();
    settings.gap = Extract_Gap_Between_Tiles_CheckBox.Checked();
    settings.gap_horizontal = Extract_Horizontal_Tile_Gap_SpinEdit.Value();
    settings.gap_vertical = Extract_Vertical_Tile_Gap_SpinEdit.Value();
    settings.limit = Extract_Limit_From_Index(Extract_Image_Limits_RadioGroup.Item_Index());
    return settings;
}

bool Extract_Page::Check_Tile_Size_Fields() {
    return Check_Number_Fields(Window(), {{Extract_Tile_Width_SpinEdit, "Tile Width"},
                                          {Extract_Tile_Height_SpinEdit, "Tile Height"}});
}

void Extract_Page::Extract_Mosaic_Tiles_BitBtnClick() {
    if (!Check_Tile_Size_Fields()) return;
    if (Extract_Gap_Between_Tiles_CheckBox.Checked() &&
        !Check_Number_Fields(Window(), {{Extract_Horizontal_Tile_Gap_SpinEdit, "horizontal Gap"},
                                        {Extract_Vertical_Tile_Gap_SpinEdit, "vertical Gap"}}))
        return;
    const std::string directory = tiles::Normalise_Directory_Name(win::To_Utf8(Extracted_Tile_Directory_Edit.Text()));
    Extracted_Tile_Directory_Edit.Set_Text(win::To_Wide(directory));
    // Bare tile names would land in whatever folder the program was started in, thousands of
    // them, maybe the system's own; a field of blanks comes out as the drive's root.
    const Extract_Input_Problem problem = Check_Extract_Inputs(directory);
    if (problem != Extract_Input_Problem::None) {
        Window().Show_Error(shell::Extract_Input_Text(problem));
        Extracted_Tile_Directory_Edit.Focus();
        return;
    }
    const Long_Runs::Run run(long_runs_);
    // The page stays usable while the progress dialog lets messages through; the run keeps the
    // grid it started with.
    Progress_Form_Reporter progress(progress_form_);
    Extract_Tiles(win::To_Utf8(Extract_Mosaic_Bitmap_File_Name_Edit.Text()), directory, Extract_Page_Settings(), progress,
                  file_fields_.Formats());
}

void Extract_Page::Test_Show_Image_Preview_BitBtnClick() {
    if (!file_fields_.Check_Bitmap_File_Name(Extract_Mosaic_Bitmap_File_Name_Edit, "Error: The Mosaic File name cannot be blank.",
                                "Error: The Mosaic File name does NOT exist.", tiles::Bitmap_Name_Checks::Existing_File))
        return;
    if (!Check_Tile_Size_Fields()) return;
    Extract_Tile_Width_SpinEditChange();
    Extract_Tile_Height_SpinEditChange();
    Extract_Tile_Preview_Image.Load_File(win::To_Utf8(Extract_Mosaic_Bitmap_File_Name_Edit.Text()), file_fields_.Formats());
}

void Extract_Page::Extract_Mosaic_Bitmap_File_Name_EditChange() {
    Extract_Tile_Width_SpinEditChange();
    Extract_Tile_Height_SpinEditChange();
    // Any picture the box can show, not only bitmaps; a name of no file keeps the last picture.
    const std::string name = win::To_Utf8(Extract_Mosaic_Bitmap_File_Name_Edit.Text());
    if (desktop::File_Exists(name)) Extract_Tile_Preview_Image.Load_File(name, file_fields_.Formats());
}

void Extract_Page::Extract_Tile_Width_SpinEditChange() {
    kit::Bounds box = Extract_Tile_Preview_Image.Get_Bounds();
    box.width = Extract_Tile_Width_SpinEdit.Value();
    Extract_Tile_Preview_Image.Set_Bounds(box);
}

void Extract_Page::Extract_Tile_Height_SpinEditChange() {
    kit::Bounds box = Extract_Tile_Preview_Image.Get_Bounds();
    box.height = Extract_Tile_Height_SpinEdit.Value();
    Extract_Tile_Preview_Image.Set_Bounds(box);
}

void Extract_Page::Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtnClick() {
    // The size fields hold kExtract_Tile_Size_Range, so a mosaic tile size of 0 arrives as 1.
    const auto [width, height] = mosaic_tile_size_();
    Extract_Tile_Width_SpinEdit.Set_Value(width);
    Extract_Tile_Height_SpinEdit.Set_Value(height);
}

void Extract_Page::Extracted_Tile_Directory_SpeedButtonClick() {
    const std::optional<std::string> chosen = file_fields_.Choose_Tile_Directory(
        Window().Handle(), L"Select the target directory for the extracted tiles",
        [this](const std::wstring& directory) { return Create_Missing_Directory(directory); });
    if (chosen) Extracted_Tile_Directory_Edit.Set_Text(win::To_Wide(*chosen));
}

bool Extract_Page::Create_Missing_Directory(const std::wstring& directory) {
    const std::string name = win::To_Utf8(directory);
    if (!Window().Ask("The Directory " + name + " does not exist.  Create this directory ?")) return false;
    std::error_code error;
    std::filesystem::create_directories(Native_Path(name), error);
    if (desktop::Directory_Exists(name)) return true;
    Window().Show_Error("Error: The Directory " + name + " could not be created.");
    return false;
}

}  // namespace tilvane::app
