#pragma once
// The main window: the menu bar and the two tab pages on which the user does all the work, laid
// out as numbered steps. Controls whose handlers belong to later changes are here and laid out;
// each change wires its own.
#include <string>
#include <string_view>
#include <vector>

#include "extract/tile_extraction.h"
#include "kit/containers.h"
#include "kit/controls.h"
#include "kit/fonts.h"
#include "kit/form.h"
#include "kit/menu.h"
#include "mosaic/mosaic_inputs.h"
#include "tiles/file_names.h"
#include "tiles/tile_list.h"

namespace tilvane::app {

class Program;

inline constexpr wchar_t kApplication_Title[] = L"Tilvane v1.0f";
// The one filter of every picker of the window.
inline constexpr wchar_t kBitmap_Filter[] = L"Bitmap files (*.bmp)|*.bmp";

class TMainForm1 final : public kit::Form {
public:
    explicit TMainForm1(Program& program);
    ~TMainForm1() override { Destroy_Window(); }

    // Showing the window at program start: the window-show sequence, then the window appears.
    void Show_Main_Window();

    void FormShow();
    bool FormCloseQuery();
    void FormResize();
    void ExitOptionClick();
    void Exit_BitBtnClick();
    void Exit_BitBtn2Click();
    void Always_On_Top_OptionClick();
    void AboutOptionClick();

    void Record_Design_Layout();
    void Rescale_Controls();
    void Toggle_Always_On_Top();
    void Apply_Startup_Show_Mode();

    // Start-up registration and shortcuts (windows_integration_handlers.cpp).
    void Auto_Run_at_Windows_Startup_OptionClick();
    void Create_Shortcut_on_Desktop_OptionClick();
    void Create_Shortcut_on_Start_Menu_OptionClick();
    void Create_Shortcut_on_Start_Programs_Menu_OptionClick();
    void Create_Shortcut_on_SendTo_Menu_OptionClick();
    void Delete_All_Shortcuts_OptionClick();
    [[nodiscard]] bool Check_Auto_Run_Location();

    // Image file names: the pickers and the view buttons (file_name_handlers.cpp).
    void Input_File_Name_SpeedButtonClick();
    void Output_File_Name_SpeedButtonClick();
    void Extract_Mosaic_Bitmap_File_Name_SpeedButtonClick();
    void View_Original_Image_SpeedButtonClick();
    void View_Mosaic_SpeedButtonClick();
    void View_Mosaic_2_SpeedButtonClick();
    // The bitmap-name checks on a name field: completions are written back into the field; a
    // failed check shows its message, moves the focus to the field and gives false.
    bool Check_Bitmap_File_Name(kit::Edit& field, std::string_view blank_message, std::string_view not_found_message,
                                tiles::Bitmap_Name_Checks checks);

    // The bitmap-name checks on Input_File_Name_Edit, with its own messages.
    bool Check_Original_File_Name();

    // "Make Mosaic" (mosaic_handler.cpp).
    void Make_Mosaic_BitBtnClick();
    [[nodiscard]] Mosaic_Settings Mosaic_Page_Settings() const;

    // The documents beside the program: the guide and the catalog (help_handlers.cpp).
    void Help_BitBtnClick();
    void Help_and_StepbyStepGuide_OptionClick();
    void View_Shareware_Catalog_OptionClick();
    void View_Catalog_Text(const std::wstring& product_name);
    void View_Text_File(const std::string& path);

    // The extraction page (extract_handlers.cpp).
    void Extract_Mosaic_Tiles_BitBtnClick();
    void Test_Show_Image_Preview_BitBtnClick();
    void Extract_Mosaic_Bitmap_File_Name_EditChange();
    void Extract_Tile_Width_SpinEditChange();
    void Extract_Tile_Height_SpinEditChange();
    void Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtnClick();
    void Extracted_Tile_Directory_SpeedButtonClick();
    [[nodiscard]] Extract_Settings Extract_Page_Settings() const;

    // The tile list (tile_list_handlers.cpp). Tiles_ListBox shows the model and never sorts.
    void Add_Original_Picture_To_Tile_List_SpeedButtonClick();
    void Add_Selected_Tiles_To_List_SpeedButtonClick();
    void Delete_Selected_Tiles_From_List_SpeedButtonClick();
    void Reset_Tile_List_SpeedButtonClick();
    void Set_Height_Width_To_Selected_Tile_BitBtnClick();
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
    // What the tile picker feeds: the chosen files, in its order, each added unless listed.
    void Add_Chosen_Tiles(std::vector<std::string> files);
    [[nodiscard]] const tiles::Tile_List& Tiles() const { return tile_list_; }

    // The Options menu (tile_choice_options.cpp): how "Make Mosaic" chooses each cell's tile,
    // one of three radio items, drawing at random when nothing else is chosen.
    void Tile_Choice_OptionClick(Tile_Choice choice);
    [[nodiscard]] Tile_Choice Chosen_Tile_Choice() const;

    // The settings file (settings_handlers.cpp): loaded by the window-show sequence, saved by
    // every close, deleted by the factory reset.
    void Load_Settings();
    void Save_Settings();
    void Restore_Factory_Defaults_OptionClick();
    [[nodiscard]] std::string Settings_File_Path() const;

    // Held by a handler for the length of a long run: the action buttons are disabled meanwhile,
    // and a close asked for during the run aborts it and closes once the run has ended.
    class Long_Run {
    public:
        explicit Long_Run(TMainForm1& form);
        Long_Run(const Long_Run&) = delete;
        Long_Run& operator=(const Long_Run&) = delete;
        ~Long_Run();

    private:
        TMainForm1& form_;
    };

    // Hidden state.
    std::vector<std::string> Scaling_ListBox;  // the layout list
    std::wstring Last_Mosaic_Directory_Edit;
    std::wstring Last_Tile_Directory_Edit;
    bool WindowState_wsMaximized = false;  // read from the settings file
    // The window's pixels per inch. The pages are designed at 96; the settings file keeps the
    // window's placement in those design pixels, so the window, and with it the pages and their
    // fonts, comes out larger on a screen of a larger scale and looks the same otherwise.
    int Window_Dpi = kit::kDesign_Dpi;

    kit::Tab_Control PageControl1;

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
    kit::Push_Button Help_BitBtn;
    kit::Push_Button Make_Mosaic_BitBtn;
    kit::Push_Button Exit_BitBtn;

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
    kit::Push_Button BitBtn1;
    kit::Push_Button Extract_Mosaic_Tiles_BitBtn;
    kit::Push_Button Exit_BitBtn2;

    kit::Menu_Bar MainMenu1;
    kit::Popup_Menu File1;
    kit::Menu_Item Always_On_Top_Option;
    kit::Menu_Item Auto_Run_at_Windows_Startup_Option;
    kit::Menu_Item Restore_Factory_Defaults_Option;
    kit::Menu_Item N1;
    kit::Menu_Item Create_Shortcut_on_Desktop_Option;
    kit::Menu_Item Create_Shortcut_on_Start_Menu_Option;
    kit::Menu_Item Create_Shortcut_on_Start_Programs_Menu_Option;
    kit::Menu_Item Create_Shortcut_on_SendTo_Menu_Option;
    kit::Menu_Item Delete_All_Shortcuts_Option;
    kit::Menu_Item N2;
    kit::Menu_Item ExitOption;
    kit::Popup_Menu Options1;
    kit::Menu_Item Draw_Tiles_at_Random_Option;
    kit::Menu_Item Use_Every_Tile_Before_Repeating_Option;
    kit::Menu_Item Choose_Best_Matching_Tile_Option;
    kit::Popup_Menu Help1;
    kit::Menu_Item View_Readme_file_Option;
    kit::Menu_Item Help_and_StepbyStepGuide_Option;
    kit::Menu_Item View_Shareware_Catalog_Option;
    kit::Menu_Item N3;
    kit::Menu_Item AboutOption;

private:
    void Set_Action_Buttons_Enabled(bool enabled);
    void Connect_File_Name_Handlers();
    void Connect_Tile_List_Handlers();
    void Connect_Mosaic_Handler();
    void Connect_Extract_Handlers();
    bool Create_Missing_Directory(const std::wstring& directory);
    void Connect_Windows_Integration_Handlers();
    void Connect_Help_Handlers();
    void Connect_Settings_Handlers();
    void Connect_Tile_Choice_Options();
    // After a failed save: reports the error, then asks whether to close all the same.
    bool Close_Without_Saving(std::string_view error);
    // The "Make Mosaic" input checks with their messages, questions and focus; true to build.
    bool Check_Page_For_Mosaic();
    kit::Control* Field_Of(Mosaic_Input_Problem problem);
    void Choose_Single_File(kit::Edit& field, const wchar_t* title, DWORD options);
    void View_File(kit::Edit& field, std::string_view message);
    bool Ask(std::string_view question);
    [[nodiscard]] const std::string& Program_Directory() const;

    Program& program_;
    tiles::Tile_List tile_list_;
    std::wstring picker_file_name_;  // the one picker's pre-filled name, shared by all its uses
    int long_runs_ = 0;
    bool close_after_run_ = false;
};

}  // namespace tilvane::app
