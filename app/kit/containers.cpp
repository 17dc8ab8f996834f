#include "kit/containers.h"

#include <commctrl.h>

#include <algorithm>

#include "kit/fonts.h"
#include "win/guarded.h"
#include "win/handles.h"

namespace tilvane::kit {
namespace {

constexpr wchar_t kPanel_Class[] = L"Tilvane.Panel";
constexpr int kRadio_Margin = 10;

const wchar_t* Registered_Panel_Class(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW window_class{};
        window_class.cbSize = sizeof window_class;
        window_class.lpfnWndProc = procedure;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        window_class.lpszClassName = kPanel_Class;
        return RegisterClassExW(&window_class) != 0;
    }();
    (void)registered;
    return kPanel_Class;
}

}  // namespace

Panel::Panel(const Window_Host& parent, const Control_Args& args)
    : Control(parent, Registered_Panel_Class(Window_Procedure), WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
              args) {}

LRESULT CALLBACK Panel::Window_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return win::Guarded(
        [&]() -> LRESULT {
            LRESULT routed = 0;
            if (Route_To_Child(message, wparam, lparam, routed)) return routed;
            auto* self = dynamic_cast<Panel*>(Control::From_Handle(hwnd));
            if (self && message == WM_SIZE) {
                self->Arrange();
                if (self->framed_) InvalidateRect(hwnd, nullptr, TRUE);
                return 0;
            }
            if (self && message == WM_PAINT && self->framed_) {
                const win::Paint_Dc dc(hwnd);
                self->Paint_Frame(dc.Get());
                return 0;
            }
            return DefWindowProcW(hwnd, message, wparam, lparam);
        },
        0);
}

void Panel::Add_Frame(std::wstring_view caption) {
    framed_ = true;
    caption_ = caption;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Panel::Paint_Frame(HDC dc) const {
    RECT client;
    GetClientRect(Handle(), &client);
    const win::Selected font(dc, Font());
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    RECT edge = client;
    edge.top = metrics.tmHeight / 2;
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    if (!caption_.empty()) {
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkMode(dc, OPAQUE);
        TextOutW(dc, 8, 0, caption_.c_str(), static_cast<int>(caption_.size()));
    }
}

void Panel::Set_Font_Size(int points) {
    Control::Set_Font_Size(points);
    InvalidateRect(Handle(), nullptr, TRUE);
}

Group_Box::Group_Box(const Window_Host& parent, const Control_Args& args) : Panel(parent, args) {
    Add_Frame(args.caption);
}

Radio_Group::Radio_Group(const Window_Host& parent, const Control_Args& args, const std::vector<std::wstring>& items)
    : Panel(parent, args) {
    Add_Frame(args.caption);
    for (const std::wstring& item : items) {
        const DWORD first = items_.empty() ? WS_GROUP | WS_TABSTOP : 0;
        HWND button = CreateWindowExW(0, L"BUTTON", item.c_str(), WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | first,
                                      0, 0, 0, 0, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
        Adopt_Window(button);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(Times_Font(Font_Size(), false)), FALSE);
        items_.push_back(button);
    }
    Arrange();
}

int Radio_Group::Item_Index() const {
    const auto checked = std::find_if(items_.begin(), items_.end(), [](HWND button) {
        return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    });
    return checked == items_.end() ? -1 : static_cast<int>(checked - items_.begin());
}

void Radio_Group::Set_Item_Index(int index) {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        SendMessageW(items_[i], BM_SETCHECK, static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void Radio_Group::Set_Font_Size(int points) {
    Panel::Set_Font_Size(points);
    for (HWND button : items_) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(Times_Font(points, false)), TRUE);
    // The caption's height follows the font: a re-layout sets the bounds before the font, so the
    // buttons are placed again under the caption of the new size.
    Arrange();
}

void Radio_Group::On_Command(WORD code) {
    if (code == BN_CLICKED && On_Click) On_Click();
}

void Radio_Group::Arrange() {
    if (items_.empty()) return;
    // The buttons share the space under the caption evenly, as rows.
    RECT client;
    GetClientRect(Handle(), &client);
    const int caption_height = MulDiv(Font_Size(), 96, 72) + 4;
    const int row_height = std::max(1, static_cast<int>(client.bottom - caption_height - 4) / static_cast<int>(items_.size()));
    for (std::size_t i = 0; i < items_.size(); ++i) {
        SetWindowPos(items_[i], nullptr, kRadio_Margin, caption_height + static_cast<int>(i) * row_height,
                     std::max(0, static_cast<int>(client.right - 2 * kRadio_Margin)), row_height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

Tab_Control::Tab_Control(const Window_Host& parent, const Control_Args& args)
    : Control(parent, WC_TABCONTROLW, WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
              WS_EX_CONTROLPARENT, args) {}

int Tab_Control::Active_Page_Index() const { return static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0)); }

void Tab_Control::Set_Active_Page_Index(int index) {
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    Show_Active_Page();
}

void Tab_Control::Add_Page(Tab_Page& page, std::wstring_view caption) {
    std::wstring text(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(Handle(), TCM_INSERTITEMW, pages_.size(), reinterpret_cast<LPARAM>(&item));
    pages_.push_back(&page);
    Show_Active_Page();
}

Bounds Tab_Control::Display_Area() const {
    RECT area;
    GetClientRect(Handle(), &area);
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

void Tab_Control::Set_Bounds(const Bounds& bounds) {
    Control::Set_Bounds(bounds);
    for (Tab_Page* page : pages_) page->Set_Bounds({});
}

LRESULT Tab_Control::On_Notify(const NMHDR& header) {
    if (header.code == TCN_SELCHANGE) Show_Active_Page();
    return 0;
}

void Tab_Control::Show_Active_Page() {
    const int active = Active_Page_Index();
    for (std::size_t i = 0; i < pages_.size(); ++i) pages_[i]->Set_Visible(static_cast<int>(i) == active);
}

Tab_Page::Tab_Page(Tab_Control& tabs, const Control_Args& args) : Panel(tabs, args), tabs_(tabs) {
    tabs_.Add_Page(*this, args.caption);
    Set_Bounds({});
}

void Tab_Page::Set_Bounds(const Bounds&) { Control::Set_Bounds(tabs_.Display_Area()); }

}  // namespace tilvane::kit
