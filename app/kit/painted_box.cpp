#include "kit/painted_box.h"

#include <commctrl.h>

#include "win/handles.h"

namespace tilvane::kit {

Painted_Box::Painted_Box(const Window_Host& parent, const Control_Args& args)
    : Control(parent, L"STATIC", WS_VISIBLE | WS_CLIPSIBLINGS | SS_OWNERDRAW | SS_NOTIFY, 0, args) {
    SetWindowSubclass(Handle(), &Cursor_Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

void Painted_Box::Redraw() const { InvalidateRect(Handle(), nullptr, FALSE); }

void Painted_Box::On_Command(WORD code) {
    if ((code == STN_CLICKED || code == STN_DBLCLK) && On_Click) On_Click();
}

void Painted_Box::On_Draw_Item(const DRAWITEMSTRUCT& item) {
    const RECT& area = item.rcItem;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    const win::Memory_Dc memory(CreateCompatibleDC(item.hDC));
    const win::Gdi_Object<HBITMAP> bitmap(CreateCompatibleBitmap(item.hDC, width, height));
    const win::Selected selected_bitmap(memory.Get(), bitmap.Get());
    const win::Selected selected_font(memory.Get(), Font());
    const RECT local{0, 0, width, height};
    FillRect(memory.Get(), &local, GetSysColorBrush(COLOR_BTNFACE));
    if (Paint) Paint(memory.Get(), local);
    BitBlt(item.hDC, area.left, area.top, width, height, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK Painted_Box::Cursor_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                               DWORD_PTR data) {
    const auto* self = reinterpret_cast<const Painted_Box*>(data);
    if (message == WM_SETCURSOR && self->hand_cursor_) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
        return TRUE;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &Cursor_Procedure, 0);
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

}  // namespace tilvane::kit
