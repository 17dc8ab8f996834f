#include "desktop/profile_file.h"

#include <windows.h>

#include "win/handles.h"
#include "win/text.h"

namespace tilvane::desktop {
namespace {

// The documented flush call: writes out and forgets the system's cached copy of the file (a
// cached copy would outlive the file's deletion by the factory reset).
void Release_Profile(const std::wstring& path) { WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str()); }

bool Flush_To_Disk(const std::wstring& path) {
    const win::Kernel_Handle file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.Get()) != FALSE;
}

}  // namespace

bool Write_Profile_Keys(const std::string& path, std::string_view section,
                        const std::vector<std::pair<std::string_view, std::string>>& keys) {
    const std::wstring wide_path = win::To_Wide(path);
    const std::wstring wide_section = win::To_Wide(section);
    bool written = true;
    for (const auto& [key, value] : keys) {
        written = WritePrivateProfileStringW(wide_section.c_str(), win::To_Wide(key).c_str(),
                                             win::To_Wide(value).c_str(), wide_path.c_str()) != FALSE;
        if (!written) break;
    }
    Release_Profile(wide_path);
    return written && Flush_To_Disk(wide_path);
}

}  // namespace tilvane::desktop
