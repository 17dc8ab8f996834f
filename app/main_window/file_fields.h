#pragma once
// What the file fields of both pages share: the pickers, with the directories they remember
// (hidden state of the main window, kept in the settings file) and the one pre-filled name of all
// their uses; the view buttons; and the bitmap-name checks on a name field.
#include <windows.h>

#include <commdlg.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codecs/picture_file.h"
#include "desktop/desktop_shell.h"
#include "desktop/file_picker.h"
#include "kit/controls.h"
#include "tiles/file_names.h"

namespace tilvane::settings {
struct Settings;
}

namespace tilvane::app {

// The filter of the main window's pictures is shell::Picker_Filter_Text; the tile picker also
// offers tile list files.
inline constexpr wchar_t kTile_List_Filter[] = L"|Tile list files (*.lst)|*.lst";
// The title of the pickers of an existing picture: the original, and the mosaic to cut.
inline constexpr wchar_t kOriginal_Picture_Title[] = L"Select Original Picture :";
inline constexpr DWORD kExisting_File_Options = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;

class File_Fields {
public:
    // `program_directory`: where names typed without a directory are taken to be, with its
    // trailing backslash.
    File_Fields(desktop::File_Picker& picker, desktop::Desktop_Shell& shell, std::string program_directory);

    std::wstring Last_Mosaic_Directory_Edit;
    std::wstring Last_Tile_Directory_Edit;

    [[nodiscard]] const std::string& Program_Directory() const { return program_directory_; }
    // The remembered directories in the settings file: taken from it, and written into it.
    void Load_Settings(const settings::Settings& settings);
    void Save_Settings(settings::Settings& settings) const;

    // One file into the field, the picker starting at the named file or the last mosaic directory.
    void Choose_Single_File(kit::Edit& field, const wchar_t* title, DWORD options);
    // Tiles or tile list files to add, from the last tile directory; none on Cancel.
    [[nodiscard]] std::vector<std::string> Choose_Tiles(HWND owner);
    // A directory of tiles (for extracted tiles, or of tiles to add), from the last tile
    // directory; `create_missing` as the folder request says. Nothing on Cancel.
    [[nodiscard]] std::optional<std::string> Choose_Tile_Directory(
        HWND owner, const wchar_t* title, std::function<bool(const std::wstring& directory)> create_missing);
    // Opens the named file through the shell; a blank name or a missing file shows `message`.
    void View_File(kit::Edit& field, std::string_view message);
    // Which pictures the fields and pickers take: bitmaps only, or the photo formats too.
    [[nodiscard]] Picture_Formats Formats() const { return formats_; }
    void Set_Formats(Picture_Formats formats) { formats_ = formats; }
    // The bitmap-name checks, under Formats(): completions are written back into the field; a
    // failed check shows its message, moves the focus to the field and gives false.
    bool Check_Bitmap_File_Name(kit::Edit& field, std::string_view blank_message, std::string_view not_found_message,
                                tiles::Bitmap_Name_Checks checks);

private:
    desktop::File_Picker& picker_;
    desktop::Desktop_Shell& shell_;
    std::string program_directory_;
    std::wstring picker_file_name_;  // the one picker's pre-filled name, shared by all its uses
    Picture_Formats formats_ = Picture_Formats::Bmp_Only;
};

}  // namespace tilvane::app
