#pragma once
// The hourglass over the program's windows while work goes on that nothing else shows, such as
// the part of a mosaic built before Abort being saved.
namespace tilvane::kit {

class Wait_Cursor {
public:
    Wait_Cursor();   // the hourglass from now on
    ~Wait_Cursor();  // the windows' own cursors again once the last one goes
    Wait_Cursor(const Wait_Cursor&) = delete;
    Wait_Cursor& operator=(const Wait_Cursor&) = delete;

    // Whether one is held: the forms then answer every cursor request with the hourglass.
    static bool Showing();
};

}  // namespace tilvane::kit
