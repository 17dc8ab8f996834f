// Program entry: creates the three windows, shows the main window and runs the message loop
// until the main window has closed.
#include <windows.h>

#include "desktop/desktop_shell.h"
#include "desktop/file_picker.h"
#include "desktop/file_system.h"
#include "desktop/local_clock.h"
#include "desktop/message_boxes.h"
#include "desktop/registry.h"
#include "kit/form.h"
#include "main_window/program.h"
#include "progress/progress_form_reporter.h"
#include "support/random_source.h"
#include "win/windows_error.h"

namespace {

// For scripts/screenshot.sh only: TILVANE_SCREENSHOT=extract shows the second page, =about the
// About box, =options the "Mosaic Options ..." dialog, =progress runs a slow demonstration of the
// progress dialog. The program itself reads no environment.
void Prepare_Screenshot(tilvane::app::Program& program) {
    wchar_t mode[16] = L"";
    if (!GetEnvironmentVariableW(L"TILVANE_SCREENSHOT", mode, 16)) return;
    const std::wstring which = mode;
    if (which == L"extract") program.MainForm1.PageControl1.Set_Active_Page_Index(1);
    if (which == L"about") program.MainForm1.AboutOptionClick();
    if (which == L"options") program.MainForm1.Mosaic_Options_OptionClick();
    if (which != L"progress") return;
    tilvane::app::Progress_Form_Reporter progress(program.Progress_Form);
    const tilvane::app::Long_Runs::Run run(program.MainForm1.long_runs);
    constexpr int kRows = 6000;
    progress.Initialise_Processing(0, 0, kRows);
    for (int row = 1; row <= kRows && !progress.Abort_Requested(); ++row) {
        Sleep(10);
        progress.Update_Processing(row);
    }
    progress.End_Processing();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    tilvane::desktop::Local_Clock clock;
    tilvane::Twister_Random_Source random;
    tilvane::desktop::Windows_Message_Boxes boxes;
    tilvane::desktop::Windows_File_Picker picker;
    tilvane::desktop::Windows_Shell shell;
    tilvane::desktop::Windows_Registry registry;
    try {
        tilvane::app::Program program({clock, random, boxes, picker, shell, registry,
                                        tilvane::desktop::Program_Directory(), tilvane::desktop::Program_Path()});
        program.MainForm1.Show_Main_Window();
        Prepare_Screenshot(program);
        return tilvane::kit::Run_Message_Loop();
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, tilvane::win::Error_Text(error).c_str(), "Tilvane", MB_OK | MB_ICONERROR);
        return 1;
    }
}
