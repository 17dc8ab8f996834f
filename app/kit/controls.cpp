#include "kit/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <charconv>

#include "win/guarded.h"
#include "win/handles.h"
#include "win/text.h"
#include "win/windows_error.h"

namespace tilvane::kit {
namespace {

// The arrows keep the design's shape at any size: 17 pixels wide beside a field 23 high.
int Arrows_Width(int height) { return MulDiv(height, 17, 23); }

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

Field_Label::Field_Label(const Window_Host& parent, const Control_Args& args)
    : Control(parent, L"STATIC", WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, args) {}

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

std::optional<int> Spin_Edit::Typed_Number() const {
    const std::string text = win::To_Utf8(Text());
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int Spin_Edit::Value() const {
    const std::optional<int> typed = Typed_Number();
    return typed ? std::clamp(*typed, minimum_, maximum_) : minimum_;
}

void Spin_Edit::Set_Value(int value) {
    value = std::clamp(value, minimum_, maximum_);
    Set_Text(std::to_wstring(value));
    SendMessageW(arrows_, UDM_SETPOS32, 0, value);
}

Bounds Spin_Edit::Get_Bounds() const {
    Bounds b = Control::Get_Bounds();
    b.width += Arrows_Width(b.height);
    return b;
}

void Spin_Edit::Set_Bounds(const Bounds& b) {
    const int edit_width = std::max(0, b.width - Arrows_Width(b.height));
    Control::Set_Bounds({b.left, b.top, edit_width, b.height});
    SetWindowPos(arrows_, nullptr, b.left + edit_width, b.top, b.width - edit_width, b.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Spin_Edit::Set_Enabled(bool enabled) {
    Control::Set_Enabled(enabled);
    EnableWindow(arrows_, enabled);
}

void Spin_Edit::On_Command(WORD code) {
    if (code == EN_CHANGE && On_Change) On_Change();
    // A number typed past the range is shown as the value it counts as once the field is left.
    if (code != EN_KILLFOCUS) return;
    if (const std::optional<int> typed = Typed_Number(); typed && *typed != Value()) Set_Value(*typed);
}

List_Box::List_Box(const Window_Host& parent, const Control_Args& args)
    : Control(parent, L"LISTBOX",
              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                  LBS_NODATA | LBS_OWNERDRAWFIXED,
              WS_EX_CLIENTEDGE, args) {
    List_Box::Set_Font_Size(Font_Size());
}

int List_Box::Count() const { return static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0)); }

void List_Box::Reset(int count, std::span<const int> selected) {
    const HWND box = Handle();
    const LRESULT top = SendMessageW(box, LB_GETTOPINDEX, 0, 0);
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    const LRESULT result = SendMessageW(box, LB_SETCOUNT, static_cast<WPARAM>(count), 0);
    SendMessageW(box, LB_SETSEL, FALSE, -1);
    // Runs of neighbours are selected in one message each.
    for (std::size_t first = 0; first < selected.size();) {
        std::size_t last = first;
        while (last + 1 < selected.size() && selected[last + 1] == selected[last] + 1) ++last;
        SendMessageW(box, LB_SELITEMRANGEEX, static_cast<WPARAM>(selected[first]), selected[last]);
        first = last + 1;
    }
    SendMessageW(box, LB_SETTOPINDEX, static_cast<WPARAM>(std::clamp<LRESULT>(top, 0, std::max(count - 1, 0))), 0);
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
    if (result == LB_ERR || result == LB_ERRSPACE)
        throw win::Windows_Error(win::Windows_Failure::List_Too_Long, {}, static_cast<unsigned long>(count));
}

std::vector<int> List_Box::Selected_Indexes() const {
    const LRESULT count = SendMessageW(Handle(), LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return {};
    std::vector<int> selected(static_cast<std::size_t>(count));
    const LRESULT got = SendMessageW(Handle(), LB_GETSELITEMS, static_cast<WPARAM>(count),
                                     reinterpret_cast<LPARAM>(selected.data()));
    selected.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return selected;
}

bool List_Box::Is_Selected(int index) const {
    return SendMessageW(Handle(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void List_Box::Set_Selected(int index, bool selected) { SendMessageW(Handle(), LB_SETSEL, selected, index); }

void List_Box::Set_Font_Size(int points) {
    Control::Set_Font_Size(points);
    // An owner-drawn box keeps the item height it was made with: it follows the font here.
    TEXTMETRICW metrics{};
    {
        const win::Window_Dc dc(Handle());
        const win::Selected font(dc.Get(), Font());
        GetTextMetricsW(dc.Get(), &metrics);
    }
    SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, std::max<LONG>(metrics.tmHeight, 1));
}

void List_Box::On_Draw_Item(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) {  // an empty box with the focus
        if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const std::wstring text = Item_Text ? Item_Text(static_cast<int>(item.itemID)) : std::wstring();
    {
        const win::Selected font(item.hDC, Font());
        SetBkColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        ExtTextOutW(item.hDC, item.rcItem.left + 2, item.rcItem.top, ETO_OPAQUE | ETO_CLIPPED, &item.rcItem,
                    text.c_str(), static_cast<UINT>(text.size()), nullptr);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
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
        if (self->On_Key_Down) win::Guarded([&] { return self->On_Key_Down(wparam), LRESULT{0}; });
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
    : Control(parent, L"STATIC", WS_VISIBLE, 0, args) {
    SetWindowSubclass(Handle(), Paint_Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

void Picture_Box::Load_File(const std::string& utf8_path, Picture_Formats formats) {
    picture_ = Picture::Load_File(utf8_path, formats);
    InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT CALLBACK Picture_Box::Paint_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                              DWORD_PTR data) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, Paint_Procedure, id);
    if (message == WM_ERASEBKGND) return TRUE;  // painted whole below, without flicker
    if (message != WM_PAINT) return DefSubclassProc(hwnd, message, wparam, lparam);
    const auto* self = reinterpret_cast<const Picture_Box*>(data);
    const win::Paint_Dc dc(hwnd);
    return win::Guarded([&] {
        FillRect(dc.Get(), &dc.Area(), GetSysColorBrush(COLOR_BTNFACE));
        self->picture_.Draw(dc.Get());
        return LRESULT{0};
    });
}

}  // namespace tilvane::kit
