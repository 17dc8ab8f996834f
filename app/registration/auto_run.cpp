#include "registration/auto_run.h"

#include "tiles/file_names.h"

namespace tilvane::registration {

Auto_Run::Auto_Run(const Registry_Access& access, std::string program_path)
    : access_(access),
      program_path_(std::move(program_path)),
      program_file_name_(tilvane::File_Name_Part(program_path_)) {}

bool Auto_Run::Enable_Auto_Run() {
    if (!Write_Registry_String(access_, Registry_Root::Local_Machine, kRun_Key, program_file_name_, program_path_))
        return false;
    Show_Registration_Box(access_.owner,
                          "This program (" + program_file_name_ + ") will now run automatically at Windows Start-Up.",
                          desktop::Box_Icon::Information);
    return true;
}

bool Auto_Run::Disable_Auto_Run() {
    if (!Delete_Registry_Value(access_, Registry_Root::Local_Machine, kRun_Key, program_file_name_)) return false;
    Show_Registration_Box(access_.owner,
                          "This program (" + program_file_name_ +
                              ") will now no-longer run automatically at Windows Start-Up.",
                          desktop::Box_Icon::Information);
    return true;
}

bool Auto_Run::Check_Auto_Run_Location() {
    const std::string stored =
        Read_Registry_String(access_.registry, Registry_Root::Local_Machine, kRun_Key, program_file_name_);
    if (stored.empty()) return false;
    if (tilvane::Ascii_Upper(stored) == tilvane::Ascii_Upper(program_path_)) return true;
    const std::string question =
        "The directory / path settings required to make this program (" + program_file_name_ + ")" + "\r\n" +
        "run automatically at Windows Start-up do not match where the program " + "\r\n" +
        "is currently being run from." + "\r\n" + "\r\n" + " Old      = " + stored + "\r\n" +
        " Current = " + program_path_ + "\r\n" + "\r\n" + "Do you want to update the Windows Registry to " +
        "reflect the programs current locaton ?";
    if (Show_Registration_Box(access_.owner, question, desktop::Box_Icon::Warning, desktop::Box_Buttons::Yes_No))
        Enable_Auto_Run();
    return true;
}

}  // namespace tilvane::registration
