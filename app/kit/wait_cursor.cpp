#include "kit/wait_cursor.h"

#include <windows.h>

namespace tilvane::kit {
namespace {

int held = 0;  // the message thread's alone

}  // namespace

Wait_Cursor::Wait_Cursor() {
    ++held;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

Wait_Cursor::~Wait_Cursor() {
    if (--held == 0) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

bool Wait_Cursor::Showing() { return held > 0; }

}  // namespace tilvane::kit
