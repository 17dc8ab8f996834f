// The File menu's Windows features: running at start-up and shortcuts in the shell's folders.
#include "main_window/main_form.h"
#include "registration/auto_run.h"
#include "registration/shortcuts.h"

namespace tilvane::app {
namespace {

registration::Registry_Access Access(const Program_Services& services, HWND owner) { return {services.registry, owner}; }

}  // namespace

void TMainForm1::Connect_Windows_Integration_Handlers() {
    Auto_Run_at_Windows_Startup_Option.On_Click = [this] { Auto_Run_at_Windows_Startup_OptionClick(); };
    Create_Shortcut_on_Desktop_Option.On_Click = [this] { Create_Shortcut_on_Desktop_OptionClick(); };
    Create_Shortcut_on_Start_Menu_Option.On_Click = [this] { Create_Shortcut_on_Start_Menu_OptionClick(); };
    Create_Shortcut_on_Start_Programs_Menu_Option.On_Click = [this] {
        Create_Shortcut_on_Start_Programs_Menu_OptionClick();
    };
    Create_Shortcut_on_SendTo_Menu_Option.On_Click = [this] { Create_Shortcut_on_SendTo_Menu_OptionClick(); };
    Delete_All_Shortcuts_Option.On_Click = [this] { Delete_All_Shortcuts_OptionClick(); };
}

void TMainForm1::Auto_Run_at_Windows_Startup_OptionClick() {
    registration::Auto_Run auto_run(Access(services_, Handle()), services_.program_path);
    if (Auto_Run_at_Windows_Startup_Option.Checked()) {
        if (auto_run.Disable_Auto_Run()) Auto_Run_at_Windows_Startup_Option.Set_Checked(false);
    } else {
        if (auto_run.Enable_Auto_Run()) Auto_Run_at_Windows_Startup_Option.Set_Checked(true);
    }
}

bool TMainForm1::Check_Auto_Run_Location() {
    return registration::Auto_Run(Access(services_, Handle()), services_.program_path).Check_Auto_Run_Location();
}

void TMainForm1::Create_Shortcut_on_Desktop_OptionClick() {
    registration::Create_Shortcut(Access(services_, Handle()), services_.program_path, "Desktop", "");
}

void TMainForm1::Create_Shortcut_on_Start_Menu_OptionClick() {
    registration::Create_Shortcut(Access(services_, Handle()), services_.program_path, "Start Menu", "");
}

void TMainForm1::Create_Shortcut_on_Start_Programs_Menu_OptionClick() {
    registration::Create_Shortcut(Access(services_, Handle()), services_.program_path, "Start Menu", "Programs");
}

void TMainForm1::Create_Shortcut_on_SendTo_Menu_OptionClick() {
    registration::Create_Shortcut(Access(services_, Handle()), services_.program_path, "SendTo", "");
}

void TMainForm1::Delete_All_Shortcuts_OptionClick() {
    registration::Delete_All_Shortcuts(Access(services_, Handle()), services_.program_path);
}

}  // namespace tilvane::app
