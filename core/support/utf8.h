#pragma once
// The core's text is UTF-8; this tells text that is from text in some other encoding.
#include <string_view>

namespace tilvane {

// True for well-formed UTF-8 only: no overlong forms, no surrogates, nothing past U+10FFFF, no
// sequence cut short. Plain ASCII is UTF-8.
[[nodiscard]] bool Is_Valid_Utf8(std::string_view text);

}  // namespace tilvane
