#pragma once
// The reading rules of Windows-style profile (INI) files, as pure text functions, so the program
// reads a section's lines exactly as Windows would read each key of it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilvane::settings {

// Longest value a key gives, in characters; longer ones are cut.
inline constexpr std::size_t kProfile_Value_Limit = 2047;

// The value of `key` among a section's "key=value" lines (UTF-8): the first line whose key
// matches without regard to letter case, spaces around key and value ignored, one pair of
// enclosing double or single quotation marks removed, cut to the limit. Nothing when no line has
// the key; comment lines (";") never match.
[[nodiscard]] std::optional<std::string> Profile_Value(const std::vector<std::string>& section_lines,
                                                       std::string_view key);

// An integer value: decimal with an optional sign; hexadecimal after "$", or after "0x"/"0X"
// when the text is longer than those two characters; 32 bits, a hexadecimal value taking the
// high bit as the sign. Anything else, or no value, gives `fallback`.
[[nodiscard]] int Profile_Integer(const std::optional<std::string>& text, int fallback);

// A boolean is an integer: any value but 0 is true.
[[nodiscard]] bool Profile_Boolean(const std::optional<std::string>& text, bool fallback);

}  // namespace tilvane::settings
