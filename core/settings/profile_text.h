#pragma once
// The reading rules of Windows-style profile (INI) files, as pure text functions, so the program
// reads a section's lines exactly as Windows would read each key of it, and the reading of a
// section from the file, which takes an older file in the system's code page as the tile list
// file does.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/utf8.h"

namespace tilvane::settings {

// Longest value a key gives, in characters; longer ones are cut.
inline constexpr std::size_t kProfile_Value_Limit = 2047;

// The lines of the first section whose name in square brackets matches `section` without regard
// to letter case, blanks around each line removed and empty lines left out; the lines before the
// first section header belong to no section.
[[nodiscard]] std::vector<std::string> Profile_Section_Lines(std::string_view text, std::string_view section);

// The lines of `section` in the profile file at `path`, its text read as File_Text_As_Utf8 reads
// it; none when the file is missing or cannot be read.
[[nodiscard]] std::vector<std::string> Read_Profile_Section(const std::string& path, std::string_view section,
                                                            const Legacy_Text_Decoder& decode_legacy);

// Rewrites an older file in the system's code page as UTF-8, every line kept, so that the
// system's profile writes, which read the file as UTF-8, keep its letters. Leaves alone a file
// that is UTF-8 already, a missing or unreadable one, and one it cannot replace (the writes that
// follow then report that).
void Rewrite_Older_Profile_As_Utf8(const std::string& path, const Legacy_Text_Decoder& decode_legacy);

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
