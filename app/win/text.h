#pragma once
// The core speaks UTF-8; Windows speaks UTF-16.
#include <string>
#include <string_view>

namespace tilvane::win {

[[nodiscard]] std::wstring To_Wide(std::string_view utf8);
[[nodiscard]] std::string To_Utf8(std::wstring_view wide);
// Text in the system's single-byte code page (the files of older versions) as UTF-8.
[[nodiscard]] std::string System_Code_Page_To_Utf8(std::string_view text);

}  // namespace tilvane::win
