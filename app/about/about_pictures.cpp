#include "about/about_pictures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kit/fonts.h"
#include "win/handles.h"

namespace tilvane::app {
namespace {

// A GDI brush that lives for one fill.
void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    const win::Gdi_Object<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.Get());
}

COLORREF Blend(COLORREF a, COLORREF b, double t) {
    const auto mix = [t](int x, int y) { return static_cast<BYTE>(std::lround(x + (y - x) * t)); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

// Hue in turns (0 to 1), full saturation, value v.
COLORREF Hue(double turns, double v) {
    const double h = (turns - std::floor(turns)) * 6.0;
    const double f = h - std::floor(h);
    const double up = v * f, down = v * (1 - f);
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
        case 0: r = v, g = up; break;
        case 1: r = down, g = v; break;
        case 2: g = v, b = up; break;
        case 3: g = down, b = v; break;
        case 4: r = up, b = v; break;
        default: r = v, b = down; break;
    }
    return RGB(std::lround(r * 255), std::lround(g * 255), std::lround(b * 255));
}

void Draw_Text(HDC dc, RECT rect, const wchar_t* text, int points, bool bold, COLORREF colour, UINT format) {
    const win::Selected font(dc, kit::Times_Font(points, bold));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextW(dc, text, -1, &rect, format | DT_NOPREFIX);
}

}  // namespace

void Paint_Banner(HDC dc, const RECT& area) {
    const int height = std::max<int>(1, area.bottom - area.top);
    // Designed on a banner 64 pixels high; drawn in proportion at any screen scale.
    const auto scaled = [height](int design) { return std::max(1, design * height / 64); };
    for (int y = area.top; y < area.bottom; ++y) {
        const RECT line{area.left, y, area.right, y + 1};
        Fill(dc, line, Blend(RGB(16, 32, 96), RGB(24, 120, 150), double(y - area.top) / height));
    }
    // A strip of tiles on the right, in the wave's colours, stands for what the program makes.
    const int tile = std::max(4, height / 4);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int left = area.right - (column + 1) * (tile + 2) - scaled(8);
            const int top = area.top + scaled(6) + row * (tile + 2);
            const RECT cell{left, top, left + tile, top + tile};
            Fill(dc, cell, Hue(0.08 * column + 0.11 * row, 0.55 + 0.15 * ((column + row) % 3)));
        }
    }
    RECT title{area.left + scaled(16), area.top + scaled(4), area.right, area.top + height * 2 / 3};
    Draw_Text(dc, title, L"Varnok Software", scaled(22), true, RGB(255, 255, 255), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    RECT subtitle{area.left + scaled(18), area.top + height * 3 / 5, area.right, area.bottom - 2};
    Draw_Text(dc, subtitle, L"Picture mosaics from your own pictures", scaled(11), false, RGB(210, 230, 240),
              DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void Paint_Logo(HDC dc, const RECT& area, int frame) {
    Fill(dc, area, RGB(20, 20, 28));
    constexpr int kCells = 5, kGap = 3;
    const int width = area.right - area.left, height = area.bottom - area.top;
    const double phase = double(frame % kLogo_Frames) / kLogo_Frames;
    for (int row = 0; row < kCells; ++row) {
        for (int column = 0; column < kCells; ++column) {
            // A diagonal wave of light runs through the tiles while their hues turn slowly.
            const double wave = std::sin(2 * std::numbers::pi * (phase - (row + column) / (2.0 * kCells)));
            const COLORREF colour = Hue(phase + 0.04 * (row + column), 0.6 + 0.35 * wave);
            const RECT cell{area.left + kGap + column * (width - kGap) / kCells,
                            area.top + kGap + row * (height - kGap) / kCells,
                            area.left + (column + 1) * (width - kGap) / kCells,
                            area.top + (row + 1) * (height - kGap) / kCells};
            Fill(dc, cell, colour);
        }
    }
}

void Paint_Flag(HDC dc, const RECT& area) {
    // Red field, white cross, blue cross inside it; the crosses sit nearer the hoist, 22 by 16.
    const int width = area.right - area.left, height = area.bottom - area.top;
    const auto x = [&](int units) { return area.left + units * width / 22; };
    const auto y = [&](int units) { return area.top + units * height / 16; };
    Fill(dc, area, RGB(186, 12, 47));
    Fill(dc, {x(6), area.top, x(10), area.bottom}, RGB(255, 255, 255));
    Fill(dc, {area.left, y(6), area.right, y(10)}, RGB(255, 255, 255));
    Fill(dc, {x(7), area.top, x(9), area.bottom}, RGB(0, 32, 91));
    Fill(dc, {area.left, y(7), area.right, y(9)}, RGB(0, 32, 91));
}

void Paint_Heart(HDC dc, const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    const int size = std::min(width, height);
    const int left = area.left + (width - size) / 2, top = area.top + (height - size) / 2;
    const win::Gdi_Object<HBRUSH> brush(CreateSolidBrush(RGB(210, 30, 60)));
    const win::Selected selected_brush(dc, brush.Get());
    const win::Selected selected_pen(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, left, top, left + size / 2 + 1, top + size / 2 + 1);
    Ellipse(dc, left + size / 2 - 1, top, left + size, top + size / 2 + 1);
    const POINT point[] = {{left, top + size / 4 + 1}, {left + size, top + size / 4 + 1}, {left + size / 2, top + size}};
    Polygon(dc, point, 3);
}

void Paint_Bevel(HDC dc, const RECT& area) {
    RECT edge = area;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
}

}  // namespace tilvane::app
