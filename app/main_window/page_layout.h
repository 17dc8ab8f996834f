#pragma once
// The common layout of the main window's pages: numbered steps in group boxes across the page,
// and a row of three buttons at the bottom ("Help", the page's action, "Exit").
#include <string_view>

#include "grid/tile_grid.h"
#include "kit/control.h"

namespace tilvane::app {

inline constexpr int kGroup_Left = 6, kGroup_Width = 561;
inline constexpr int kButton_Top = 370, kButton_Width = 110, kButton_Height = 28;
inline constexpr int kHelp_Left = 60, kAction_Left = 231, kExit_Left = 402;

// The size and gap fields of both pages take their ranges from the grid's (grid/tile_grid.h) and
// count a typed number past them as the nearest value in them.

inline constexpr wchar_t kExit_Hint[] = L"Exit this program";
inline constexpr wchar_t kHelp_Hint[] = L"Display the on-line help and step-by-step guide";

// A step's group box, across the page.
inline kit::Control_Args Step(std::string_view name, int top, int height, std::wstring_view caption) {
    return {name, {kGroup_Left, top, kGroup_Width, height}, caption};
}

// A button of the bottom row, at its left edge.
inline kit::Control_Args Bottom_Button(std::string_view name, int left, std::wstring_view caption,
                                       std::wstring_view hint) {
    return {name, {left, kButton_Top, kButton_Width, kButton_Height}, caption, hint};
}

}  // namespace tilvane::app
