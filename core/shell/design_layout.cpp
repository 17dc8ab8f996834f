#include "shell/design_layout.h"

namespace tilvane::shell {

std::string Design_Size_Line(int client_width, int client_height) {
    return std::to_string(client_width) + ' ' + std::to_string(client_height) + " W/H Mainform1";
}

std::string Control_Line(const Control_Geometry& g, std::string_view name) {
    std::string line;
    for (int value : {g.left, g.width, g.top, g.height, g.font_size}) line += std::to_string(value) + ' ';
    return line.append(name);
}

int Layout_Field(std::string_view line, int n) {
    std::size_t start = 0;
    for (int spaces = 1; spaces < n; ++spaces) {
        const std::size_t space = line.find(' ', start);
        if (space == std::string_view::npos) return 0;
        start = space + 1;
    }
    std::string_view field = line.substr(start, line.find(' ', start) - start);
    const bool negative = !field.empty() && field.front() == '-';
    long long value = 0;
    for (char c : field) {
        if (c >= '0' && c <= '9' && value < 1'000'000'000) value = value * 10 + (c - '0');
    }
    return static_cast<int>(negative ? -value : value);
}

Layout_Ratios Ratios_For(int client_width, int client_height, std::string_view design_line) {
    const int design_width = Layout_Field(design_line, 1);
    const int design_height = Layout_Field(design_line, 2);
    Layout_Ratios ratios;
    if (design_width > 0) ratios.width = static_cast<double>(client_width) / design_width;
    if (design_height > 0) ratios.height = static_cast<double>(client_height) / design_height;
    ratios.font = ratios.height < ratios.width ? ratios.height : ratios.width;
    return ratios;
}

Control_Geometry Scaled_Geometry(std::string_view line, const Layout_Ratios& r) {
    // static_cast truncates toward zero, as the layout rule asks.
    auto scaled = [&](int field, double ratio) { return static_cast<int>(Layout_Field(line, field) * ratio); };
    return {scaled(1, r.width), scaled(2, r.width), scaled(3, r.height), scaled(4, r.height), scaled(5, r.font)};
}

}  // namespace tilvane::shell
