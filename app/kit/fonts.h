#pragma once
#include <windows.h>

namespace tilvane::kit {

// The program's one typeface at a size in points (at the design's 96 pixels an inch, so 11 points
// is 15 pixels high and 12 points 16). Fonts are made once and live until the program ends.
HFONT Times_Font(int points, bool bold, bool underline = false);

}  // namespace tilvane::kit
