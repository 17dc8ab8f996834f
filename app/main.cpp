// Program entry: creates the main window, shows it and runs the message loop until it closes.
#include <windows.h>

#include "frame/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
    tilvane::app::MainWindow main_window;
    if (!main_window.create(instance)) return 1;
    ShowWindow(main_window.handle(), show_command);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
