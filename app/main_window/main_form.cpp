#include "main_window/main_form.h"

#include <exception>

#include "about/about_box.h"
#include "kit/application.h"
#include "progress/progress_form.h"
#include "shell/design_layout.h"
#include "shell/picture_format_text.h"
#include "win/text.h"
#include "win/windows_error.h"

namespace tilvane::app {
namespace {

using kit::Item_Kind;

constexpr int kWindow_Points = 11;  // Times New Roman, 15 pixels high

}  // namespace

TMainForm1::TMainForm1(const Program_Services& services, TAboutBox& about_box, TProgress_Form& progress_form)
    : Form({L"TMainForm1", L"Tilvane"}),
      long_runs(
          [this](bool idle) {
              mosaic_page.Make_Mosaic_BitBtn.Set_Enabled(idle);
              extract_page.Extract_Mosaic_Tiles_BitBtn.Set_Enabled(idle);
              Set_Hints_Active(idle);  // no hint of this window over the progress dialog
          },
          [this] { PostMessageW(Handle(), WM_CLOSE, 0, 0); }),
      file_fields(services.picker, services.shell, services.program_directory),
      PageControl1(*this, {"PageControl1", {4, 2, 581, 433}}),
      mosaic_page(PageControl1,
                  {file_fields, services.random, progress_form, long_runs}),
      extract_page(PageControl1, {file_fields, progress_form, long_runs,
                                  [this] {
                                      return std::pair(mosaic_page.Horizontal_Tile_Size_SpinEdit.Value(),
                                                       mosaic_page.Vertical_Tile_Size_SpinEdit.Value());
                                  }}),
      MainMenu1(*this, "MainMenu1"),
      File1(MainMenu1, "File1", L"&File"),
      Always_On_Top_Option(File1, "Always_On_Top_Option", L"Always &On Top", Item_Kind::Check),
      Auto_Run_at_Windows_Startup_Option(File1, "Auto_Run_at_Windows_Startup_Option", L"&Auto-Run at Windows Startup",
                                         Item_Kind::Check),
      Restore_Factory_Defaults_Option(File1, "Restore_Factory_Defaults_Option", L"&Restore Factory Defaults"),
      N1(File1, "N1", {}, Item_Kind::Separator),
      Create_Shortcut_on_Desktop_Option(File1, "Create_Shortcut_on_Desktop_Option", L"Create Shortcut on Desktop"),
      Create_Shortcut_on_Start_Menu_Option(File1, "Create_Shortcut_on_Start_Menu_Option",
                                           L"Create Shortcut on Start Menu"),
      Create_Shortcut_on_Start_Programs_Menu_Option(File1, "Create_Shortcut_on_Start_Programs_Menu_Option",
                                                    L"Create Shortcut on Start -> Programs Menu"),
      Create_Shortcut_on_SendTo_Menu_Option(File1, "Create_Shortcut_on_SendTo_Menu_Option",
                                            L"Create Shortcut on SendTo Menu"),
      Delete_All_Shortcuts_Option(File1, "Delete_All_Shortcuts_Option", L"Delete ALL Shortcuts"),
      N2(File1, "N2", {}, Item_Kind::Separator),
      ExitOption(File1, "ExitOption", L"E&xit"),
      Options1(MainMenu1, "Options1", L"&Options"),
      tile_choice_menu(Options1,
                       [this](Tile_Choice choice) {
                           mosaic_options_.choice = choice;
                           Mosaic_OptionsChange();
                       }),
      N4(Options1, "N4", {}, Item_Kind::Separator),
      Photo_Formats_Option(Options1, "Photo_Formats_Option", L"&Photo Formats (" + win::To_Wide(shell::Photo_Format_Names()) + L")", Item_Kind::Check),
      Mosaic_Options_Option(Options1, "Mosaic_Options_Option", L"Mosaic &Options ..."),
      Help1(MainMenu1, "Help1", L"&Help"),
      View_Readme_file_Option(Help1, "View_Readme_file_Option", L"&View Readme file"),
      Help_and_StepbyStepGuide_Option(Help1, "Help_and_StepbyStepGuide_Option", L"Help + Step by Step Guide"),
      View_Shareware_Catalog_Option(Help1, "View_Shareware_Catalog_Option", L"View &Shareware Catalog"),
      N3(Help1, "N3", {}, Item_Kind::Separator),
      AboutOption(Help1, "AboutOption", L"&About"),
      Mosaic_Options_Dialog(Handle()),
      services_(services),
      about_box_(about_box),
      progress_form_(progress_form) {
    for (const Component& component : Components()) {
        if (component.control) component.control->Set_Font_Size(kWindow_Points);
    }

    On_Close_Query = [this] { return FormCloseQuery(); };
    On_Resize = [this] { FormResize(); };
    On_Destroy = [] { PostQuitMessage(0); };  // closing the main window ends the program
    // The layout follows the client area, so the frame Windows suggests scales the pages too.
    Window_Dpi = kit::Screen_Dpi();
    On_Dpi_Changed = [this](int dpi, const RECT& frame) {
        Window_Dpi = dpi;
        SetWindowPos(Handle(), nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    ExitOption.On_Click = [this] { ExitOptionClick(); };
    mosaic_page.Exit_BitBtn.On_Click = [this] { Exit_BitBtnClick(); };
    extract_page.Exit_BitBtn2.On_Click = [this] { Exit_BitBtn2Click(); };
    Always_On_Top_Option.On_Click = [this] { Always_On_Top_OptionClick(); };
    AboutOption.On_Click = [this] { AboutOptionClick(); };
    Mosaic_Options_Option.On_Click = [this] { Mosaic_Options_OptionClick(); };
    Restore_Factory_Defaults_Option.On_Click = [this] { Restore_Factory_Defaults_OptionClick(); };
    Photo_Formats_Option.On_Click = [this] { Photo_Formats_OptionClick(); };
    Connect_Windows_Integration_Handlers();
    Connect_Help_Handlers();
}

void TMainForm1::Mosaic_OptionsChange() {
    mosaic_page.Set_Mosaic_Options(mosaic_options_);
    file_fields.Set_Formats(mosaic_options_.formats);
}

void TMainForm1::Mosaic_Options_OptionClick() {
    if (Mosaic_Options_Dialog.Edit(mosaic_options_)) Mosaic_OptionsChange();
}

void TMainForm1::Photo_Formats_OptionClick() {
    Set_Photo_Formats(!Photo_Formats_Option.Checked());
    Mosaic_OptionsChange();
}

void TMainForm1::Set_Photo_Formats(bool on) {
    Photo_Formats_Option.Set_Checked(on);
    mosaic_options_.formats = on ? Picture_Formats::By_Extension : Picture_Formats::Bmp_Only;
}

void TMainForm1::Show_Main_Window() {
    FormShow();
    if (!Is_Visible()) Show();
    mosaic_page.Input_File_Name_Edit.Focus();  // typing at once lands in the first field
}

void TMainForm1::FormShow() {
    const kit::Bounds tabs = PageControl1.Get_Bounds();
    Set_Client_Size(2 * tabs.left + tabs.width, 2 * tabs.top + tabs.height);
    Record_Design_Layout();
    Load_Settings();
    kit::Current_Application().Title = kApplication_Title;
    Set_Caption(kApplication_Title);
    about_box_.Fill_Texts(progress::To_Calendar(services_.clock.Now()).year);
    Apply_Startup_Show_Mode();
    if (WindowState_wsMaximized) ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    // Inverted and toggled back: the stored check mark stays and the stacking follows it.
    Always_On_Top_Option.Set_Checked(!Always_On_Top_Option.Checked());
    Toggle_Always_On_Top();
    // The registry decides the check mark; the copy in the settings file has no lasting effect.
    Auto_Run_at_Windows_Startup_Option.Set_Checked(Check_Auto_Run_Location());
    mosaic_page.Load_Tile_List_File();
    PageControl1.Set_Active_Page_Index(0);
    View_Readme_file_Option.Set_Visible(false);
}

bool TMainForm1::FormCloseQuery() {
    if (long_runs.Under_Way()) {
        // The run ends at its next look at the abort flag; the close follows then.
        long_runs.Close_When_Done();
        progress_form_.Abort_Processing_BitBtnClick();
        return false;
    }
    try {
        Save_Settings();
    } catch (const std::exception& error) {
        return Close_Without_Saving(win::Error_Text(error));  // an unwritable file must not trap the user
    }
    return true;
}

void TMainForm1::FormResize() { Rescale_Controls(); }
void TMainForm1::ExitOptionClick() { Close(); }
void TMainForm1::Exit_BitBtnClick() { Close(); }
void TMainForm1::Exit_BitBtn2Click() { Close(); }
void TMainForm1::Always_On_Top_OptionClick() { Toggle_Always_On_Top(); }
void TMainForm1::AboutOptionClick() { about_box_.Show_Modal(Handle()); }

void TMainForm1::Record_Design_Layout() {
    if (!Scaling_ListBox.empty()) return;
    ShowScrollBar(Handle(), SB_BOTH, FALSE);
    const SIZE client = Client_Size();
    Scaling_ListBox.push_back(shell::Design_Size_Line(client.cx, client.cy));
    for (const Component& component : Components()) {
        if (!component.control) {
            Scaling_ListBox.emplace_back(shell::kNon_Visual_Line);
            continue;
        }
        const kit::Bounds b = component.control->Get_Bounds();
        Scaling_ListBox.push_back(
            shell::Control_Line({b.left, b.width, b.top, b.height, component.control->Font_Size()}, component.name));
    }
}

void TMainForm1::Rescale_Controls() {
    if (Scaling_ListBox.empty()) return;
    const SIZE client = Client_Size();
    const shell::Layout_Ratios ratios = shell::Ratios_For(client.cx, client.cy, Scaling_ListBox[0]);
    const std::vector<Component>& components = Components();
    for (std::size_t i = 0; i < components.size() && i + 1 < Scaling_ListBox.size(); ++i) {
        const std::string& line = Scaling_ListBox[i + 1];
        if (line.size() <= 1 || !components[i].control) continue;
        const shell::Control_Geometry g = shell::Scaled_Geometry(line, ratios);
        components[i].control->Set_Bounds({g.left, g.top, g.width, g.height});
        components[i].control->Set_Font_Size(g.font_size);
    }
    // The preview box shows the first tile at its true size, whatever the window's size.
    extract_page.Extract_Tile_Width_SpinEditChange();
    extract_page.Extract_Tile_Height_SpinEditChange();
}

void TMainForm1::Toggle_Always_On_Top() {
    const bool topmost = !Always_On_Top_Option.Checked();
    Always_On_Top_Option.Set_Checked(topmost);
    SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TMainForm1::Apply_Startup_Show_Mode() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    if (startup.dwFlags & STARTF_USESHOWWINDOW) ShowWindow(Handle(), startup.wShowWindow);
}

}  // namespace tilvane::app
