#pragma once
// Paths travel through the core, the program and the tool as UTF-8 text; the file system wants
// the system's own form, UTF-16 on Windows, so that every name can be reached.
#include <filesystem>
#include <string>
#include <string_view>

namespace tilvane {

[[nodiscard]] inline std::filesystem::path Native_Path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

[[nodiscard]] inline std::string Utf8_Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace tilvane
