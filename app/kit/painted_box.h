#pragma once
// A control that the program paints itself: pictures drawn by code, text in colours and styles
// that a plain label cannot have. Clickable, with the hand cursor where it is a link.
#include <windows.h>

#include <functional>

#include "kit/control.h"

namespace tilvane::kit {

class Painted_Box final : public Control {
public:
    Painted_Box(const Window_Host& parent, const Control_Args& args);

    // Draws the whole client rectangle; called with an off-screen device context so that a
    // picture redrawn many times a second does not flicker.
    std::function<void(HDC dc, const RECT& area)> Paint;
    std::function<void()> On_Click;
    void Set_Hand_Cursor(bool hand) { hand_cursor_ = hand; }
    bool Has_Hand_Cursor() const { return hand_cursor_; }
    void Redraw() const;

    void On_Command(WORD code) override;
    void On_Draw_Item(const DRAWITEMSTRUCT& item) override;

private:
    static LRESULT CALLBACK Cursor_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                             DWORD_PTR data);
    bool hand_cursor_ = false;
};

}  // namespace tilvane::kit
