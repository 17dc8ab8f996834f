#include "registration/registry_operations.h"

#include "kit/application.h"
#include "win/text.h"

namespace tilvane::registration {
namespace {

constexpr char kContact_Author[] = "Please contact the program's author.";

// The failure boxes share their tail: the key, the item and (for writes) the value on padded
// labels that line up, then the plea.
std::string Failure_Text(const std::string& headline, const std::string& key, const std::string& name,
                         const std::string* value) {
    std::string text = headline + " Error Key   = " + key + "\r\n" + " Error Item  = " + name + "\r\n";
    if (value) text += " Error Value = " + *value + "\r\n";
    return text + "\r\n" + kContact_Author;
}

constexpr char kKey_Missing[] =
    "Error: The specified Registry Key for this operation \r\ndoes NOT exist on your PC.  \r\n\r\n";

void Show_Failure(HWND owner, const std::string& text) {
    Show_Registration_Box(owner, text, desktop::Box_Icon::Error);
}

}  // namespace

bool Show_Registration_Box(HWND owner, const std::string& text, desktop::Box_Icon icon, desktop::Box_Buttons buttons) {
    kit::Application& application = kit::Current_Application();
    return application.Boxes().Show(owner, {win::To_Wide(text), application.Title, icon, buttons}) ==
           desktop::Box_Answer::Yes;
}

bool Write_Registry_String(const Registry_Access& access, Registry_Root root, const std::string& key,
                           const std::string& name, const std::string& text) {
    if (!access.registry.Key_Opens(root, key)) {
        Show_Failure(access.owner, Failure_Text(kKey_Missing, key, name, &text));
        return false;
    }
    access.registry.Write_String(root, key, name, text);
    if (access.registry.Read_String(root, key, name).value_or("") != text) {
        Show_Failure(access.owner, Failure_Text("Error: The required settings could not be created \r\nor saved in the "
                                                "Windows Registry.  \r\n\r\n",
                                                key, name, &text));
        return false;
    }
    return true;
}

bool Delete_Registry_Value(const Registry_Access& access, Registry_Root root, const std::string& key,
                           const std::string& name) {
    if (!access.registry.Key_Opens(root, key)) {
        Show_Failure(access.owner, Failure_Text(kKey_Missing, key, name, nullptr));
        return false;
    }
    access.registry.Delete_Value(root, key, name);
    if (access.registry.Read_String(root, key, name).has_value()) {
        Show_Failure(access.owner, Failure_Text("Error: The required Registry Key settings \r\ncould not be removed from "
                                                "the Windows Registry.  \r\n\r\n",
                                                key, name, nullptr));
        return false;
    }
    return true;
}

std::string Read_Registry_String(desktop::Registry& registry, Registry_Root root, const std::string& key,
                                 const std::string& name) {
    return registry.Read_String(root, key, name).value_or("");
}

}  // namespace tilvane::registration
