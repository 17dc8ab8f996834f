#include "kit/control.h"

#include <stdexcept>

#include "kit/fonts.h"
#include "kit/form.h"
#include "win/windows_error.h"

namespace tilvane::kit {

Control::Control(const Window_Host& parent, const wchar_t* window_class, DWORD style, DWORD ex_style,
                 const Control_Args& args)
    : name_(args.name), bold_(args.bold) {
    const Bounds& b = args.bounds;
    hwnd_ = CreateWindowExW(ex_style, window_class, std::wstring(args.caption).c_str(), style | WS_CHILD, b.left,
                            b.top, b.width, b.height, parent.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) throw win::Windows_Error(win::Windows_Failure::Window_Not_Created, name_);
    Adopt_Window(hwnd_);
    owner_ = Form::From_Handle(GetAncestor(parent.Handle(), GA_ROOT));
    if (!owner_) throw std::logic_error("The control " + name_ + " has no form");
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    owner_->Register_Component(*this);
    owner_->Add_Hint(hwnd_, args.hint);
}

Control::~Control() {
    // Unbound first, so that the messages the destruction sends find no wrapper half gone.
    if (IsWindow(hwnd_) && From_Handle(hwnd_) == this) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void Control::Adopt_Window(HWND hwnd) { SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this)); }

Control* Control::From_Handle(HWND hwnd) {
    return hwnd ? reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) : nullptr;
}

HFONT Control::Font() const { return Times_Font(font_size_, bold_); }

std::wstring Control::Text() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Control::Set_Text(std::wstring_view text) { SetWindowTextW(hwnd_, std::wstring(text).c_str()); }

Bounds Control::Get_Bounds() const {
    RECT r;
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Control::Set_Bounds(const Bounds& b) {
    SetWindowPos(hwnd_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::Set_Font_Size(int points) {
    font_size_ = points;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
}

bool Control::Is_Visible() const { return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::Set_Visible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
bool Control::Is_Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
void Control::Set_Enabled(bool enabled) { EnableWindow(hwnd_, enabled); }
void Control::Focus() { SetFocus(hwnd_); }

bool Route_To_Child(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    if (message == WM_COMMAND && lparam != 0) {
        if (Control* child = Control::From_Handle(reinterpret_cast<HWND>(lparam))) {
            child->On_Command(HIWORD(wparam));
            result = 0;
            return true;
        }
    } else if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (Control* child = Control::From_Handle(header->hwndFrom)) {
            result = child->On_Notify(*header);
            return true;
        }
    } else if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        if (item->CtlType == ODT_MENU) return false;
        if (Control* child = Control::From_Handle(item->hwndItem)) {
            child->On_Draw_Item(*item);
            result = TRUE;
            return true;
        }
    }
    return false;
}

}  // namespace tilvane::kit
