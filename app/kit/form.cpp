#include "kit/form.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

#include "kit/application.h"
#include "kit/dialog_keys.h"
#include "kit/wait_cursor.h"
#include "win/guarded.h"
#include "win/text.h"
#include "win/windows_error.h"

namespace tilvane::kit {
namespace {

void Register_Form_Class(const wchar_t* class_name, WNDPROC procedure) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), class_name, &window_class)) return;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    window_class.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));       // IDI_APPLICATION
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = class_name;
    RegisterClassExW(&window_class);
}

void Dispatch(MSG& message) {
    if (Handle_Dialog_Key(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

Form::Form(const Form_Args& args) {
    static const bool common_controls = [] {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES |
                                                   ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)common_controls;
    Register_Form_Class(args.class_name, Window_Procedure);
    CreateWindowExW(WS_EX_CONTROLPARENT, args.class_name, std::wstring(args.caption).c_str(), args.style,
                    CW_USEDEFAULT, CW_USEDEFAULT, args.width, args.height, args.owner, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (!hwnd_) throw win::Windows_Error(win::Windows_Failure::Window_Not_Created);
}

Form::~Form() { Destroy_Window(); }

void Form::Destroy_Window() {
    if (hwnd_) DestroyWindow(hwnd_);
}

Form* Form::From_Handle(HWND hwnd) {
    // Only our own forms carry this procedure, so the user data is known to be a Form.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != Window_Procedure) return nullptr;
    return reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK Form::Window_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        if (self->tooltip_) DestroyWindow(std::exchange(self->tooltip_, nullptr));
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    return win::Guarded([&] { return self->Handle_Message(message, wparam, lparam); });
}

LRESULT Form::Handle_Message(UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT routed = 0;
    switch (message) {
        case WM_COMMAND:
            if (lparam == 0 && Run_Command(LOWORD(wparam))) return 0;
            if (Route_To_Child(message, wparam, lparam, routed)) return routed;
            break;
        case WM_NOTIFY:
        case WM_DRAWITEM:
            if (Route_To_Child(message, wparam, lparam, routed)) return routed;
            break;
        case WM_SIZE:
            if (On_Resize) On_Resize();
            return 0;
        // A label's access key, as the dialog keys send it: first the label, then the next stop.
        case WM_NEXTDLGCTL: {
            const HWND target = lparam ? reinterpret_cast<HWND>(wparam) : Next_Tab_Stop(hwnd_, GetFocus(), wparam != 0);
            if (target) Focus_Control(target);
            return 0;
        }
        // As a dialog box does, the window keeps the focus it had when it went inactive.
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) focus_ = focus;
                return 0;
            }
            if (!HIWORD(wparam)) Restore_Focus();
            if (On_Activate) On_Activate();
            return 0;
        case WM_SETFOCUS:
            Restore_Focus();
            return 0;
        case WM_CLOSE:
            if (On_Close_Query && !On_Close_Query()) return 0;
            if (On_Close) {
                On_Close();
            } else {
                DestroyWindow(hwnd_);
            }
            return 0;
        case WM_DESTROY:
            if (On_Destroy) On_Destroy();
            return 0;
        case WM_SETCURSOR:
            // The controls ask their window first, so the hourglass covers them all.
            if (!Wait_Cursor::Showing()) break;
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        case WM_DPICHANGED:
            if (!On_Dpi_Changed) break;
            On_Dpi_Changed(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void Form::Restore_Focus() {
    if (!focus_ || !IsChild(hwnd_, focus_) || !IsWindowVisible(focus_) || !IsWindowEnabled(focus_)) {
        focus_ = Next_Tab_Stop(hwnd_, nullptr, false);
    }
    if (focus_) SetFocus(focus_);
}

bool Form::Run_Command(UINT id) {
    if (id == IDCANCEL) {
        if (On_Cancel) On_Cancel();
        return true;
    }
    const auto command = commands_.find(id);
    if (command == commands_.end()) return false;
    command->second();
    return true;
}

void Form::Show() { ShowWindow(hwnd_, SW_SHOW); }
void Form::Hide() { ShowWindow(hwnd_, SW_HIDE); }
bool Form::Is_Visible() const { return IsWindowVisible(hwnd_) != FALSE; }

void Form::Bring_To_Front_And_Focus() {
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
}

void Form::Centre_On_Screen() {
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Set_Caption(std::wstring_view caption) { SetWindowTextW(hwnd_, std::wstring(caption).c_str()); }

std::wstring Form::Caption() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

SIZE Form::Client_Size() const {
    RECT client;
    GetClientRect(hwnd_, &client);
    return {client.right, client.bottom};
}

void Form::Set_Client_Size(int width, int height) {
    // The frame's share (borders, caption, a menu bar that may wrap) is measured, not predicted;
    // a second pass settles a menu bar that changed its wrapping with the width.
    for (int pass = 0; pass < 2; ++pass) {
        const SIZE client = Client_Size();
        if (client.cx == width && client.cy == height) return;
        RECT frame;
        GetWindowRect(hwnd_, &frame);
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + width - client.cx,
                     frame.bottom - frame.top + height - client.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form::Rescale(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    const int from = dpi_;
    const auto scaled = [from, dpi](int length) { return MulDiv(length, dpi, from); };
    const SIZE client = Client_Size();
    for (const Component& component : components_) {
        if (!component.control) continue;
        const Bounds b = component.control->Get_Bounds();
        component.control->Set_Bounds({scaled(b.left), scaled(b.top), scaled(b.width), scaled(b.height)});
        component.control->Set_Font_Size(scaled(component.control->Font_Size()));
    }
    dpi_ = dpi;
    Set_Client_Size(scaled(client.cx), scaled(client.cy));
}

void Form::Follow_Screen_Scale() {
    Rescale(Screen_Dpi());
    On_Dpi_Changed = [this](int dpi, const RECT& suggested) {
        Rescale(dpi);
        SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
}

void Form::Close() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

void Form::Show_Modal(HWND owner) {
    const bool owner_was_enabled = owner && IsWindowEnabled(owner);
    if (owner_was_enabled) EnableWindow(owner, FALSE);
    Centre_On_Screen();
    Show();
    SetActiveWindow(hwnd_);
    MSG message;
    while (hwnd_ && Is_Visible()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        Dispatch(message);
    }
    if (owner_was_enabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
}

void Form::Show_Error(std::string_view utf8_text) {
    Application& application = Current_Application();
    application.Boxes().Show(Handle(), {win::To_Wide(utf8_text), application.Title, desktop::Box_Icon::Error,
                                        desktop::Box_Buttons::Ok});
}

bool Form::Ask(std::string_view utf8_question) {
    Application& application = Current_Application();
    return application.Boxes().Show(Handle(), {win::To_Wide(utf8_question), application.Title,
                                               desktop::Box_Icon::Question, desktop::Box_Buttons::Yes_No}) ==
           desktop::Box_Answer::Yes;
}

void Form::Register_Component(Control& control) { components_.push_back({&control, control.Name()}); }
void Form::Register_Non_Visual(std::string_view name) { components_.push_back({nullptr, std::string(name)}); }

UINT Form::Register_Command(std::function<void()> handler) {
    const UINT id = next_command_++;
    commands_.emplace(id, std::move(handler));
    return id;
}

void Form::Add_Hint(HWND control, std::wstring_view hint) {
    if (hint.empty()) return;
    if (!tooltip_) {
        // Not owned by the form: under Wine a topmost popup owned by the form keeps the form itself
        // out of the topmost band, which "Always On Top" needs. The form destroys it with itself.
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    }
    std::wstring text(hint);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    wchar_t known_text[1024] = L"";  // room for the text that the query copies out
    tool.lpszText = known_text;
    const bool known = SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.lpszText = text.data();  // the tooltip keeps its own copy
    SendMessageW(tooltip_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Form::Hint_Of(HWND control) const {
    if (!tooltip_) return {};
    wchar_t text[512] = L"";
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltip_, TTM_GETTEXTW, static_cast<WPARAM>(std::size(text)), reinterpret_cast<LPARAM>(&tool));
    return text;
}

void Form::Set_Hints_Active(bool active) {
    if (!tooltip_) return;
    if (!active) SendMessageW(tooltip_, TTM_POP, 0, 0);
    SendMessageW(tooltip_, TTM_ACTIVATE, active, 0);
}

void Process_Pending_Messages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Dispatch(message);
    }
}

int Run_Message_Loop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
    return static_cast<int>(message.wParam);
}

}  // namespace tilvane::kit
