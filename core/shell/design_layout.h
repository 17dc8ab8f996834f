#pragma once
// The main window's layout list: one text line per component, recorded once at the design size,
// from which every resize re-lays the controls proportionally.
#include <string>
#include <string_view>

namespace tilvane::shell {

struct Control_Geometry {
    int left = 0, width = 0, top = 0, height = 0;
    int font_size = 0;  // points
};

// Line 0: "W H W/H Mainform1".
[[nodiscard]] std::string Design_Size_Line(int client_width, int client_height);
// A control's line: "left width top height fontsize name".
[[nodiscard]] std::string Control_Line(const Control_Geometry& geometry, std::string_view name);
// What a component that is not a control records.
inline constexpr std::string_view kNon_Visual_Line = "0";

// Field n (from 1) of a line: the text after its (n - 1)-th space up to the next space, read as a
// whole number made of its digits, a sign counting only in first place. A missing field reads 0.
[[nodiscard]] int Layout_Field(std::string_view line, int n);

struct Layout_Ratios {
    double width = 1, height = 1, font = 1;
};
// Current client size over the design size of line 0; the font follows the smaller ratio, the
// width ratio on a tie.
[[nodiscard]] Layout_Ratios Ratios_For(int client_width, int client_height, std::string_view design_line);

// A control line's geometry at the ratios, each product truncated toward zero.
[[nodiscard]] Control_Geometry Scaled_Geometry(std::string_view control_line, const Layout_Ratios& ratios);

}  // namespace tilvane::shell
