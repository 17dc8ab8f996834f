#pragma once
// Running the program at every Windows start-up: one string value in the machine-wide Run key,
// named after the program file and holding the program's full path.
#include <string>

#include "registration/registry_operations.h"

namespace tilvane::registration {

// Shown as given, leading backslash included, in the registry error boxes.
inline constexpr char kRun_Key[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class Auto_Run {
public:
    // program_path: the running program's full path as the platform spells it.
    Auto_Run(const Registry_Access& access, std::string program_path);

    // True when the Run entry was written (then confirmed in an information box).
    bool Enable_Auto_Run();
    // True when the Run entry is gone (then confirmed in an information box).
    bool Disable_Auto_Run();
    // True when a Run entry exists under the program file name, whether or not its path matched;
    // a stale path is offered for correction first.
    bool Check_Auto_Run_Location();

private:
    Registry_Access access_;
    std::string program_path_;
    std::string program_file_name_;
};

}  // namespace tilvane::registration
