#include "win/guarded.h"

#include <windows.h>

#include <string>

#include "win/text.h"
#include "win/windows_error.h"

namespace tilvane::win {
namespace {

void Plain_Error_Box(std::string_view utf8_text) {
    MessageBoxW(GetActiveWindow(), To_Wide(utf8_text).c_str(), L"Tilvane", MB_OK | MB_ICONERROR);
}

Error_Report current_report = Plain_Error_Box;

}  // namespace

void Set_Error_Report(Error_Report report) noexcept { current_report = report; }

void Report_Escaped_Error(std::exception_ptr error) noexcept {
    try {
        std::string text = "Unexpected error";
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& escaped) {
            text = Error_Text(escaped);
        } catch (...) {
        }
        current_report(text);
    } catch (...) {
        // The report is the last stop: an error while reporting has nowhere further to go.
    }
}

}  // namespace tilvane::win
