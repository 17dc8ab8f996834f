#pragma once
// Writing Windows profile (INI) files through the system's own profile calls, on UTF-8 texts. The
// call releases the file afterwards, so the system keeps no copy of it between a load and a save.
// (The core reads them: settings/profile_text.h.)
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tilvane::desktop {

// Writes each key in turn (replacing its line, or adding it at the end of the section, the
// section at the end of the file, the file itself), then flushes the file to disk. False at the
// first write that fails; the keys after it are not written.
[[nodiscard]] bool Write_Profile_Keys(const std::string& path, std::string_view section,
                                      const std::vector<std::pair<std::string_view, std::string>>& keys);

}  // namespace tilvane::desktop
