#include "desktop/file_state.h"

#include <windows.h>

#include "desktop/file_system.h"
#include "win/handles.h"

namespace tilvane::desktop {
namespace {

// Switches the system's critical-error boxes off (a drive without its disk must give an error
// code, not a box) and restores the caller's mode.
class Critical_Errors_Off {
public:
    Critical_Errors_Off() : old_mode_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    Critical_Errors_Off(const Critical_Errors_Off&) = delete;
    Critical_Errors_Off& operator=(const Critical_Errors_Off&) = delete;
    ~Critical_Errors_Off() { SetErrorMode(old_mode_); }

private:
    UINT old_mode_;
};

std::string_view State_Of_Failed_Open(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_NOT_READY:
        case ERROR_NOT_DOS_DISK:
        case ERROR_SECTOR_NOT_FOUND:
            return kFile_Not_Found;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return kFile_Open;
        default:
            return kFile_Error;
    }
}

}  // namespace

std::string Get_File_State(const std::string& path) {
    if (path.empty() || !File_Exists(path)) return {};
    const Critical_Errors_Off critical_errors_off;
    // Exclusive read-write, as the old 16-bit open call tested it, but for paths of any length.
    const win::Kernel_Handle file(CreateFileW(Long_Path(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::string(State_Of_Failed_Open(GetLastError()));
    return std::string(kFile_Closed);
}

bool Delete_File_If_Closed(const std::string& path) {
    if (!File_Exists(path)) return false;
    const std::wstring wide = Long_Path(path);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (Get_File_State(path) != kFile_Closed) return false;
    DeleteFileW(wide.c_str());
    return !File_Exists(path);
}

}  // namespace tilvane::desktop
