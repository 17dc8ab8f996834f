#pragma once
// The shortcut menu of a control: shown where the control is right-clicked, or from the keyboard
// (Shift+F10, the menu key) at the control's top-left corner, as Windows controls do.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/control.h"

namespace tilvane::kit {

class Context_Menu {
public:
    explicit Context_Menu(Control& control);
    Context_Menu(const Context_Menu&) = delete;
    Context_Menu& operator=(const Context_Menu&) = delete;
    ~Context_Menu();

    // An item that runs on_click when chosen; an empty caption adds a separator.
    void Add(std::wstring_view caption, std::function<void()> on_click = {});
    // Shows the menu at a point of the screen and runs the chosen item's handler.
    void Show(POINT screen);

private:
    static LRESULT CALLBACK Menu_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                           DWORD_PTR data);
    struct Item {
        std::wstring caption;
        std::function<void()> on_click;
    };
    Control& control_;
    std::vector<Item> items_;
};

}  // namespace tilvane::kit
