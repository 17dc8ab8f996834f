#include "registration/shortcuts.h"

#include <algorithm>

#include "desktop/file_state.h"
#include "desktop/file_system.h"
#include "desktop/shell_link.h"
#include "tiles/file_names.h"

namespace tilvane::registration {
namespace {

constexpr char kQuote = '"';

bool Is_Shell_Folder_Name(const std::string& folder) {
    return std::any_of(Shell_Folder_Names.begin(), Shell_Folder_Names.end(),
                       [&folder](const char* name) { return folder == name; });
}

// The folder's path, or empty when the name is not in the table or the registry has no path for it.
std::string Shell_Folder_Path(desktop::Registry& registry, const std::string& folder) {
    if (!Is_Shell_Folder_Name(folder)) return {};
    return Read_Registry_String(registry, Registry_Root::Current_User, kShell_Folders_Key, folder);
}

}  // namespace

void Create_Shortcut(const Registry_Access& access, const std::string& target, const std::string& folder,
                     const std::string& subfolder) {
    const std::string_view file_name = tilvane::File_Name_Part(target);
    const std::string name =
        std::string(file_name.substr(0, file_name.size() - tilvane::Extension_Part(file_name).size())) + ".lnk";
    const std::string folder_path = Shell_Folder_Path(access.registry, folder);
    if (folder_path.empty()) {
        Show_Registration_Box(access.owner,
                              std::string("REGISTRY_INC__Create_Shortcut Error: The key ") + kQuote + folder + kQuote +
                                  " is invalid or could not be found in the registry.",
                              desktop::Box_Icon::Information);
        return;
    }
    const std::string place = subfolder.empty() ? folder_path + "\\" : folder_path + "\\" + subfolder + "\\";
    // Started from the shortcut, the program finds what lies beside it by relative names too.
    desktop::Save_Shell_Link(target, std::string(tilvane::Directory_Part(target)), place + name);
}

bool Delete_Shortcut(desktop::Registry& registry, const std::string& program_path, const std::string& folder) {
    const std::string folder_path = Shell_Folder_Path(registry, folder);
    // Without a folder the path would start at the root of the drive: nothing of ours is there.
    if (folder_path.empty()) return false;
    const std::string file = folder_path + "\\" + tiles::File_Name_Without_Extension(program_path) + ".lnk";
    return desktop::File_Exists(file) && desktop::Delete_File_If_Closed(file);
}

void Delete_All_Shortcuts(const Registry_Access& access, const std::string& program_path) {
    bool any_deleted = false;
    for (const char* folder : Shell_Folder_Names) any_deleted |= Delete_Shortcut(access.registry, program_path, folder);
    const std::string name = tiles::File_Name_Without_Extension(program_path);
    const std::string text =
        any_deleted ? std::string("Success: All Desktop, Start Menu, and SendTo shortcuts to ") + kQuote + name + kQuote +
                          " have been deleted."
                    : std::string("No Desktop, Start Menu, or SendTo shortcuts called ") + kQuote + name + kQuote +
                          " could be found !  i.e. they may have been renamed to something else " + "or deleted already.";
    Show_Registration_Box(access.owner, text, desktop::Box_Icon::Information);
}

}  // namespace tilvane::registration
