// The settings file of the main window: loading it in the window-show sequence, saving it at every
// close, and the factory reset that deletes it.
#include <windows.h>

#include <algorithm>

#include "desktop/file_state.h"
#include "desktop/profile_file.h"
#include "kit/application.h"
#include "main_window/main_form.h"
#include "settings/profile_text.h"
#include "settings/settings_values.h"
#include "support/error.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

// Lines short enough that the message box does not wrap them.
constexpr char kReset_Question[] =
    "Every setting goes back to its factory value,\r\n"
    "every file and directory name is emptied, and\r\n"
    "the tile list is reloaded as last saved.\r\n"
    "\r\n"
    "Restore the factory defaults ?";

constexpr char kClose_Unsaved_Question[] =
    "The settings and the tile list could not be saved.\r\n"
    "\r\n"
    "Close Tilvane without saving them ?";

// A window whose title bar would show on no monitor goes onto the nearest monitor's work area,
// so that a screen since detached cannot hide it; any other placement stays as stored.
void Bring_Title_Bar_Into_View(HWND window) {
    RECT placed{};
    GetWindowRect(window, &placed);
    RECT title_bar = placed;
    title_bar.bottom = placed.top + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
    if (MonitorFromRect(&title_bar, MONITOR_DEFAULTTONULL)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&placed, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const LONG width = placed.right - placed.left, height = placed.bottom - placed.top;
    const LONG left = std::max(work.left, std::min(placed.left, work.right - width));
    const LONG top = std::max(work.top, std::min(placed.top, work.bottom - height));
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

std::string TMainForm1::Settings_File_Path() const {
    return Program_Directory() + std::string(settings::kSettings_File_Name);
}

void TMainForm1::Load_Settings() {
    const settings::Settings s = settings::Read_Settings(
        settings::Read_Profile_Section(Settings_File_Path(), settings::kSettings_Section, win::System_Code_Page_To_Utf8));
    const auto pixels = [this](int design) { return MulDiv(design, Window_Dpi, kit::kDesign_Dpi); };
    SetWindowPos(Handle(), nullptr, pixels(s.window_left_posn), pixels(s.window_top_posn), pixels(s.window_Width),
                 pixels(s.window_Height), SWP_NOZORDER | SWP_NOACTIVATE);
    Bring_Title_Bar_Into_View(Handle());
    Always_On_Top_Option.Set_Checked(s.Always_on_Top_Option);
    Auto_Run_at_Windows_Startup_Option.Set_Checked(s.Auto_Run_at_Windows_Startup_Option);
    WindowState_wsMaximized = s.WindowState_wsMaximized;
    // The options first: the extraction page previews the mosaic it is given in the formats they take.
    mosaic_options_ = s.mosaic_options;
    tile_choice_menu.Check(mosaic_options_.choice);
    Set_Photo_Formats(mosaic_options_.formats != Picture_Formats::Bmp_Only);
    Mosaic_OptionsChange();
    mosaic_page.Load_Settings(s);
    extract_page.Load_Settings(s);
    file_fields.Load_Settings(s);
}

void TMainForm1::Save_Settings() {
    // The normal placement is what is kept, also of a minimised or maximised window.
    if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
    settings::Settings s;
    s.WindowState_wsMaximized = IsZoomed(Handle()) != FALSE;
    if (s.WindowState_wsMaximized) ShowWindow(Handle(), SW_RESTORE);
    RECT placed{};
    GetWindowRect(Handle(), &placed);
    const auto design = [this](LONG pixels) { return MulDiv(pixels, kit::kDesign_Dpi, Window_Dpi); };
    s.window_top_posn = design(placed.top);
    s.window_left_posn = design(placed.left);
    s.window_Width = design(placed.right - placed.left);
    s.window_Height = design(placed.bottom - placed.top);
    s.Always_on_Top_Option = Always_On_Top_Option.Checked();
    s.Auto_Run_at_Windows_Startup_Option = Auto_Run_at_Windows_Startup_Option.Checked();
    mosaic_page.Save_Settings(s);
    extract_page.Save_Settings(s);
    file_fields.Save_Settings(s);
    s.mosaic_options = mosaic_options_;
    const std::string path = Settings_File_Path();
    settings::Rewrite_Older_Profile_As_Utf8(path, win::System_Code_Page_To_Utf8);
    if (!desktop::Write_Profile_Keys(path, settings::kSettings_Section, settings::Settings_Entries(s))) {
        throw Error::Cannot_Write_Settings(path);
    }
    mosaic_page.Save_Tile_List_File();
}

bool TMainForm1::Close_Without_Saving(std::string_view error) {
    kit::Application& application = kit::Current_Application();
    application.Report_Error(error);
    return application.Boxes().Show(Handle(), {win::To_Wide(kClose_Unsaved_Question), application.Title,
                                               desktop::Box_Icon::Warning, desktop::Box_Buttons::Yes_No}) ==
           desktop::Box_Answer::Yes;
}

void TMainForm1::Restore_Factory_Defaults_OptionClick() {
    kit::Application& application = kit::Current_Application();
    if (application.Boxes().Show(Handle(), {win::To_Wide(kReset_Question), application.Title,
                                            desktop::Box_Icon::Warning, desktop::Box_Buttons::Yes_No}) !=
        desktop::Box_Answer::Yes) {
        return;
    }
    // A file that another program holds stays, and its values come back.
    desktop::Delete_File_If_Closed(Settings_File_Path());
    if (IsZoomed(Handle()) || IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
    FormShow();
}

}  // namespace tilvane::app
