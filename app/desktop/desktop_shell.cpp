#include "desktop/desktop_shell.h"

#include <windows.h>

#include <shellapi.h>

#include "kit/text.h"

namespace tilvane::desktop {

void Windows_Shell::Shell_Open_File(const std::string& path) {
    ShellExecuteW(nullptr, L"open", kit::To_Wide(path).c_str(), L"", L"", SW_SHOWNORMAL);
}

}  // namespace tilvane::desktop
