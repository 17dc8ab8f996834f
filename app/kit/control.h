#pragma once
// The base of every wrapped control: a window handle, a component name, a font size in points
// and geometry relative to the parent. Controls are created by their constructors, children
// after parents, so a form's member declarations read as its component order.
#include <windows.h>

#include <string>
#include <string_view>

namespace tilvane::kit {

class Form;

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
};

// Anything that can parent a control: a form or a container control.
class Window_Host {
public:
    virtual HWND Handle() const = 0;

protected:
    ~Window_Host() = default;
};

struct Control_Args {
    std::string_view name;
    Bounds bounds;
    std::wstring_view caption = {};
    std::wstring_view hint = {};
    bool bold = false;
};

class Control : public Window_Host {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    HWND Handle() const override { return hwnd_; }
    const std::string& Name() const { return name_; }
    Form& Owner() const { return *owner_; }

    std::wstring Text() const;
    void Set_Text(std::wstring_view text);

    virtual Bounds Get_Bounds() const;
    virtual void Set_Bounds(const Bounds& bounds);
    int Font_Size() const { return font_size_; }
    virtual void Set_Font_Size(int points);

    bool Is_Visible() const;
    void Set_Visible(bool visible);
    bool Is_Enabled() const;
    virtual void Set_Enabled(bool enabled);
    void Focus();

    // Fed by the parent's window procedure.
    virtual void On_Command(WORD /*code*/) {}
    virtual LRESULT On_Notify(const NMHDR& /*header*/) { return 0; }
    virtual void On_Draw_Item(const DRAWITEMSTRUCT& /*item*/) {}

    // The control whose window this is, or null.
    static Control* From_Handle(HWND hwnd);

protected:
    Control(const Window_Host& parent, const wchar_t* window_class, DWORD style, DWORD ex_style,
            const Control_Args& args);
    // Makes messages about another window of this control (a spin edit's arrows) reach it.
    void Adopt_Window(HWND hwnd);
    HFONT Font() const;

private:
    HWND hwnd_ = nullptr;
    std::string name_;
    Form* owner_ = nullptr;
    int font_size_ = 11;
    bool bold_ = false;
};

// The container side of message routing: a WM_COMMAND, WM_NOTIFY or WM_DRAWITEM that a child sent
// to its parent goes to the child's own wrapper. Returns true when the message was one of those.
bool Route_To_Child(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

}  // namespace tilvane::kit
