#include "desktop/file_system.h"

#include <windows.h>


#include "tiles/file_names.h"
#include "win/text.h"
#include "win/windows_error.h"

namespace tilvane::desktop {
namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributesW(Long_Path(path).c_str()); }

}  // namespace

std::wstring Long_Path(const std::string& path) {
    std::wstring wide = win::To_Wide(path);
    if (wide.size() < MAX_PATH || wide.starts_with(L"\\\\?\\")) return wide;
    if (wide.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + wide.substr(2);
    if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
    return wide;  // relative: the prefix would not resolve it
}

bool File_Exists(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Directory_Exists(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Program_Path() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw win::Windows_Error(win::Windows_Failure::Program_Path_Unknown);
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // cut short: try with more room
    }
    return win::To_Utf8(path);
}

std::string Program_Directory() { return std::string(tilvane::Directory_Part(Program_Path())); }

std::string Locale_Sort_Key(const std::string& text) {
    if (text.empty()) return {};
    const std::wstring wide = win::To_Wide(text);
    constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int source_length = static_cast<int>(wide.size());
    std::string key(wide.size() * 4 + 16, '\0');  // usually enough; asked for otherwise
    int size = LCMapStringW(LOCALE_USER_DEFAULT, kFlags, wide.c_str(), source_length,
                            reinterpret_cast<LPWSTR>(key.data()), static_cast<int>(key.size()));
    if (size == 0) {
        size = LCMapStringW(LOCALE_USER_DEFAULT, kFlags, wide.c_str(), source_length, nullptr, 0);
        if (size == 0) throw win::Windows_Error(win::Windows_Failure::No_Sort_Key, text);
        key.assign(static_cast<std::size_t>(size), '\0');
        LCMapStringW(LOCALE_USER_DEFAULT, kFlags, wide.c_str(), source_length, reinterpret_cast<LPWSTR>(key.data()),
                     size);
    }
    key.resize(static_cast<std::size_t>(size) - 1);  // the key's own terminating zero byte
    return key;
}

}  // namespace tilvane::desktop
