#include "win/text.h"

#include <windows.h>

namespace tilvane::win {
namespace {

std::wstring Widen(UINT code_page, std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

// The system's own code page, not CP_ACP: the program's manifest makes CP_ACP UTF-8 on current
// Windows, while older files were written in the code page of the system's locale.
UINT System_Code_Page() {
    DWORD code_page = 0;
    const int got = GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                                   reinterpret_cast<LPWSTR>(&code_page), sizeof code_page / sizeof(wchar_t));
    return got && code_page ? code_page : CP_ACP;
}

}  // namespace

std::wstring To_Wide(std::string_view utf8) { return Widen(CP_UTF8, utf8); }

std::string To_Utf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    std::string utf8(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}

std::string System_Code_Page_To_Utf8(std::string_view text) { return To_Utf8(Widen(System_Code_Page(), text)); }

}  // namespace tilvane::win
