#include "desktop/desktop_shell.h"

#include <windows.h>

#include <shellapi.h>


#include "win/handles.h"
#include "win/text.h"
#include "win/windows_error.h"

namespace tilvane::desktop {

void Windows_Shell::Shell_Open_File(const std::string& path) {
    ShellExecuteW(nullptr, L"open", win::To_Wide(path).c_str(), L"", L"", SW_SHOWNORMAL);
}

std::string Windows_Shell::Windows_Directory() {
    std::wstring directory(MAX_PATH, L'\0');
    UINT length = GetWindowsDirectoryW(directory.data(), static_cast<UINT>(directory.size()));
    if (length >= directory.size()) {  // too small: the answer is the size needed
        directory.resize(length);
        length = GetWindowsDirectoryW(directory.data(), static_cast<UINT>(directory.size()));
    }
    if (length == 0) throw win::Windows_Error(win::Windows_Failure::Windows_Directory_Unknown);
    directory.resize(length);
    return win::To_Utf8(directory);
}

void Windows_Shell::Start_Program(const std::string& command_line) {
    // Sized to the command line, however long: a fixed buffer would cut a long path short. Not
    // WinExec, which waits until the new program sits idle.
    std::wstring buffer = win::To_Wide(command_line);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        const win::Kernel_Handle thread(process.hThread), started(process.hProcess);
    }
}

}  // namespace tilvane::desktop
