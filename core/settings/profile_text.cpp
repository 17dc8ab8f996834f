#include "settings/profile_text.h"

#include <charconv>
#include <cstdint>

#include "support/error.h"
#include "support/file_io.h"

namespace tilvane::settings {
namespace {

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kSpaces = " \t";
    const std::size_t first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpaces) - first + 1);
}

bool Same_Name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Cut to the limit in characters, never inside one.
std::string_view Cut(std::string_view utf8) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80;
        if (!continuation && characters++ == kProfile_Value_Limit) return utf8.substr(0, i);
    }
    return utf8;
}

template <class Number>
bool Parse_All(std::string_view digits, Number& value, int base) {
    if (digits.empty()) return false;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    return error == std::errc{} && end == digits.data() + digits.size();
}

}  // namespace

std::vector<std::string> Profile_Section_Lines(std::string_view text, std::string_view section) {
    std::vector<std::string> lines;
    bool inside = false;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::size_t close = line.rfind(']');
        if (line.starts_with('[') && close != std::string_view::npos) {
            if (inside) break;  // the first section of the name is the one read
            inside = Same_Name(line.substr(1, close - 1), section);
        } else if (inside && !line.empty()) {
            lines.emplace_back(line);
        }
    }
    return lines;
}

std::vector<std::string> Read_Profile_Section(const std::string& path, std::string_view section,
                                              const Legacy_Text_Decoder& decode_legacy) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = Read_Whole_File(path);
    } catch (const Error&) {
        return {};  // missing or unreadable: every key takes its default
    }
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return Profile_Section_Lines(File_Text_As_Utf8(raw, decode_legacy), section);
}

void Rewrite_Older_Profile_As_Utf8(const std::string& path, const Legacy_Text_Decoder& decode_legacy) {
    try {
        const std::vector<std::uint8_t> bytes = Read_Whole_File(path);
        const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (Is_Valid_Utf8(raw)) return;
        const std::string text = File_Text_As_Utf8(raw, decode_legacy);
        Write_File_Atomically(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    } catch (const Error&) {
    }
}

std::optional<std::string> Profile_Value(const std::vector<std::string>& section_lines, std::string_view key) {
    const std::string_view wanted = Trimmed(key);
    for (const std::string& line : section_lines) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string_view name = Trimmed(std::string_view(line).substr(0, equals));
        if (name.starts_with(';') || !Same_Name(name, wanted)) continue;
        std::string_view value = Trimmed(std::string_view(line).substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return std::string(Cut(value));
    }
    return std::nullopt;
}

int Profile_Integer(const std::optional<std::string>& text, int fallback) {
    if (!text) return fallback;
    std::string_view digits = *text;
    std::uint32_t hex = 0;
    if (digits.starts_with('$')) return Parse_All(digits.substr(1), hex, 16) ? static_cast<std::int32_t>(hex) : fallback;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        return Parse_All(digits.substr(2), hex, 16) ? static_cast<std::int32_t>(hex) : fallback;
    }
    // The conversion takes a "-" but no "+"; a sign after the "+" is one too many.
    if (digits.starts_with('+')) {
        digits.remove_prefix(1);
        if (digits.starts_with('-')) return fallback;
    }
    int value = 0;
    return Parse_All(digits, value, 10) ? value : fallback;
}

bool Profile_Boolean(const std::optional<std::string>& text, bool fallback) {
    return Profile_Integer(text, fallback ? 1 : 0) != 0;
}

}  // namespace tilvane::settings
