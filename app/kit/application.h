#pragma once
// What the whole program shares: its title and the one error report that every window procedure
// hands escaping errors to.
#include <windows.h>

#include <string>
#include <string_view>

#include "desktop/message_boxes.h"
#include "shell/error_report.h"

namespace tilvane::kit {

class Application {
public:
    // The caption of the error report; the window-show sequence sets the program's own title.
    std::wstring Title = L"Tilvane";

    desktop::Message_Boxes& Boxes() { return *boxes_; }
    // The program passes the real boxes, tests a recording fake. The object must outlive its use.
    void Use_Message_Boxes(desktop::Message_Boxes& boxes) { boxes_ = &boxes; }

    // The application-wide error report: error icon, one OK button, the text with its full stop.
    void Report_Error(std::string_view utf8_text);

private:
    desktop::Message_Boxes* boxes_ = nullptr;
};

Application& Current_Application();

// Runs a window procedure's body; an escaping error goes to the error report and the procedure
// returns `fallback`, so no exception ever crosses into Windows.
template <class Body>
LRESULT Guarded(Body&& body, LRESULT fallback = 0) noexcept {
    try {
        return body();
    } catch (const std::exception& error) {
        Current_Application().Report_Error(shell::Error_Text(error));
    } catch (...) {
        Current_Application().Report_Error("Unexpected error");
    }
    return fallback;
}

}  // namespace tilvane::kit
