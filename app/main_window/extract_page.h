#pragma once
// The page " Extract Images from an Existing  Mosaic ": the mosaic file (step 1), the tile size
// with its preview (step 2), the gap (step 3), the limits (step 4) and the directory the tiles go
// to (step 5), with "Extract Tiles" between the frame's "Help" and "Exit".
#include <functional>
#include <string>
#include <utility>

#include "extract/tile_extraction.h"
#include "kit/containers.h"
#include "kit/controls.h"
#include "main_window/file_fields.h"
#include "main_window/long_runs.h"

namespace tilvane::settings {
struct Settings;
}

namespace tilvane::app {

class TProgress_Form;

class Extract_Page {
public:
    struct Services {
        File_Fields& file_fields;
        TProgress_Form& progress_form;
        Long_Runs& long_runs;
        // The mosaic page's tile size, which "Set Select" takes.
        std::function<std::pair<int, int>()> mosaic_tile_size;
    };
    Extract_Page(kit::Tab_Control& tabs, const Services& services);
    Extract_Page(const Extract_Page&) = delete;
    Extract_Page& operator=(const Extract_Page&) = delete;

    // The page's values in the settings file: shown from it, and written into it.
    void Load_Settings(const settings::Settings& settings);
    void Save_Settings(settings::Settings& settings) const;

    void Extract_Mosaic_Bitmap_File_Name_SpeedButtonClick();
    void View_Mosaic_2_SpeedButtonClick();
    void Extract_Mosaic_Tiles_BitBtnClick();
    void Test_Show_Image_Preview_BitBtnClick();
    void Extract_Mosaic_Bitmap_File_Name_EditChange();
    void Extract_Tile_Width_SpinEditChange();
    void Extract_Tile_Height_SpinEditChange();
    void Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtnClick();
    void Extracted_Tile_Directory_SpeedButtonClick();
    [[nodiscard]] Extract_Settings Extract_Page_Settings() const;

    kit::Tab_Page Extract_TabSheet;
    kit::Group_Box Extract_Mosaic_GroupBox;
    kit::Edit Extract_Mosaic_Bitmap_File_Name_Edit;
    kit::Push_Button Extract_Mosaic_Bitmap_File_Name_SpeedButton;
    kit::Push_Button View_Mosaic_2_SpeedButton;
    kit::Group_Box Extract_Tile_Size_GroupBox;
    kit::Label Extract_Tile_Width_Label;
    kit::Spin_Edit Extract_Tile_Width_SpinEdit;
    kit::Label Extract_Tile_Height_Label;
    kit::Spin_Edit Extract_Tile_Height_SpinEdit;
    kit::Push_Button Test_Show_Image_Preview_BitBtn;
    kit::Push_Button Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtn;
    kit::Picture_Box Extract_Tile_Preview_Image;
    kit::Group_Box Extract_Tile_Gap_GroupBox;
    kit::Check_Box Extract_Gap_Between_Tiles_CheckBox;
    kit::Label Extract_Horizontal_Tile_Gap_Label;
    kit::Spin_Edit Extract_Horizontal_Tile_Gap_SpinEdit;
    kit::Label Extract_Vertical_Tile_Gap_Label;
    kit::Spin_Edit Extract_Vertical_Tile_Gap_SpinEdit;
    kit::Radio_Group Extract_Image_Limits_RadioGroup;
    kit::Group_Box Extracted_Tile_Directory_GroupBox;
    kit::Edit Extracted_Tile_Directory_Edit;
    kit::Push_Button Extracted_Tile_Directory_SpeedButton;
    kit::Push_Button BitBtn1;  // the frame's "Help" and "Exit" on this page
    kit::Push_Button Extract_Mosaic_Tiles_BitBtn;
    kit::Push_Button Exit_BitBtn2;

private:
    bool Create_Missing_Directory(const std::wstring& directory);
    // The tile size's fields each hold a number; the preview and the extraction refuse them otherwise.
    bool Check_Tile_Size_Fields();
    kit::Form& Window() const { return Extract_TabSheet.Owner(); }

    File_Fields& file_fields_;
    TProgress_Form& progress_form_;
    Long_Runs& long_runs_;
    std::function<std::pair<int, int>()> mosaic_tile_size_;
};

}  // namespace tilvane::app
