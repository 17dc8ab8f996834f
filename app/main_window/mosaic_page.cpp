// The mosaic page: its image file names, the tile list and its file, and "Make Mosaic" with its
// input checks and the build under the progress dialog.
#include "main_window/mosaic_page.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "desktop/file_system.h"
#include "image/raster_image.h"
#include "main_window/number_fields.h"
#include "main_window/page_layout.h"
#include "mosaic/mosaic_build.h"
#include "progress/progress_form_reporter.h"
#include "settings/settings_values.h"
#include "shell/error_report.h"
#include "shell/input_check_text.h"
#include "shell/picture_format_text.h"
#include "support/error.h"
#include "tiles/file_names.h"
#include "tiles/folder_tiles.h"
#include "tiles/tile_list_file.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

constexpr wchar_t kOutput_Mosaic_Title[] = L"Select Output Mosaic File :";

}  // namespace

Mosaic_Page::Mosaic_Page(kit::Tab_Control& tabs, const Services& services)
    : Mosaic_TabSheet(tabs, {"Mosaic_TabSheet", {}, L" Make a New Mosaic     "}),
      Original_Image_GroupBox(Mosaic_TabSheet, Step("Original_Image_GroupBox", 2, 50,
                                                    L" Step 1 - Select the Original Image File Name : ")),
      Input_File_Name_Edit(Original_Image_GroupBox, {"Input_File_Name_Edit", {10, 20, 455, 23}}),
      Input_File_Name_SpeedButton(Original_Image_GroupBox, {"Input_File_Name_SpeedButton", {469, 19, 30, 25}, L"...",
                                                            L"Select the original image"}),
      View_Original_Image_SpeedButton(Original_Image_GroupBox, {"View_Original_Image_SpeedButton", {503, 19, 50, 25},
                                                                L"View", L"View the original image"}),
      Tile_List_GroupBox(Mosaic_TabSheet, Step("Tile_List_GroupBox", 54, 128,
                                               L" Step 2 - List of Tiles to use to make the Mosaic : ")),
      Tiles_ListBox(Tile_List_GroupBox, {"Tiles_ListBox", {10, 20, 420, 100}}),
      Add_Original_Picture_To_Tile_List_SpeedButton(
          Tile_List_GroupBox, {"Add_Original_Picture_To_Tile_List_SpeedButton", {438, 20, 115, 23}, L"Add Original",
                               L"Add the Original Image to the list of tiles"}),
      Add_Selected_Tiles_To_List_SpeedButton(Tile_List_GroupBox, {"Add_Selected_Tiles_To_List_SpeedButton",
                                                                  {438, 45, 115, 23}, L"Add Tiles ...", L"Add tiles"}),
      Delete_Selected_Tiles_From_List_SpeedButton(
          Tile_List_GroupBox, {"Delete_Selected_Tiles_From_List_SpeedButton", {438, 70, 115, 23}, L"Remove",
                               L"Remove selected tile(s)"}),
      Reset_Tile_List_SpeedButton(Tile_List_GroupBox, {"Reset_Tile_List_SpeedButton", {438, 95, 115, 23},
                                                       L"Remove All", L"Remove all tiles from the list"}),
      Tile_Size_GroupBox(Mosaic_TabSheet,
                         Step("Tile_Size_GroupBox", 184, 78, L" Step 3 - Specify the Tile Size (in pixels) : ")),
      Horizontal_Tile_Size_Label(Tile_Size_GroupBox, {"Horizontal_Tile_Size_Label", {10, 23, 80, 20}, L"Tile Width :"}),
      Horizontal_Tile_Size_SpinEdit(Tile_Size_GroupBox, {"Horizontal_Tile_Size_SpinEdit", {92, 20, 60, 23}},
                                    kMosaic_Tile_Size_Range.minimum, kMosaic_Tile_Size_Range.maximum),
      Vertical_Tile_Size_Label(Tile_Size_GroupBox, {"Vertical_Tile_Size_Label", {164, 23, 84, 20}, L"Tile Height :"}),
      Vertical_Tile_Size_SpinEdit(Tile_Size_GroupBox, {"Vertical_Tile_Size_SpinEdit", {250, 20, 60, 23}},
                                  kMosaic_Tile_Size_Range.minimum, kMosaic_Tile_Size_Range.maximum),
      Set_Height_Width_To_Selected_Tile_BitBtn(
          Tile_Size_GroupBox,
          {"Set_Height_Width_To_Selected_Tile_BitBtn", {324, 19, 90, 25}, L"Set Select",
           L"Set the tile size to the actual size of the currently selected tile (in the list above)."}),
      Tiles_Shrink_Expand_To_Size_RadioButton(
          Tile_Size_GroupBox,
          {"Tiles_Shrink_Expand_To_Size_RadioButton", {10, 50, 265, 20}, L"Expand / Shrink Tiles to specified size"},
          true),
      Tiles_Crop_To_Size_RadioButton(
          Tile_Size_GroupBox,
          {"Tiles_Crop_To_Size_RadioButton", {280, 50, 275, 20}, L"Truncate / Crop tiles to specified size"}, false),
      Tile_Gap_GroupBox(Mosaic_TabSheet, Step("Tile_Gap_GroupBox", 264, 50,
                                              L" Step 4 - Allow for a Gap (in pixels) between the Mosaic Tiles : ")),
      Insert_Gap_Between_Tiles_CheckBox(Tile_Gap_GroupBox, {"Insert_Gap_Between_Tiles_CheckBox", {10, 22, 240, 20},
                                                            L"Leave a Gap between Mosaic Tiles"}),
      Horizontal_Tile_Gap_Label(Tile_Gap_GroupBox, {"Horizontal_Tile_Gap_Label", {256, 23, 80, 20}, L"Horizontal :"}),
      Horizontal_Tile_Gap_SpinEdit(Tile_Gap_GroupBox, {"Horizontal_Tile_Gap_SpinEdit", {338, 20, 60, 23}},
                                   kTile_Gap_Range.minimum, kTile_Gap_Range.maximum),
      Vertical_Tile_Gap_Label(Tile_Gap_GroupBox, {"Vertical_Tile_Gap_Label", {410, 23, 64, 20}, L"Vertical :"}),
      Vertical_Tile_Gap_SpinEdit(Tile_Gap_GroupBox, {"Vertical_Tile_Gap_SpinEdit", {476, 20, 60, 23}},
                                 kTile_Gap_Range.minimum, kTile_Gap_Range.maximum),
      Output_File_GroupBox(Mosaic_TabSheet,
                           Step("Output_File_GroupBox", 316, 50, L" Step 5 - Specify the Mosaic's File Name : ")),
      Output_File_Name_Edit(Output_File_GroupBox, {"Output_File_Name_Edit", {10, 20, 455, 23}}),
      Output_File_Name_SpeedButton(Output_File_GroupBox, {"Output_File_Name_SpeedButton", {469, 19, 30, 25}, L"...",
                                                          L"Select the Mosaic's file name"}),
      View_Mosaic_SpeedButton(Output_File_GroupBox,
                              {"View_Mosaic_SpeedButton", {503, 19, 50, 25}, L"View", L"View the mosaic image"}),
      Help_BitBtn(Mosaic_TabSheet, {"Help_BitBtn", {kHelp_Left, kButton_Top, kButton_Width, kButton_Height}, L"Help",
                                    kHelp_Hint}),
      Make_Mosaic_BitBtn(Mosaic_TabSheet, {"Make_Mosaic_BitBtn", {kAction_Left, kButton_Top, kButton_Width, kButton_Height},
                                           L"Make Mosaic", L"Build a Mosaic based on the above settings"}),
      Exit_BitBtn(Mosaic_TabSheet,
                  {"Exit_BitBtn", {kExit_Left, kButton_Top, kButton_Width, kButton_Height}, L"Exit", kExit_Hint}),
      Tiles_PopupMenu(Tiles_ListBox),
      file_fields_(services.file_fields),
      random_(services.random),
      progress_form_(services.progress_form),
      long_runs_(services.long_runs),
      tile_list_(desktop::Locale_Sort_Key) {
    Tiles_Shrink_Expand_To_Size_RadioButton.Set_Checked(true);
    Input_File_Name_SpeedButton.On_Click = [this] { Input_File_Name_SpeedButtonClick(); };
    Output_File_Name_SpeedButton.On_Click = [this] { Output_File_Name_SpeedButtonClick(); };
    View_Original_Image_SpeedButton.On_Click = [this] { View_Original_Image_SpeedButtonClick(); };
    View_Mosaic_SpeedButton.On_Click = [this] { View_Mosaic_SpeedButtonClick(); };
    Make_Mosaic_BitBtn.On_Click = [this] { Make_Mosaic_BitBtnClick(); };
    Tiles_ListBox.Item_Text = [this](int index) { return win::To_Wide(tile_list_.Item(index)); };
    Add_Original_Picture_To_Tile_List_SpeedButton.On_Click = [this] {
        Add_Original_Picture_To_Tile_List_SpeedButtonClick();
    };
    Add_Selected_Tiles_To_List_SpeedButton.On_Click = [this] { Add_Selected_Tiles_To_List_SpeedButtonClick(); };
    Delete_Selected_Tiles_From_List_SpeedButton.On_Click = [this] {
        Delete_Selected_Tiles_From_List_SpeedButtonClick();
    };
    Reset_Tile_List_SpeedButton.On_Click = [this] { Reset_Tile_List_SpeedButtonClick(); };
    Set_Height_Width_To_Selected_Tile_BitBtn.On_Click = [this] { Set_Height_Width_To_Selected_Tile_BitBtnClick(); };
    Tiles_PopupMenu.Add(L"Add &Original", [this] { Add_Original_Picture_To_Tile_List_SpeedButtonClick(); });
    Tiles_PopupMenu.Add(L"Add &Tiles ...", [this] { Add_Selected_Tiles_To_List_SpeedButtonClick(); });
    Tiles_PopupMenu.Add(L"Add &Folder ...", [this] { Add_Folder_To_Tile_List_OptionClick(); });
    Tiles_PopupMenu.Add({});
    Tiles_PopupMenu.Add(L"&Remove", [this] { Delete_Selected_Tiles_From_List_SpeedButtonClick(); });
    Tiles_PopupMenu.Add(L"Remove &All", [this] { Reset_Tile_List_SpeedButtonClick(); });
}

void Mosaic_Page::Load_Settings(const settings::Settings& settings) {
    Input_File_Name_Edit.Set_Text(win::To_Wide(settings.Input_File_Name_Edit));
    Output_File_Name_Edit.Set_Text(win::To_Wide(settings.Output_File_Name_Edit));
    Tiles_Crop_To_Size_RadioButton.Set_Checked(settings.Tiles_Crop_To_Size_RadioButton);
    Tiles_Shrink_Expand_To_Size_RadioButton.Set_Checked(!settings.Tiles_Crop_To_Size_RadioButton);
    Insert_Gap_Between_Tiles_CheckBox.Set_Checked(settings.Insert_Gap_Between_Tiles_CheckBox);
    Horizontal_Tile_Size_SpinEdit.Set_Value(settings.Horizontal_Tile_Size_SpinEdit);
    Vertical_Tile_Size_SpinEdit.Set_Value(settings.Vertical_Tile_Size_SpinEdit);
    Horizontal_Tile_Gap_SpinEdit.Set_Value(settings.Horizontal_Tile_Gap_SpinEdit);
    Vertical_Tile_Gap_SpinEdit.Set_Value(settings.Vertical_Tile_Gap_SpinEdit);
}

void Mosaic_Page::Save_Settings(settings::Settings& settings) const {
    settings.Input_File_Name_Edit = win::To_Utf8(Input_File_Name_Edit.Text());
    settings.Output_File_Name_Edit = win::To_Utf8(Output_File_Name_Edit.Text());
    settings.Tiles_Crop_To_Size_RadioButton = Tiles_Crop_To_Size_RadioButton.Checked();
    settings.Insert_Gap_Between_Tiles_CheckBox = Insert_Gap_Between_Tiles_CheckBox.Checked();
    settings.Horizontal_Tile_Size_SpinEdit = Horizontal_Tile_Size_SpinEdit.Value();
    settings.Vertical_Tile_Size_SpinEdit = Vertical_Tile_Size_SpinEdit.Value();
    settings.Horizontal_Tile_Gap_SpinEdit = Horizontal_Tile_Gap_SpinEdit.Value();
    settings.Vertical_Tile_Gap_SpinEdit = Vertical_Tile_Gap_SpinEdit.Value();
}

void Mosaic_Page::Input_File_Name_SpeedButtonClick() {
    file_fields_.Choose_Single_File(Input_File_Name_Edit, kOriginal_Picture_Title, kExisting_File_Options);
}

void Mosaic_Page::Output_File_Name_SpeedButtonClick() {
    file_fields_.Choose_Single_File(Output_File_Name_Edit, kOutput_Mosaic_Title, OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT);
}

void Mosaic_Page::View_Original_Image_SpeedButtonClick() {
    file_fields_.View_File(Input_File_Name_Edit,
                           "Error: The Original Image file name is blank or the file does not exist.");
}

void Mosaic_Page::View_Mosaic_SpeedButtonClick() {
    file_fields_.View_File(Output_File_Name_Edit, "Error: The Output file name is blank or the file does not exist.");
}

bool Mosaic_Page::Check_Original_File_Name() {
    return file_fields_.Check_Bitmap_File_Name(Input_File_Name_Edit, shell::kOriginal_Blank_Message,
                                               shell::kOriginal_Not_Found_Message,
                                               tiles::Bitmap_Name_Checks::Existing_File);
}

bool Mosaic_Page::Check_Size_Fields() {
    // The gaps count only while the gap box is ticked.
    const bool gaps = Insert_Gap_Between_Tiles_CheckBox.Checked();
    return Check_Number_Fields(Window(), {{Horizontal_Tile_Size_SpinEdit, "Tile Width"},
                                          {Vertical_Tile_Size_SpinEdit, "Tile Height"}}) &&
           (!gaps || Check_Number_Fields(Window(), {{Horizontal_Tile_Gap_SpinEdit, "horizontal Gap"},
                                                    {Vertical_Tile_Gap_SpinEdit, "vertical Gap"}}));
}

bool Mosaic_Page::Check_Page_For_Mosaic() {
    if (!Check_Size_Fields()) return false;
    for (;;) {
        const Mosaic_Job inputs{win::To_Utf8(Input_File_Name_Edit.Text()), tile_list_.Items(),
                                   win::To_Utf8(Output_File_Name_Edit.Text()), Mosaic_Page_Settings()};
        const Mosaic_Input_Check check = Check_Mosaic_Inputs(inputs, file_fields_.Program_Directory(), desktop::File_Exists);
        if (check.original != inputs.original) Input_File_Name_Edit.Set_Text(win::To_Wide(check.original));
        if (check.output != inputs.output) Output_File_Name_Edit.Set_Text(win::To_Wide(check.output));
        const std::string text = shell::Mosaic_Input_Text(check);
        switch (check.problem) {
            case Mosaic_Input_Problem::None: return true;
            case Mosaic_Input_Problem::Some_Tiles_Missing:
                if (!Window().Ask(text + std::string(shell::kRemove_Missing_Tiles_Question))) return false;
                for (auto index = check.missing_tiles.rbegin(); index != check.missing_tiles.rend(); ++index)
                    tile_list_.Delete_Item(*index);
                Tiles_ListBox.Reset(tile_list_.Count());
                continue;  // on to the checks after the tiles
            case Mosaic_Input_Problem::Output_Exists:
                Output_File_Name_Edit.Focus();
                return Window().Ask(text + std::string(shell::kOverwrite_Question));
            default:
                Window().Show_Error(text);
                if (kit::Control* field = Field_Of(check.problem)) field->Focus();
                return false;
        }
    }
}

kit::Control* Mosaic_Page::Field_Of(Mosaic_Input_Problem problem) {
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

Mosaic_Settings Mosaic_Page::Mosaic_Page_Settings() const {
    Mosaic_Settings settings{{Horizontal_Tile_Size_SpinEdit.Value(), Vertical_Tile_Size_SpinEdit.Value(),
                              Insert_Gap_Between_Tiles_CheckBox.Checked(), Horizontal_Tile_Gap_SpinEdit.Value(),
                              Vertical_Tile_Gap_SpinEdit.Value()},
                             options_};
    settings.mode = Tiles_Crop_To_Size_RadioButton.Checked() ? Fitting_Mode::Truncate_Crop : Fitting_Mode::Expand_Shrink;
    return settings;
}

void Mosaic_Page::Make_Mosaic_BitBtnClick() {
    if (!Check_Page_For_Mosaic()) return;

    const Long_Runs::Run run(long_runs_);
    // The build draws from the list as it stands now: the list's buttons stay usable while the
    // progress dialog lets messages through, and a removal then must not pull tiles from under
    // the build.
    const std::vector<std::string> tiles = tile_list_.Items();
    const std::string output = win::To_Utf8(Output_File_Name_Edit.Text());
    Mosaic_Settings settings = Mosaic_Page_Settings();
    Progress_Form_Reporter progress(progress_form_);
    // Reading the tiles first, on every processor, when that is quicker; a tile that cannot be read
    // still stops the build only when a cell draws it.
    try {
        Build_Mosaic({win::To_Utf8(Input_File_Name_Edit.Text()), tiles, output, settings}, random_, progress,
                     {.reading = Tile_Reading::Fastest});
    } catch (const Error& error) {
        // Bitmaps alone: the image layer's words, with the dialog left running, as ever.
        if (file_fields_.Formats() == Picture_Formats::Bmp_Only) throw;
        // A photo that cannot be read is named, as the tool names it, and the dialog goes rather
        // than wait for Abort.
        progress_form_.Stop_Processing_On_Error();
        throw std::runtime_error(shell::Error_Text_With_Details(error));
    }
}

void Mosaic_Page::Add_Original_Picture_To_Tile_List_SpeedButtonClick() {
    if (!Check_Original_File_Name()) return;
    const std::string name = win::To_Utf8(Input_File_Name_Edit.Text());
    if (Find_Tile_Item(name) >= 0) {
        Window().Show_Error("Error: The Original Image is already in the Tiles List.");
        return;
    }
    Add_Chosen_Tiles({name});
}

void Mosaic_Page::Add_Selected_Tiles_To_List_SpeedButtonClick() {
    // A chosen tile list file stands for the tiles it names, taken from the list's own folder.
    // Every list is read before any tile goes in, so a list that cannot be read adds nothing.
    std::vector<std::string> tiles;
    for (std::string& file : file_fields_.Choose_Tiles(Window().Handle())) {
        if (!tiles::Is_Tile_List_File_Name(file)) {
            tiles.push_back(std::move(file));
            continue;
        }
        std::vector<std::string> listed = tiles::Read_Listed_Tiles(file, win::System_Code_Page_To_Utf8);
        tiles.insert(tiles.end(), std::make_move_iterator(listed.begin()), std::make_move_iterator(listed.end()));
    }
    if (!tiles.empty()) Add_Chosen_Tiles(std::move(tiles));
}

void Mosaic_Page::Add_Folder_To_Tile_List_OptionClick() {
    const std::optional<std::string> folder =
        file_fields_.Choose_Tile_Directory(Window().Handle(), L"Select a Directory of Tiles to Add ?", {});
    if (!folder) return;
    tiles::Folder_Tiles found;
    {
        // Every picture is read once, which for a folder of photos takes a while: the progress
        // dialog shows it and lets the user stop it, and goes once the list has what was found.
        const Long_Runs::Run run(long_runs_);
        Progress_Form_Reporter progress(progress_form_);
        found = tiles::Find_Folder_Tiles(*folder, file_fields_.Formats(), progress);
        progress_form_.Hide();
    }
    if (found.aborted) return;
    const std::size_t unreadable = found.unreadable.size();
    if (found.readable.empty() && unreadable == 0) {
        Window().Show_Error("Error: The Directory " + *folder + " and its sub-directories hold no " +
                            shell::Named_Formats(file_fields_.Formats(), " or ") + " files.");
        return;
    }
    if (!found.readable.empty()) Add_Chosen_Tiles(std::move(found.readable));
    if (unreadable == 0) return;
    constexpr std::size_t kNamed = 10;
    const bool one = unreadable == 1;
    std::string text = "Error: " + std::to_string(unreadable) + (one ? " picture" : " pictures") + " in the Directory " +
                       *folder + " could not be read and " + (one ? "was" : "were") + " not added to the Tiles List :\r\n";
    for (std::size_t i = 0; i < std::min(unreadable, kNamed); ++i) text += "\r\n" + found.unreadable[i];
    if (unreadable > kNamed) text += "\r\n... and " + std::to_string(unreadable - kNamed) + " more";
    Window().Show_Error(text);
}

void Mosaic_Page::Add_Chosen_Tiles(std::vector<std::string> files) {
    const std::vector<int> selected = Tiles_ListBox.Selected_Indexes();
    const std::vector<int> added = tile_list_.Add_Tiles_Unless_Listed(std::move(files));
    if (added.empty()) return;
    // The selected items stay selected where the additions moved them, as in any list box.
    Tiles_ListBox.Reset(tile_list_.Count(), tiles::Selection_After_Adding(selected, added));
}

void Mosaic_Page::Delete_Selected_Tiles_From_List_SpeedButtonClick() { Remove_Selected_Tiles(); }
void Mosaic_Page::Reset_Tile_List_SpeedButtonClick() { Reset_Tile_List(); }

int Mosaic_Page::First_Selected_Tile_Index() const {
    const std::vector<int> selected = Tiles_ListBox.Selected_Indexes();
    return selected.empty() ? -1 : selected.front();
}

std::string Mosaic_Page::First_Selected_Tile() const {
    const int index = First_Selected_Tile_Index();
    return index < 0 ? std::string() : tile_list_.Item(index);
}

int Mosaic_Page::Count_Selected_Tiles() const { return static_cast<int>(Tiles_ListBox.Selected_Indexes().size()); }

int Mosaic_Page::Delete_Selected_Tiles() {
    const int deleted = tile_list_.Delete_Selected_Tiles(Tiles_ListBox.Selected_Indexes());
    Tiles_ListBox.Reset(tile_list_.Count());  // every selected item went, so nothing stays selected
    return deleted;
}

int Mosaic_Page::Remove_Selected_Tiles() {
    if (tile_list_.Empty()) {
        Window().Show_Error("Error: It is not possible to remove items from an empty list.");
        return 0;
    }
    const int selected = Count_Selected_Tiles();
    if (selected == 0) {
        Window().Show_Error("Error: There are no items selected in the list !");
        return 0;
    }
    if (!Window().Ask("Delete all " + std::to_string(selected) + " selected items ?  Are you sure ?")) return 0;
    return Delete_Selected_Tiles();
}

void Mosaic_Page::Reset_Tile_List() {
    if (tile_list_.Empty()) {
        Window().Show_Error("Error: There are no items in the list to remove !");
        return;
    }
    if (!Window().Ask("Remove all " + std::to_string(tile_list_.Count()) + " items from the list ?  Are you sure ?")) return;
    tile_list_.Clear();
    Tiles_ListBox.Reset(0);
}

std::string Mosaic_Page::Random_Tile() { return tile_list_.Random_Tile(random_); }

void Mosaic_Page::Set_Height_Width_To_Selected_Tile_BitBtnClick() {
    if (First_Selected_Tile_Index() < 0) {
        Window().Show_Error("Error: No file was selected in the Tile List.");
        return;
    }
    const std::string tile = First_Selected_Tile();
    if (!desktop::File_Exists(tile)) {
        Window().Show_Error("Error: The selected file in the Tile List does not exist.");
        return;
    }
    // A file that does not decode ends here, both sizes unchanged.
    const Raster_Image image = Load_Picture(tile, file_fields_.Formats());
    Horizontal_Tile_Size_SpinEdit.Set_Value(image.Width());
    Vertical_Tile_Size_SpinEdit.Set_Value(image.Height());
}

void Mosaic_Page::Load_Tile_List_File() {
    try {
        tiles::Load_Tile_List_File(tile_list_, file_fields_.Program_Directory() + std::string(tiles::kTile_List_File_Name),
                                   desktop::File_Exists, win::System_Code_Page_To_Utf8);
    } catch (...) {
        Tiles_ListBox.Reset(tile_list_.Count());  // the box must not show items the model lost
        throw;
    }
    Tiles_ListBox.Reset(tile_list_.Count());
}

void Mosaic_Page::Save_Tile_List_File() {
    tiles::Save_Tile_List_File(tile_list_, file_fields_.Program_Directory() + std::string(tiles::kTile_List_File_Name));
}

}  // namespace tilvane::app
