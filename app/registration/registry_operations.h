#pragma once
// The three general registry operations of the program: a write that reads its value back, a
// delete that checks the value is gone, and a silent read. The first two explain a failure in an
// error box of their own; a failure of the registry itself (Registry_Error) is theirs to let
// through to the application-wide error report.
#include <windows.h>

#include <string>

#include "desktop/message_boxes.h"
#include "desktop/registry.h"

namespace tilvane::registration {

using desktop::Registry_Root;

// Where the operations go: the registry, and the window their boxes belong to.
struct Registry_Access {
    desktop::Registry& registry;
    HWND owner = nullptr;
};

// True when the value was written and reads back exactly; false after an error box.
bool Write_Registry_String(const Registry_Access& access, Registry_Root root, const std::string& key,
                           const std::string& name, const std::string& text);

// True when the value is absent afterwards (also when it was never there); false after an error box.
bool Delete_Registry_Value(const Registry_Access& access, Registry_Root root, const std::string& key,
                           const std::string& name);

// The value's text; empty when the key or the value is missing. Never shows a message.
[[nodiscard]] std::string Read_Registry_String(desktop::Registry& registry, Registry_Root root, const std::string& key,
                                               const std::string& name);

// A box of the program's title, modal to `owner`; the answer is Yes only for a Yes.
bool Show_Registration_Box(HWND owner, const std::string& text, desktop::Box_Icon icon,
                           desktop::Box_Buttons buttons = desktop::Box_Buttons::Ok);

}  // namespace tilvane::registration
