#pragma once
#include <windows.h>

namespace tilvane::kit {

// The pixels per inch that every window is designed at.
inline constexpr int kDesign_Dpi = 96;
// The pixels per inch of the screen, as the program starts.
int Screen_Dpi();

// The program's one typeface at a size in points (at the design's 96 pixels an inch, so 11 points
// is 15 pixels high and 12 points 16). Fonts are made once and live until the program ends.
HFONT Times_Font(int points, bool bold, bool underline = false);

}  // namespace tilvane::kit
