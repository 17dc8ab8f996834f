#include "support/path_text.h"

#include <algorithm>

namespace tilvane {

std::string_view Directory_Part(std::string_view path) {
    const std::size_t last = path.find_last_of("\\:");
    return last == std::string_view::npos ? std::string_view{} : path.substr(0, last + 1);
}

std::string_view File_Name_Part(std::string_view path) { return path.substr(Directory_Part(path).size()); }

std::string_view Extension_Part(std::string_view path) {
    const std::string_view name = File_Name_Part(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

std::string Ascii_Upper(std::string_view text) {
    std::string upper(text);
    // Only a to z: the result must not depend on the locale.
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return upper;
}

}  // namespace tilvane
