#pragma once
// What the whole program shares: its title and the one error report that every callback from
// Windows (win::Guarded) hands escaping errors to.
#include <windows.h>

#include <string>
#include <string_view>

#include "desktop/message_boxes.h"

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

}  // namespace tilvane::kit
