#pragma once
// Parts of path text (UTF-8 bytes, the backslash as separator), for any layer that reads names.
#include <string>
#include <string_view>

namespace tilvane {

// The text up to and including the last backslash or colon; empty when there is neither.
[[nodiscard]] std::string_view Directory_Part(std::string_view path);

// The part after the directory part: the file name.
[[nodiscard]] std::string_view File_Name_Part(std::string_view path);

// From the last "." of the part after the directory part, that "." included, to the end; empty
// when that part has no ".".
[[nodiscard]] std::string_view Extension_Part(std::string_view path);

// Letters a to z made upper case, nothing else: comparisons that must not depend on the locale.
[[nodiscard]] std::string Ascii_Upper(std::string_view text);

}  // namespace tilvane
