#include "kit/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "kit/application.h"
#include "kit/text.h"

namespace tilvane::kit {
namespace {

constexpr int kArrows_Width = 17;

DWORD Static_Alignment(Alignment alignment) {
    switch (alignment) {
        case Alignment::Centre: return SS_CENTER;
        case Alignment::Right: return SS_RIGHT;
        case Alignment::Left: break;
    }
    return SS_LEFTNOWORDWRAP;  // a label too narrow is cut, never wrapped into its neighbours
}

}  // namespace

Label::Label(const Window_Host& parent, const Control_Args& args, Alignment alignment)
    : Control(parent, L"STATIC", WS_VISIBLE | SS_NOPREFIX | Static_Alignment(alignment), 0, args) {}

Edit::Edit(const Window_Host& parent, const Control_Args& args)
    : Control(parent, L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, args) {}

void Edit::On_Command(WORD code) {
    if (code == EN_CHANGE && On_Change) On_Change();
}

Spin_Edit::Spin_Edit(const Window_Host& parent, const Control_Args& args, int minimum, int maximum)
    : Control(parent, L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER, WS_EX_CLIENTEDGE, args),
      minimum_(minimum),
      maximum_(maximum) {
    arrows_ = CreateWindowExW(0, UPDOWN_CLASSW, nullptr,
                              WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS, 0, 0, 0,
                              0, GetParent(Handle()), nullptr, GetModuleHandleW(nullptr), nullptr);
    Adopt_Window(arrows_);
    SendMessageW(arrows_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
    SendMessageW(arrows_, UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    Set_Bounds(args.bounds);
    if (args.caption.empty()) Set_Value(minimum);
}

int Spin_Edit::Value() const {
    const std::string text = To_Utf8(Text());
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() ? value : minimum_;
}

void Spin_Edit::Set_Value(int value) {
    value = std::clamp(value, minimum_, maximum_);
    Set_Text(std::to_wstring(value));
    SendMessageW(arrows_, UDM_SETPOS32, 0, value);
}

Bounds Spin_Edit::Get_Bounds() const {
    Bounds b = Control::Get_Bounds();
    b.width += kArrows_Width;
    return b;
}

void Spin_Edit::Set_Bounds(const Bounds& b) {
    const int edit_width = std::max(0, b.width - kArrows_Width);
    Control::Set_Bounds({b.left, b.top, edit_width, b.height});
    SetWindowPos(arrows_, nullptr, b.left + edit_width, b.top, b.width - edit_width, b.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Spin_Edit::On_Command(WORD code) {
    if (code == EN_CHANGE && On_Change) On_Change();
}

List_Box::List_Box(const Window_Host& parent, const Control_Args& args)
    : Control(parent, L"LISTBOX",
              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
              WS_EX_CLIENTEDGE, args) {}

int List_Box::Count() const { return static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0)); }

std::wstring List_Box::Item(int index) const {
    const LRESULT length = SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

void List_Box::Insert(int index, std::wstring_view text) {
    const std::wstring item(text);
    SendMessageW(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.c_str()));
}

void List_Box::Delete(int index) { SendMessageW(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0); }
void List_Box::Clear() { SendMessageW(Handle(), LB_RESETCONTENT, 0, 0); }

bool List_Box::Is_Selected(int index) const {
    return SendMessageW(Handle(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void List_Box::Set_Selected(int index, bool selected) {
    SendMessageW(Handle(), LB_SETSEL, selected, index);
}

Check_Box::Check_Box(const Window_Host& parent, const Control_Args& args)
    : Control(parent, L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, args) {}

bool Check_Box::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Check_Box::Set_Checked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
void Check_Box::On_Command(WORD code) {
    if (code == BN_CLICKED && On_Click) On_Click();
}

Radio_Button::Radio_Button(const Window_Host& parent, const Control_Args& args, bool starts_group)
    : Control(parent, L"BUTTON", WS_VISIBLE | BS_AUTORADIOBUTTON | (starts_group ? WS_GROUP | WS_TABSTOP : 0), 0,
              args) {}

bool Radio_Button::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Radio_Button::Set_Checked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
void Radio_Button::On_Command(WORD code) {
    if (code == BN_CLICKED && On_Click) On_Click();
}

Push_Button::Push_Button(const Window_Host& parent, const Control_Args& args)
    : Control(parent, L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, args) {
    SetWindowSubclass(Handle(), Key_Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

void Push_Button::On_Command(WORD code) {
    if (code == BN_CLICKED && On_Click) On_Click();
}

LRESULT CALLBACK Push_Button::Key_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                            DWORD_PTR data) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, Key_Procedure, id);
    if (message == WM_KEYDOWN) {
        auto* self = reinterpret_cast<Push_Button*>(data);
        if (self->On_Key_Down) Guarded([&] { return self->On_Key_Down(wparam), LRESULT{0}; });
    }
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

Progress_Bar::Progress_Bar(const Window_Host& parent, const Control_Args& args)
    : Control(parent, PROGRESS_CLASSW, WS_VISIBLE | PBS_SMOOTH, 0, args) {}

void Progress_Bar::Set_Range(int minimum, int maximum) {
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}
void Progress_Bar::Set_Position(int position) { SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0); }
int Progress_Bar::Position() const { return static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0)); }
int Progress_Bar::Maximum() const { return static_cast<int>(SendMessageW(Handle(), PBM_GETRANGE, FALSE, 0)); }

Picture_Box::Picture_Box(const Window_Host& parent, const Control_Args& args)
    : Control(parent, L"STATIC", WS_VISIBLE | SS_BLACKFRAME, 0, args) {}

}  // namespace tilvane::kit
