#include "win/windows_error.h"

#include <cstdio>

#include "shell/error_report.h"

namespace tilvane::win {
namespace {

std::string Registry_Value(const Windows_Error& error) {
    return "\"" + error.Name() + "\" in the registry key \"" + error.Subject() + "\"";
}

std::string Hex_Code(unsigned long code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", code);
    return text;
}

std::string Windows_Error_Text(const Windows_Error& error) {
    const std::string code = std::to_string(error.Code());
    switch (error.Failure()) {
        case Windows_Failure::Registry_Write_Refused:
            return "The registry refused to store " + Registry_Value(error) + " (error " + code + ")";
        case Windows_Failure::Registry_Value_Not_Text: return "The value " + Registry_Value(error) + " is not text";
        case Windows_Failure::Registry_Read_Failed:
            return "The value " + Registry_Value(error) + " could not be read (error " + code + ")";
        case Windows_Failure::Shortcut_Step_Failed:
            return "The shell could not make a shortcut: " + error.Subject() + " failed (" + Hex_Code(error.Code()) + ")";
        case Windows_Failure::Picker_Failed: return "The file picker failed (" + code + ")";
        case Windows_Failure::Picture_Not_Valid: return error.Subject() + " image is not valid";
        case Windows_Failure::Out_Of_Resources: return "Out of system resources";
        case Windows_Failure::Window_Not_Created:
            return error.Subject().empty() ? "Windows refused to create a window"
                                           : "Windows refused to create the control " + error.Subject();
        case Windows_Failure::List_Too_Long: return "The list cannot hold " + code + " items";
        case Windows_Failure::Program_Path_Unknown: return "The program's own path is not known";
        case Windows_Failure::Windows_Directory_Unknown: return "The Windows directory is not known";
        case Windows_Failure::No_Sort_Key: return "No sort key for " + error.Subject();
    }
    return error.what();
}

}  // namespace

std::string Error_Text(const std::exception& error) {
    if (const auto* windows = dynamic_cast<const Windows_Error*>(&error)) return Windows_Error_Text(*windows);
    return shell::Error_Text(error);
}

}  // namespace tilvane::win
