#include "desktop/message_boxes.h"

namespace tilvane::desktop {

Box_Answer Windows_Message_Boxes::Show(HWND owner, const Box_Request& request) {
    UINT type = request.buttons == Box_Buttons::Yes_No ? MB_YESNO : MB_OK;
    switch (request.icon) {
        case Box_Icon::Error: type |= MB_ICONERROR; break;
        case Box_Icon::Warning: type |= MB_ICONWARNING; break;
        case Box_Icon::Information: type |= MB_ICONINFORMATION; break;
        case Box_Icon::Question: type |= MB_ICONQUESTION; break;
    }
    switch (MessageBoxW(owner, request.text.c_str(), request.caption.c_str(), type)) {
        case IDYES: return Box_Answer::Yes;
        case IDNO: return Box_Answer::No;
        default: return Box_Answer::Ok;
    }
}

}  // namespace tilvane::desktop
