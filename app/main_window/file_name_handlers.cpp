// The image file names of the main window: the single-file pickers, the view buttons and the
// bitmap-name checks on a name field.
#include <windows.h>

#include <commdlg.h>

#include "desktop/file_system.h"
#include "main_window/main_form.h"
#include "main_window/program.h"
#include "shell/input_check_text.h"
#include "tiles/file_names.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

constexpr wchar_t kOriginal_Picture_Title[] = L"Select Original Picture :";
constexpr wchar_t kOutput_Mosaic_Title[] = L"Select Output Mosaic File :";
constexpr DWORD kExisting_File_Options = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;

}  // namespace

void TMainForm1::Connect_File_Name_Handlers() {
    Input_File_Name_SpeedButton.On_Click = [this] { Input_File_Name_SpeedButtonClick(); };
    Output_File_Name_SpeedButton.On_Click = [this] { Output_File_Name_SpeedButtonClick(); };
    Extract_Mosaic_Bitmap_File_Name_SpeedButton.On_Click = [this] { Extract_Mosaic_Bitmap_File_Name_SpeedButtonClick(); };
    View_Original_Image_SpeedButton.On_Click = [this] { View_Original_Image_SpeedButtonClick(); };
    View_Mosaic_SpeedButton.On_Click = [this] { View_Mosaic_SpeedButtonClick(); };
    View_Mosaic_2_SpeedButton.On_Click = [this] { View_Mosaic_2_SpeedButtonClick(); };
}

void TMainForm1::Input_File_Name_SpeedButtonClick() {
    Choose_Single_File(Input_File_Name_Edit, kOriginal_Picture_Title, kExisting_File_Options);
}

void TMainForm1::Output_File_Name_SpeedButtonClick() {
    Choose_Single_File(Output_File_Name_Edit, kOutput_Mosaic_Title, OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT);
}

void TMainForm1::Extract_Mosaic_Bitmap_File_Name_SpeedButtonClick() {
    // The mosaic to cut is picked under the original picture's title.
    Choose_Single_File(Extract_Mosaic_Bitmap_File_Name_Edit, kOriginal_Picture_Title, kExisting_File_Options);
}

void TMainForm1::Choose_Single_File(kit::Edit& field, const wchar_t* title, DWORD options) {
    picker_file_name_.clear();
    const std::string current = win::To_Utf8(field.Text());
    if (!current.empty() && desktop::File_Exists(current)) {
        // Kept even on Cancel: the picker starts where the named file is.
        Last_Mosaic_Directory_Edit = win::To_Wide(tiles::Directory_Part(current));
        picker_file_name_ = field.Text();
    } else {
        Last_Mosaic_Directory_Edit = win::To_Wide(tiles::Usable_Last_Directory(
            win::To_Utf8(Last_Mosaic_Directory_Edit), Program_Directory(), desktop::Directory_Exists));
    }
    const std::vector<std::wstring> chosen = program_.Services.picker.Choose(
        Handle(), {title, kBitmap_Filter, options, Last_Mosaic_Directory_Edit, picker_file_name_});
    if (chosen.empty()) return;
    picker_file_name_ = chosen.front();
    field.Set_Text(chosen.front());
    Last_Mosaic_Directory_Edit =
        win::To_Wide(tiles::Normalise_Directory_Name(tiles::Directory_Part(win::To_Utf8(chosen.front()))));
}

void TMainForm1::View_Original_Image_SpeedButtonClick() {
    View_File(Input_File_Name_Edit, "Error: The Original Image file name is blank or the file does not exist.");
}

void TMainForm1::View_Mosaic_SpeedButtonClick() {
    View_File(Output_File_Name_Edit, "Error: The Output file name is blank or the file does not exist.");
}

void TMainForm1::View_Mosaic_2_SpeedButtonClick() {
    View_File(Extract_Mosaic_Bitmap_File_Name_Edit, "Error: The Mosaic file name is blank or the file does not exist.");
}

void TMainForm1::View_File(kit::Edit& field, std::string_view message) {
    // Any existing file goes to the shell as it is: no completion, no bitmap check.
    const std::string name = win::To_Utf8(field.Text());
    if (!name.empty() && desktop::File_Exists(name)) {
        program_.Services.shell.Shell_Open_File(name);
        return;
    }
    Show_Error(message);
    field.Focus();
}

bool TMainForm1::Check_Bitmap_File_Name(kit::Edit& field, std::string_view blank_message,
                                        std::string_view not_found_message, tiles::Bitmap_Name_Checks checks) {
    const tiles::Bitmap_Name_Result result =
        tiles::Check_Bitmap_Name(win::To_Utf8(field.Text()), Program_Directory(), desktop::File_Exists, checks);
    if (result.name_changed) field.Set_Text(win::To_Wide(result.name));
    switch (result.outcome) {
        case tiles::Bitmap_Name_Outcome::Ok: return true;
        case tiles::Bitmap_Name_Outcome::Blank: Show_Error(blank_message); break;
        case tiles::Bitmap_Name_Outcome::Not_Bitmap: Show_Error(shell::kOnly_Bitmap_Files_Message); break;
        case tiles::Bitmap_Name_Outcome::Not_Found: Show_Error(not_found_message); break;
    }
    field.Focus();
    return false;
}

bool TMainForm1::Check_Original_File_Name() {
    return Check_Bitmap_File_Name(Input_File_Name_Edit, shell::kOriginal_Blank_Message, shell::kOriginal_Not_Found_Message,
                                  tiles::Bitmap_Name_Checks::Existing_File);
}

}  // namespace tilvane::app
