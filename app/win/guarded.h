#pragma once
// Where Windows calls back into the program (window procedures, subclass procedures, timers, the
// dialogs' callbacks), the program's code runs inside Guarded: an error that escapes it goes to the
// error report and the callback returns its fallback, so no exception ever crosses into Windows.
#include <exception>
#include <string_view>
#include <type_traits>

namespace tilvane::win {

// The report that escaped errors go to. The program's application object puts its own error
// report here; until then an escaped error is shown in a plain error box.
using Error_Report = void (*)(std::string_view utf8_text);
void Set_Error_Report(Error_Report report) noexcept;

// Hands the error's text (windows_error.h's Error_Text, or "Unexpected error" for a throw of
// anything else) to the error report.
void Report_Escaped_Error(std::exception_ptr error) noexcept;

template <class Body, class Result = std::invoke_result_t<Body&>>
Result Guarded(Body&& body, std::type_identity_t<Result> fallback = Result{}) noexcept {
    try {
        return body();
    } catch (...) {
        Report_Escaped_Error(std::current_exception());
    }
    return fallback;
}

}  // namespace tilvane::win
