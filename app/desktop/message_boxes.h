#pragma once
// Every modal message a handler shows goes through this, so tests can answer it instead of a user.
#include <windows.h>

#include <string>

namespace tilvane::desktop {

enum class Box_Icon { Error, Warning, Information, Question };
enum class Box_Buttons { Ok, Yes_No };
enum class Box_Answer { Ok, Yes, No };

struct Box_Request {
    std::wstring text;
    std::wstring caption;
    Box_Icon icon = Box_Icon::Error;
    Box_Buttons buttons = Box_Buttons::Ok;
};

class Message_Boxes {
public:
    virtual ~Message_Boxes() = default;
    virtual Box_Answer Show(HWND owner, const Box_Request& request) = 0;
};

// The real thing: a Windows message box, modal to the owner.
class Windows_Message_Boxes final : public Message_Boxes {
public:
    Box_Answer Show(HWND owner, const Box_Request& request) override;
};

}  // namespace tilvane::desktop
