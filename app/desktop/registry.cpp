#include "desktop/registry.h"

#include <windows.h>

#include "win/handles.h"
#include "win/text.h"

namespace tilvane::desktop {
namespace {

HKEY Root_Handle(Registry_Root root) {
    return root == Registry_Root::Local_Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// RegOpenKeyEx refuses a path that starts with a backslash, which the program uses to mean "from
// the root": the root is where every path starts here anyway.
std::wstring Api_Key_Path(const std::string& key_path) {
    const std::size_t start = key_path.find_first_not_of('\\');
    return win::To_Wide(start == std::string::npos ? std::string{} : key_path.substr(start));
}

// The key opened with full access; none when it does not open.
win::Registry_Key Open_Key(Registry_Root root, const std::string& key_path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(Root_Handle(root), Api_Key_Path(key_path).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return {};
    return win::Registry_Key(key);
}

}  // namespace

bool Windows_Registry::Key_Opens(Registry_Root root, const std::string& key_path) {
    return static_cast<bool>(Open_Key(root, key_path));
}

void Windows_Registry::Write_String(Registry_Root root, const std::string& key_path, const std::string& name,
                                    const std::string& text) {
    const win::Registry_Key key = Open_Key(root, key_path);
    const std::wstring data = win::To_Wide(text);
    const LONG result =
        key ? RegSetValueExW(key.Get(), win::To_Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)))
            : ERROR_ACCESS_DENIED;
    if (result != ERROR_SUCCESS)
        throw Registry_Error(win::Windows_Failure::Registry_Write_Refused, key_path, name, result);
}

std::optional<std::string> Windows_Registry::Read_String(Registry_Root root, const std::string& key_path,
                                                         const std::string& name) {
    const win::Registry_Key key = Open_Key(root, key_path);
    if (!key) return std::nullopt;
    const std::wstring wide_name = win::To_Wide(name);
    DWORD type = 0;
    DWORD bytes = 0;
    LONG result = RegQueryValueExW(key.Get(), wide_name.c_str(), nullptr, &type, nullptr, &bytes);
    if (result == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (result == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ)
        throw Registry_Error(win::Windows_Failure::Registry_Value_Not_Text, key_path, name);
    std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (result == ERROR_SUCCESS)
        result = RegQueryValueExW(key.Get(), wide_name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                  &bytes);
    if (result != ERROR_SUCCESS)
        throw Registry_Error(win::Windows_Failure::Registry_Read_Failed, key_path, name, result);
    data.resize(bytes / sizeof(wchar_t));
    while (!data.empty() && data.back() == L'\0') data.pop_back();  // stored with or without its terminator
    return win::To_Utf8(data);
}

void Windows_Registry::Delete_Value(Registry_Root root, const std::string& key_path, const std::string& name) {
    const win::Registry_Key key = Open_Key(root, key_path);
    if (key) RegDeleteValueW(key.Get(), win::To_Wide(name).c_str());
}

}  // namespace tilvane::desktop
