#pragma once
// Shortcut files written through the shell's link object.
#include <string>

namespace tilvane::desktop {

// Saves a shell link at link_path that starts target_path in working_directory. Failures to create
// the link object throw; a failure to set the paths or to save the file is silent, as nothing can
// be done about it here.
void Save_Shell_Link(const std::string& target_path, const std::string& working_directory,
                     const std::string& link_path);

}  // namespace tilvane::desktop
