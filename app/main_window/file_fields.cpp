#include "main_window/file_fields.h"

#include <commdlg.h>

#include <utility>

#include "desktop/file_system.h"
#include "kit/form.h"
#include "settings/settings_values.h"
#include "shell/input_check_text.h"
#include "shell/picture_format_text.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

std::wstring Usable(const std::wstring& last_directory, const std::string& program_directory) {
    return win::To_Wide(
        tiles::Usable_Last_Directory(win::To_Utf8(last_directory), program_directory, desktop::Directory_Exists));
}

std::wstring Picture_Filter(Picture_Formats formats) { return win::To_Wide(shell::Picker_Filter_Text(formats)); }

// With the photo formats the pickers start on all the pictures, so that a photo shows at once.
DWORD First_Filter(Picture_Formats formats) { return formats == Picture_Formats::Bmp_Only ? 1 : 2; }

std::wstring Directory_Of(const std::string& file) {
    return win::To_Wide(tiles::Normalise_Directory_Name(tilvane::Directory_Part(file)));
}

}  // namespace

File_Fields::File_Fields(desktop::File_Picker& picker, desktop::Desktop_Shell& shell, std::string program_directory)
    : picker_(picker), shell_(shell), program_directory_(std::move(program_directory)) {}

void File_Fields::Load_Settings(const settings::Settings& settings) {
    Last_Mosaic_Directory_Edit = win::To_Wide(settings.Last_Mosaic_Directory_Edit);
    Last_Tile_Directory_Edit = win::To_Wide(settings.Last_Tile_Directory_Edit);
}

void File_Fields::Save_Settings(settings::Settings& settings) const {
    settings.Last_Mosaic_Directory_Edit = win::To_Utf8(Last_Mosaic_Directory_Edit);
    settings.Last_Tile_Directory_Edit = win::To_Utf8(Last_Tile_Directory_Edit);
}

void File_Fields::Choose_Single_File(kit::Edit& field, const wchar_t* title, DWORD options) {
    picker_file_name_.clear();
    const std::string current = win::To_Utf8(field.Text());
    if (!current.empty() && desktop::File_Exists(current)) {
        // Kept even on Cancel: the picker starts where the named file is.
        Last_Mosaic_Directory_Edit = win::To_Wide(tilvane::Directory_Part(current));
        picker_file_name_ = field.Text();
    } else {
        Last_Mosaic_Directory_Edit = Usable(Last_Mosaic_Directory_Edit, program_directory_);
    }
    const std::vector<std::wstring> chosen = picker_.Choose(
        field.Owner().Handle(), {title, Picture_Filter(formats_), options, Last_Mosaic_Directory_Edit, picker_file_name_,
                                 First_Filter(formats_)});
    if (chosen.empty()) return;
    picker_file_name_ = chosen.front();
    field.Set_Text(chosen.front());
    Last_Mosaic_Directory_Edit = Directory_Of(win::To_Utf8(chosen.front()));
}

std::vector<std::string> File_Fields::Choose_Tiles(HWND owner) {
    Last_Tile_Directory_Edit = Usable(Last_Tile_Directory_Edit, program_directory_);
    const std::vector<std::wstring> chosen =
        picker_.Choose(owner, {L"Select Tile(s) to Add ?", Picture_Filter(formats_) + kTile_List_Filter,
                               OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_SHAREAWARE,
                               Last_Tile_Directory_Edit, picker_file_name_, First_Filter(formats_)});
    if (chosen.empty()) return {};
    picker_file_name_ = chosen.front();
    std::vector<std::string> files;
    files.reserve(chosen.size());
    for (const std::wstring& file : chosen) files.push_back(win::To_Utf8(file));
    Last_Tile_Directory_Edit = Directory_Of(files.front());
    return files;
}

std::optional<std::string> File_Fields::Choose_Tile_Directory(
    HWND owner, const wchar_t* title, std::function<bool(const std::wstring& directory)> create_missing) {
    const std::optional<std::wstring> chosen = picker_.Choose_Folder(
        owner, {title, Usable(Last_Tile_Directory_Edit, program_directory_), std::move(create_missing)});
    if (!chosen) return std::nullopt;
    std::string directory = tiles::Normalise_Directory_Name(win::To_Utf8(*chosen));
    Last_Tile_Directory_Edit = win::To_Wide(directory);
    return directory;
}

void File_Fields::View_File(kit::Edit& field, std::string_view message) {
    // Any existing file goes to the shell as it is: no completion, no bitmap check.
    const std::string name = win::To_Utf8(field.Text());
    if (!name.empty() && desktop::File_Exists(name)) {
        shell_.Shell_Open_File(name);
        return;
    }
    field.Owner().Show_Error(message);
    field.Focus();
}

bool File_Fields::Check_Bitmap_File_Name(kit::Edit& field, std::string_view blank_message,
                                         std::string_view not_found_message, tiles::Bitmap_Name_Checks checks) {
    const tiles::Bitmap_Name_Result result =
        tiles::Check_Bitmap_Name(win::To_Utf8(field.Text()), program_directory_, desktop::File_Exists, checks, formats_);
    if (result.name_changed) field.Set_Text(win::To_Wide(result.name));
    switch (result.outcome) {
        case tiles::Bitmap_Name_Outcome::Ok: return true;
        case tiles::Bitmap_Name_Outcome::Blank: field.Owner().Show_Error(blank_message); break;
        case tiles::Bitmap_Name_Outcome::Not_Bitmap: field.Owner().Show_Error(shell::Only_Picture_Files_Message(formats_)); break;
        case tiles::Bitmap_Name_Outcome::Not_Found: field.Owner().Show_Error(not_found_message); break;
    }
    field.Focus();
    return false;
}

}  // namespace tilvane::app
