#include "kit/context_menu.h"

#include <commctrl.h>
#include <windowsx.h>

#include "win/guarded.h"

namespace tilvane::kit {

Context_Menu::Context_Menu(Control& control) : control_(control) {
    SetWindowSubclass(control.Handle(), Menu_Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

Context_Menu::~Context_Menu() { RemoveWindowSubclass(control_.Handle(), Menu_Procedure, 0); }

void Context_Menu::Add(std::wstring_view caption, std::function<void()> on_click) {
    items_.push_back({std::wstring(caption), std::move(on_click)});
}

void Context_Menu::Show(POINT screen) {
    const HMENU menu = CreatePopupMenu();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].caption.empty())
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING, i + 1, items_[i].caption.c_str());  // 0 is no choice
    }
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                                                         control_.Handle(), nullptr));
    DestroyMenu(menu);
    if (chosen > 0 && items_[chosen - 1].on_click) items_[chosen - 1].on_click();
}

LRESULT CALLBACK Context_Menu::Menu_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                              DWORD_PTR data) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, Menu_Procedure, id);
    if (message != WM_CONTEXTMENU) return DefSubclassProc(hwnd, message, wparam, lparam);
    return win::Guarded([&] {
        POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        if (lparam == -1) {  // from the keyboard
            at = {0, 0};
            ClientToScreen(hwnd, &at);
        }
        reinterpret_cast<Context_Menu*>(data)->Show(at);
        return LRESULT{0};
    });
}

}  // namespace tilvane::kit
