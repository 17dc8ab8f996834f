#include "kit/application.h"

#include "shell/error_report.h"
#include "win/guarded.h"
#include "win/text.h"

namespace tilvane::kit {

void Application::Report_Error(std::string_view utf8_text) {
    const desktop::Box_Request request{win::To_Wide(shell::With_Full_Stop(std::string(utf8_text))), Title,
                                       desktop::Box_Icon::Error, desktop::Box_Buttons::Ok};
    try {
        Boxes().Show(GetActiveWindow(), request);
    } catch (...) {
        // The report is the last stop: an error while reporting has nowhere further to go.
    }
}

Application& Current_Application() {
    static desktop::Windows_Message_Boxes windows_boxes;
    static Application application = [] {
        Application a;
        a.Use_Message_Boxes(windows_boxes);
        win::Set_Error_Report([](std::string_view text) { Current_Application().Report_Error(text); });
        return a;
    }();
    return application;
}

}  // namespace tilvane::kit
