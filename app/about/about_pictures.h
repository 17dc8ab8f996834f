#pragma once
// The About box's pictures, drawn by code at any size: the banner, the animated mosaic logo, the
// country-of-origin flag and the donation heart.
#include <windows.h>

namespace tilvane::app {

// One turn of the logo's colour wave, in frames.
inline constexpr int kLogo_Frames = 36;

void Paint_Banner(HDC dc, const RECT& area);
// The logo at `frame` (any whole number; it repeats every kLogo_Frames).
void Paint_Logo(HDC dc, const RECT& area, int frame);
void Paint_Flag(HDC dc, const RECT& area);
void Paint_Heart(HDC dc, const RECT& area);
// A raised bevel around the area's edge.
void Paint_Bevel(HDC dc, const RECT& area);

}  // namespace tilvane::app
