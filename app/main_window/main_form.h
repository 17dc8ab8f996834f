#pragma once
// The main window: the frame around the two pages on which the user does all the work. It keeps
// the menu bar, the tab control, the window-show sequence, the re-layout, the settings file and
// the shell's conveniences (start-up registration, shortcuts, the documents of the Help menu);
// each page owns its controls and handlers.
#include <string>
#include <string_view>
#include <vector>

#include "kit/containers.h"
#include "kit/fonts.h"
#include "kit/form.h"
#include "kit/menu.h"
#include "main_window/extract_page.h"
#include "main_window/file_fields.h"
#include "main_window/long_runs.h"
#include "main_window/mosaic_options_dialog.h"
#include "main_window/mosaic_page.h"
#include "main_window/program_services.h"
#include "main_window/tile_choice_menu.h"

namespace tilvane::app {

class TAboutBox;
class TProgress_Form;

inline constexpr wchar_t kApplication_Title[] = L"Tilvane v1.0f";

class TMainForm1 final : public kit::Form {
public:
    // The About box and the progress dialog are made after this window: they are only used once
    // all three exist.
    TMainForm1(const Program_Services& services, TAboutBox& about_box, TProgress_Form& progress_form);
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

    // The documents beside the program: the guide and the catalog (help_handlers.cpp).
    void Help_BitBtnClick();
    void Help_and_StepbyStepGuide_OptionClick();
    void View_Shareware_Catalog_OptionClick();
    void View_Catalog_Text(const std::wstring& product_name);
    void View_Text_File(const std::string& path);

    // The Options menu: its choices go to the pages whenever one changes.
    void Mosaic_OptionsChange();
    void Photo_Formats_OptionClick();
    void Mosaic_Options_OptionClick();

    // The settings file (settings_handlers.cpp): loaded by the window-show sequence, saved by
    // every close, deleted by the factory reset.
    void Load_Settings();
    void Save_Settings();
    void Restore_Factory_Defaults_OptionClick();
    [[nodiscard]] std::string Settings_File_Path() const;

    // Hidden state; the directories that the pickers remember are in file_fields.
    std::vector<std::string> Scaling_ListBox;  // the layout list
    bool WindowState_wsMaximized = false;  // read from the settings file
    // The window's pixels per inch. The pages are designed at 96; the settings file keeps the
    // window's placement in those design pixels, so the window, and with it the pages and their
    // fonts, comes out larger on a screen of a larger scale and looks the same otherwise.
    int Window_Dpi = kit::kDesign_Dpi;

    // Ahead of the controls: the pages are given them.
    Long_Runs long_runs;
    File_Fields file_fields;

    kit::Tab_Control PageControl1;
    Mosaic_Page mosaic_page;
    Extract_Page extract_page;

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
    Tile_Choice_Menu tile_choice_menu;
    kit::Menu_Item N4;
    kit::Menu_Item Photo_Formats_Option;
    kit::Menu_Item Mosaic_Options_Option;
    kit::Popup_Menu Help1;
    kit::Menu_Item View_Readme_file_Option;
    kit::Menu_Item Help_and_StepbyStepGuide_Option;
    kit::Menu_Item View_Shareware_Catalog_Option;
    kit::Menu_Item N3;
    kit::Menu_Item AboutOption;

    TMosaic_Options_Dialog Mosaic_Options_Dialog;

private:
    void Connect_Windows_Integration_Handlers();
    void Connect_Help_Handlers();
    // The photo formats' check mark and the format policy it stands for.
    void Set_Photo_Formats(bool on);
    // After a failed save: reports the error, then asks whether to close all the same.
    bool Close_Without_Saving(std::string_view error);
    [[nodiscard]] const std::string& Program_Directory() const { return services_.program_directory; }

    Mosaic_Options mosaic_options_;  // as the Options menu sets them
    Program_Services services_;
    TAboutBox& about_box_;
    TProgress_Form& progress_form_;
};

}  // namespace tilvane::app
