// The tile list of the main window: its four buttons, "Set Select", and its file. The model is
// the source of truth; Tiles_ListBox only shows its count and selection and asks it for texts.
#include <windows.h>

#include <commdlg.h>

#include "desktop/file_system.h"
#include "image/raster_image.h"
#include "main_window/main_form.h"
#include "main_window/program.h"
#include "tiles/file_names.h"
#include "tiles/tile_list_file.h"
#include "win/text.h"

namespace tilvane::app {

void TMainForm1::Connect_Tile_List_Handlers() {
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
}

void TMainForm1::Add_Original_Picture_To_Tile_List_SpeedButtonClick() {
    if (!Check_Original_File_Name()) return;
    const std::string name = win::To_Utf8(Input_File_Name_Edit.Text());
    if (Find_Tile_Item(name) >= 0) {
        Show_Error("Error: The Original Image is already in the Tiles List.");
        return;
    }
    Add_Chosen_Tiles({name});
}

void TMainForm1::Add_Selected_Tiles_To_List_SpeedButtonClick() {
    Last_Tile_Directory_Edit = win::To_Wide(tiles::Usable_Last_Directory(win::To_Utf8(Last_Tile_Directory_Edit),
                                                                         Program_Directory(), desktop::Directory_Exists));
    const std::vector<std::wstring> chosen = program_.Services.picker.Choose(
        Handle(), {L"Select Tile(s) to Add ?", kBitmap_Filter,
                   OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_SHAREAWARE,
                   Last_Tile_Directory_Edit, picker_file_name_});
    if (chosen.empty()) return;
    picker_file_name_ = chosen.front();
    std::vector<std::string> files;
    files.reserve(chosen.size());
    for (const std::wstring& file : chosen) files.push_back(win::To_Utf8(file));
    Last_Tile_Directory_Edit = win::To_Wide(tiles::Normalise_Directory_Name(tiles::Directory_Part(files.front())));
    Add_Chosen_Tiles(std::move(files));
}

void TMainForm1::Add_Chosen_Tiles(std::vector<std::string> files) {
    const std::vector<int> selected = Tiles_ListBox.Selected_Indexes();
    const std::vector<int> added = tile_list_.Add_Tiles_Unless_Listed(std::move(files));
    if (added.empty()) return;
    // The selected items stay selected where the additions moved them, as in any list box.
    Tiles_ListBox.Reset(tile_list_.Count(), tiles::Selection_After_Adding(selected, added));
}

void TMainForm1::Delete_Selected_Tiles_From_List_SpeedButtonClick() { Remove_Selected_Tiles(); }
void TMainForm1::Reset_Tile_List_SpeedButtonClick() { Reset_Tile_List(); }

int TMainForm1::First_Selected_Tile_Index() const {
    const std::vector<int> selected = Tiles_ListBox.Selected_Indexes();
    return selected.empty() ? -1 : selected.front();
}

std::string TMainForm1::First_Selected_Tile() const {
    const int index = First_Selected_Tile_Index();
    return index < 0 ? std::string() : tile_list_.Item(index);
}

int TMainForm1::Count_Selected_Tiles() const { return static_cast<int>(Tiles_ListBox.Selected_Indexes().size()); }

int TMainForm1::Delete_Selected_Tiles() {
    const int deleted = tile_list_.Delete_Selected_Tiles(Tiles_ListBox.Selected_Indexes());
    Tiles_ListBox.Reset(tile_list_.Count());  // every selected item went, so nothing stays selected
    return deleted;
}

int TMainForm1::Remove_Selected_Tiles() {
    if (tile_list_.Empty()) {
        Show_Error("Error: It is not possible to remove items from an empty list.");
        return 0;
    }
    const int selected = Count_Selected_Tiles();
    if (selected == 0) {
        Show_Error("Error: There are no items selected in the list !");
        return 0;
    }
    if (!Ask("Delete all " + std::to_string(selected) + " selected items ?  Are you sure ?")) return 0;
    return Delete_Selected_Tiles();
}

void TMainForm1::Reset_Tile_List() {
    if (tile_list_.Empty()) {
        Show_Error("Error: There are no items in the list to remove !");
        return;
    }
    if (!Ask("Remove all " + std::to_string(tile_list_.Count()) + " items from the list ?  Are you sure ?")) return;
    tile_list_.Clear();
    Tiles_ListBox.Reset(0);
}

std::string TMainForm1::Random_Tile() { return tile_list_.Random_Tile(program_.Services.random); }

void TMainForm1::Set_Height_Width_To_Selected_Tile_BitBtnClick() {
    if (First_Selected_Tile_Index() < 0) {
        Show_Error("Error: No file was selected in the Tile List.");
        return;
    }
    const std::string tile = First_Selected_Tile();
    if (!desktop::File_Exists(tile)) {
        Show_Error("Error: The selected file in the Tile List does not exist.");
        return;
    }
    RasterImage image;
    image.load_from_file(tile);  // a file that does not decode ends here, both sizes unchanged
    Horizontal_Tile_Size_SpinEdit.Set_Value(image.width());
    Vertical_Tile_Size_SpinEdit.Set_Value(image.height());
}

void TMainForm1::Load_Tile_List_File() {
    try {
        tiles::Load_Tile_List_File(tile_list_, Program_Directory() + std::string(tiles::kTile_List_File_Name),
                                   desktop::File_Exists, win::System_Code_Page_To_Utf8);
    } catch (...) {
        Tiles_ListBox.Reset(tile_list_.Count());  // the box must not show items the model lost
        throw;
    }
    Tiles_ListBox.Reset(tile_list_.Count());
}

void TMainForm1::Save_Tile_List_File() {
    tiles::Save_Tile_List_File(tile_list_, Program_Directory() + std::string(tiles::kTile_List_File_Name));
}

}  // namespace tilvane::app
