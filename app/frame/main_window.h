#pragma once
#include <windows.h>

namespace tilvane::app {

inline constexpr wchar_t kApplicationTitle[] = L"Tilvane v1.0f";

// The program's main window. Closing it ends the message loop.
class MainWindow {
public:
    // Creates the window (not yet shown). Returns false if Windows refused.
    bool create(HINSTANCE instance);
    HWND handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

    HWND hwnd_ = nullptr;
};

}  // namespace tilvane::app
