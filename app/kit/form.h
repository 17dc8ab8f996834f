#pragma once
// A top-level window: creates its handle in its constructor (so member controls can be made after
// it), keeps the ordered list of its components, routes menu commands, and owns its hint tips.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "kit/control.h"
#include "kit/fonts.h"

namespace tilvane::kit {

struct Form_Args {
    const wchar_t* class_name;
    std::wstring_view caption;
    int width = CW_USEDEFAULT, height = CW_USEDEFAULT;  // outer size
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    // A window shown over the main window keeps in front of it and minimises with it.
    HWND owner = nullptr;
};

class Form : public Window_Host {
public:
    explicit Form(const Form_Args& args);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    HWND Handle() const override { return hwnd_; }
    static Form* From_Handle(HWND hwnd);

    void Show();
    void Hide();
    bool Is_Visible() const;
    void Bring_To_Front_And_Focus();
    void Centre_On_Screen();
    void Set_Caption(std::wstring_view caption);
    std::wstring Caption() const;
    SIZE Client_Size() const;
    void Set_Client_Size(int width, int height);
    // The pixels per inch the form is laid out for: the design's 96 until Rescale.
    int Dpi() const { return dpi_; }
    // A length of the 96-pixels-an-inch design at the form's scale.
    int Scaled(int design) const { return MulDiv(design, dpi_, kDesign_Dpi); }
    // Lays the form out again for `dpi`: the client area, every control's bounds and its font
    // change by the same ratio, so text and room for it stay in proportion.
    void Rescale(int dpi);
    // Rescales a form designed at 96 pixels an inch to the screen's scale now, and again whenever
    // it moves to a screen of another scale.
    void Follow_Screen_Scale();
    // Asks the window to close, through its close query, as the close box does.
    void Close();
    // Shows the window modally over `owner` and returns once it has been hidden.
    void Show_Modal(HWND owner);
    // An error box over this window: the program's title, the error icon and one OK button.
    void Show_Error(std::string_view utf8_text);
    // A question box over this window: the program's title, Yes and No; true for Yes.
    [[nodiscard]] bool Ask(std::string_view utf8_question);

    // The form's events. A missing handler leaves Windows' default.
    std::function<bool()> On_Close_Query;  // false keeps the window open
    std::function<void()> On_Close;        // the close itself; without it the window is destroyed
    std::function<void()> On_Resize;
    std::function<void()> On_Cancel;  // Escape, as the dialog keys turn it into a cancel command
    std::function<void()> On_Activate;
    std::function<void()> On_Destroy;
    // The window has moved to a screen of another scale: its new pixels per inch, and the frame
    // that Windows suggests for it there.
    std::function<void(int dpi, const RECT& suggested)> On_Dpi_Changed;

    // Components in creation order: controls at every depth, and the non-visual ones (menu items,
    // with a null control) that the layout list records as "0".
    struct Component {
        Control* control;
        std::string name;
    };
    const std::vector<Component>& Components() const { return components_; }
    void Register_Component(Control& control);
    void Register_Non_Visual(std::string_view name);

    // A menu command identifier whose WM_COMMAND runs `handler`.
    UINT Register_Command(std::function<void()> handler);

    // The tooltip that shows a control's hint when the mouse rests on it; a second hint for the
    // same control replaces the first.
    void Add_Hint(HWND control, std::wstring_view hint);
    std::wstring Hint_Of(HWND control) const;
    // Switches the hints off, taking down one that shows, or on again: the hint window stays
    // above every window, so it is off while another window works over this one.
    void Set_Hints_Active(bool active);

protected:
    // Tears the window down while the derived form's members still exist; derived destructors
    // call it first.
    void Destroy_Window();

private:
    static LRESULT CALLBACK Window_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT Handle_Message(UINT message, WPARAM wparam, LPARAM lparam);
    bool Run_Command(UINT id);
    // Gives the focus back to the control that had it, or to the first tab stop.
    void Restore_Focus();

    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND focus_ = nullptr;  // the control that had the focus when the window went inactive
    std::vector<Component> components_;
    std::map<UINT, std::function<void()>> commands_;
    UINT next_command_ = 100;  // clear of IDOK and IDCANCEL
    int dpi_ = kDesign_Dpi;
};

// Lets every pending window message run (one pass that empties the queue); a quit request met on
// the way is put back for the main loop.
void Process_Pending_Messages();
// The program's message loop; returns the quit code.
int Run_Message_Loop();

}  // namespace tilvane::kit
