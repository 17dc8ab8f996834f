#pragma once
// The keyboard interface of our windows, as in any Windows dialog: Tab and Shift+Tab move the
// focus, arrow keys move within a group, Enter presses the focused push button or else the default
// one, Escape the cancel button, Alt and a caption's underlined letter reach its control,
// and Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp switch the pages of a tab control.
#include <windows.h>

namespace tilvane::kit {

// Handles `message` when it is one of those keys for a window of ours; false leaves it to the
// ordinary translation and dispatch.
bool Handle_Dialog_Key(MSG& message);

// Gives the focus to `control` as the keyboard does: an edit's text selected, so typing replaces it.
void Focus_Control(HWND control);

// The window that Tab moves the focus to from `from` (Shift+Tab when `backward`) among the
// tab stops inside `root`; null when there is none. Unlike Windows' own walk, a control that holds
// others and is a tab stop itself (the tab control with its pages) is a stop of its own, before
// what it holds.
HWND Next_Tab_Stop(HWND root, HWND from, bool backward);

}  // namespace tilvane::kit
