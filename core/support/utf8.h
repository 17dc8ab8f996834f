#pragma once
// The core's text is UTF-8; this tells text that is from text in some other encoding, and reads
// the text files of older versions, which were written in the system's single-byte code page.
#include <functional>
#include <string>
#include <string_view>

namespace tilvane {

// True for well-formed UTF-8 only: no overlong forms, no surrogates, nothing past U+10FFFF, no
// sequence cut short. Plain ASCII is UTF-8.
[[nodiscard]] bool Is_Valid_Utf8(std::string_view text);

// Turns text in the system's single-byte code page into UTF-8. The program passes the Windows
// conversion; the portable core knows no code pages.
using Legacy_Text_Decoder = std::function<std::string(std::string_view)>;

// A text file's bytes as UTF-8: a leading UTF-8 byte-order mark is dropped, and bytes that are
// not valid UTF-8 are taken to be an older file in the code page and decoded whole through
// decode_legacy (a file is one encoding throughout), or kept as they are without it.
[[nodiscard]] std::string File_Text_As_Utf8(std::string_view bytes, const Legacy_Text_Decoder& decode_legacy);

}  // namespace tilvane
