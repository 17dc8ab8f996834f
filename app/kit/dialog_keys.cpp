#include "kit/dialog_keys.h"

#include <commctrl.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "kit/containers.h"
#include "kit/form.h"

namespace tilvane::kit {
namespace {

bool Has_Style(HWND window, LONG_PTR style) { return (GetWindowLongPtrW(window, GWL_STYLE) & style) == style; }

// The shown and enabled windows inside `parent` in tab order: each before the windows it holds.
void Collect_Tab_Order(HWND parent, std::vector<HWND>& order) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!Has_Style(child, WS_VISIBLE) || Has_Style(child, WS_DISABLED)) continue;
        order.push_back(child);
        if (GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) Collect_Tab_Order(child, order);
    }
}

bool Is_Tab_Control(HWND window) {
    wchar_t name[32] = L"";
    GetClassNameW(window, name, 32);
    return std::wstring_view(name) == WC_TABCONTROLW;
}

// The tab control that holds `focus` or is it; else the first one in `root`.
Tab_Control* Page_Control(HWND root, HWND focus) {
    for (HWND window = focus; window && window != root; window = GetParent(window)) {
        if (Is_Tab_Control(window)) return dynamic_cast<Tab_Control*>(Control::From_Handle(window));
    }
    std::vector<HWND> order;
    Collect_Tab_Order(root, order);
    for (HWND window : order) {
        if (Is_Tab_Control(window)) return dynamic_cast<Tab_Control*>(Control::From_Handle(window));
    }
    return nullptr;
}

// Ctrl+Tab and Ctrl+PageDown show the next page, with Shift or PageUp the previous one, round.
bool Switch_Page(HWND root, WPARAM key, bool shift) {
    int step = 0;
    if (key == VK_TAB) step = shift ? -1 : 1;
    if (key == VK_NEXT) step = 1;
    if (key == VK_PRIOR) step = -1;
    if (step == 0) return false;
    const HWND focus = GetFocus();
    Tab_Control* tabs = Page_Control(root, focus);
    if (!tabs || tabs->Page_Count() == 0) return false;
    const int count = tabs->Page_Count();
    tabs->Set_Active_Page_Index(((tabs->Active_Page_Index() + step) % count + count) % count);
    // The focus stays on the tabs; from a control of the page that went it moves into the new page.
    if (focus != tabs->Handle()) {
        const HWND first = Next_Tab_Stop(tabs->Handle(), nullptr, false);
        Focus_Control(first ? first : tabs->Handle());
    }
    return true;
}

bool Wants_Tab(MSG& message) {
    const LRESULT code = SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
    return (code & (DLGC_WANTTAB | DLGC_WANTMESSAGE)) != 0;
}

}  // namespace

void Focus_Control(HWND control) {
    // An edit reached by the keyboard has its text selected, so typing replaces it.
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
    SetFocus(control);
}

HWND Next_Tab_Stop(HWND root, HWND from, bool backward) {
    std::vector<HWND> order;
    Collect_Tab_Order(root, order);
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    // Where the walk starts: `from`, or the nearest window holding it that is in the order; with
    // neither, just before the first window (or just after the last, walking backward).
    std::ptrdiff_t start = backward ? count : -1;
    for (HWND window = from; window && window != root; window = GetParent(window)) {
        const auto found = std::find(order.begin(), order.end(), window);
        if (found != order.end()) {
            start = found - order.begin();
            break;
        }
    }
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t index = ((start + (backward ? -step : step)) % count + count) % count;
        if (Has_Style(order[static_cast<std::size_t>(index)], WS_TABSTOP)) return order[static_cast<std::size_t>(index)];
    }
    return nullptr;
}

bool Handle_Dialog_Key(MSG& message) {
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (!root || !Form::From_Handle(root)) return false;
    if (message.message == WM_KEYDOWN && GetKeyState(VK_MENU) >= 0) {
        const bool control = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
        if (control && Switch_Page(root, message.wParam, shift)) return true;
        // Enter presses the push button that has the focus. Our windows are no dialog boxes, which
        // would make that button the default one, so without this Enter on "Cancel" would press OK.
        const HWND focus = GetFocus();
        if (message.wParam == VK_RETURN && IsChild(root, focus) &&
            (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON)) {
            SendMessageW(focus, BM_CLICK, 0, 0);
            return true;
        }
        if (!control && message.wParam == VK_TAB && !Wants_Tab(message)) {
            if (const HWND next = Next_Tab_Stop(root, focus == root ? nullptr : focus, shift)) Focus_Control(next);
            return true;
        }
    }
    return IsDialogMessageW(root, &message) != FALSE;
}

}  // namespace tilvane::kit
