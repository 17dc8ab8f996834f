#pragma once
// Shortcuts to the program in the current user's Desktop, Start Menu, Start Menu "Programs" and
// SendTo folders, found through the user's Shell Folders registry key.
#include <array>
#include <string>

#include "registration/registry_operations.h"

namespace tilvane::registration {

inline constexpr char kShell_Folders_Key[] = "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// The only folder names accepted, compared exactly.
inline constexpr std::array<const char*, 3> Shell_Folder_Names = {"Desktop", "Start Menu", "SendTo"};

// Writes "<folder>\[<subfolder>\]<program name>.lnk" pointing at target. An unknown folder shows
// an information box; everything else is silent.
void Create_Shortcut(const Registry_Access& access, const std::string& target, const std::string& folder,
                     const std::string& subfolder);

// Deletes the program's shortcut from one of the Shell_Folder_Names folders; true when deleted.
// Shows nothing.
bool Delete_Shortcut(desktop::Registry& registry, const std::string& program_path, const std::string& folder);

// Deletes the program's shortcuts from every Shell_Folder_Names folder and says how it went.
void Delete_All_Shortcuts(const Registry_Access& access, const std::string& program_path);

}  // namespace tilvane::registration
