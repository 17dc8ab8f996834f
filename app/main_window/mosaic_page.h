#pragma once
// The page " Make a New Mosaic     ": the original image (step 1), the tile list (step 2), the
// tile size and fitting (step 3), the gap (step 4) and the mosaic's file name (step 5), with
// "Make Mosaic" between the frame's "Help" and "Exit".
#include <string>
#include <vector>

#include "kit/containers.h"
#include "kit/context_menu.h"
#include "kit/controls.h"
#include "main_window/file_fields.h"
#include "main_window/long_runs.h"
#include "mosaic/mosaic_inputs.h"
#include "support/random_source.h"
#include "tiles/tile_list.h"

namespace tilvane::settings {
struct Settings;
}

namespace tilvane::app {

class TProgress_Form;

class Mosaic_Page {
public:
    struct Services {
        File_Fields& file_fields;
        Random_Source& random;  // the one generator that mosaic tiles are drawn from
        TProgress_Form& progress_form;
        Long_Runs& long_runs;
    };
    Mosaic_Page(kit::Tab_Control& tabs, const Services& services);
    Mosaic_Page(const Mosaic_Page&) = delete;
    Mosaic_Page& operator=(const Mosaic_Page&) = delete;

    // Image file names: the pickers and the view buttons.
    void Input_File_Name_SpeedButtonClick();
    void Output_File_Name_SpeedButtonClick();
    void View_Original_Image_SpeedButtonClick();
    void View_Mosaic_SpeedButtonClick();
    // The bitmap-name checks on Input_File_Name_Edit, with its own messages.
    bool Check_Original_File_Name();

    // The page's values in the settings file: shown from it, and written into it.
    void Load_Settings(const settings::Settings& settings);
    void Save_Settings(settings::Settings& settings) const;

    // The Options menu's choices for the build, which the frame passes on whenever they change;
    // the page's own fields give the grid and the fitting.
    void Set_Mosaic_Options(const Mosaic_Options& options) { options_ = options; }

    // "Make Mosaic".
    void Make_Mosaic_BitBtnClick();
    [[nodiscard]] Mosaic_Settings Mosaic_Page_Settings() const;

    // The tile list. Tiles_ListBox shows the model and never sorts.
    void Add_Original_Picture_To_Tile_List_SpeedButtonClick();
    void Add_Selected_Tiles_To_List_SpeedButtonClick();
    void Delete_Selected_Tiles_From_List_SpeedButtonClick();
    void Reset_Tile_List_SpeedButtonClick();
    void Set_Height_Width_To_Selected_Tile_BitBtnClick();
    // The list's shortcut menu: "Add Folder ..." adds every picture of a directory and its
    // sub-directories that can be read, and names those that cannot in one message.
    void Add_Folder_To_Tile_List_OptionClick();
    [[nodiscard]] int Find_Tile_Item(const std::string& text) const { return tile_list_.Find_Tile_Item(text); }
    [[nodiscard]] int First_Selected_Tile_Index() const;
    [[nodiscard]] std::string First_Selected_Tile() const;
    [[nodiscard]] int Count_Selected_Tiles() const;
    int Delete_Selected_Tiles();
    int Remove_Selected_Tiles();
    void Reset_Tile_List();
    [[nodiscard]] std::string Random_Tile();
    void Load_Tile_List_File();
    void Save_Tile_List_File();
    // What the tile picker feeds: the chosen files (a list file's tiles in its place), in its
    // order, each added unless listed.
    void Add_Chosen_Tiles(std::vector<std::string> files);
    [[nodiscard]] const tiles::Tile_List& Tiles() const { return tile_list_; }

    kit::Tab_Page Mosaic_TabSheet;
    kit::Group_Box Original_Image_GroupBox;
    kit::Edit Input_File_Name_Edit;
    kit::Push_Button Input_File_Name_SpeedButton;
    kit::Push_Button View_Original_Image_SpeedButton;
    kit::Group_Box Tile_List_GroupBox;
    kit::List_Box Tiles_ListBox;
    kit::Push_Button Add_Original_Picture_To_Tile_List_SpeedButton;
    kit::Push_Button Add_Selected_Tiles_To_List_SpeedButton;
    kit::Push_Button Delete_Selected_Tiles_From_List_SpeedButton;
    kit::Push_Button Reset_Tile_List_SpeedButton;
    kit::Group_Box Tile_Size_GroupBox;
    kit::Label Horizontal_Tile_Size_Label;
    kit::Spin_Edit Horizontal_Tile_Size_SpinEdit;
    kit::Label Vertical_Tile_Size_Label;
    kit::Spin_Edit Vertical_Tile_Size_SpinEdit;
    kit::Push_Button Set_Height_Width_To_Selected_Tile_BitBtn;
    kit::Radio_Button Tiles_Shrink_Expand_To_Size_RadioButton;
    kit::Radio_Button Tiles_Crop_To_Size_RadioButton;
    kit::Group_Box Tile_Gap_GroupBox;
    kit::Check_Box Insert_Gap_Between_Tiles_CheckBox;
    kit::Label Horizontal_Tile_Gap_Label;
    kit::Spin_Edit Horizontal_Tile_Gap_SpinEdit;
    kit::Label Vertical_Tile_Gap_Label;
    kit::Spin_Edit Vertical_Tile_Gap_SpinEdit;
    kit::Group_Box Output_File_GroupBox;
    kit::Edit Output_File_Name_Edit;
    kit::Push_Button Output_File_Name_SpeedButton;
    kit::Push_Button View_Mosaic_SpeedButton;
    kit::Push_Button Help_BitBtn;  // the frame's "Help" and "Exit" on this page
    kit::Push_Button Make_Mosaic_BitBtn;
    kit::Push_Button Exit_BitBtn;
    kit::Context_Menu Tiles_PopupMenu;  // on Tiles_ListBox: the list's buttons and "Add Folder ..."

private:
    // The "Make Mosaic" input checks with their messages, questions and focus; true to build.
    bool Check_Page_For_Mosaic();
    // The tile size's fields, and the gap's while it is ticked, each hold a number.
    bool Check_Size_Fields();
    kit::Control* Field_Of(Mosaic_Input_Problem problem);
    kit::Form& Window() const { return Mosaic_TabSheet.Owner(); }

    File_Fields& file_fields_;
    Random_Source& random_;
    TProgress_Form& progress_form_;
    Long_Runs& long_runs_;
    Mosaic_Options options_;
    tiles::Tile_List tile_list_;
};

}  // namespace tilvane::app
