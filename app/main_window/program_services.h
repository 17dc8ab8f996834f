#pragma once
// The services that the program's windows are given: the clock, the random generator, and the
// desktop's boxes, pickers, shell and registry (real ones in the program, scripted ones in tests).
#include <string>

#include "desktop/desktop_shell.h"
#include "desktop/file_picker.h"
#include "desktop/message_boxes.h"
#include "desktop/registry.h"
#include "progress/progress_clock.h"
#include "support/random_source.h"

namespace tilvane::app {

struct Program_Services {
    progress::Clock& clock;
    Random_Source& random;  // the one generator that mosaic tiles are drawn from
    desktop::Message_Boxes& boxes;
    desktop::File_Picker& picker;
    desktop::Desktop_Shell& shell;
    desktop::Registry& registry;
    // Where the settings and tile list files live and names typed without a directory are taken
    // to be; ends with a backslash.
    std::string program_directory;
    // The running program's full path as the platform spells it: the start-up entry and the
    // shortcuts point at it, and are named after its file name.
    std::string program_path;
};

}  // namespace tilvane::app
