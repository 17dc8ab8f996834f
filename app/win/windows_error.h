#pragma once
// The one error type of the program's Windows adapters (the registry, the shell's links and
// folders, the file pickers, the pictures, the widget kit's windows). It says which call failed,
// about what and with which code; the words the user reads are chosen by Error_Text, beside the
// core's, never where the error is raised.
#include <exception>
#include <string>
#include <utility>

namespace tilvane::win {

enum class Windows_Failure {
    Registry_Write_Refused,     // subject: the key's path; name: the value's; code: the registry's error
    Registry_Value_Not_Text,    // subject: the key's path; name: the value's
    Registry_Read_Failed,       // subject: the key's path; name: the value's; code: the registry's error
    Shortcut_Step_Failed,       // subject: the step of making the link object; code: its result
    Picker_Failed,              // code: the common dialogs' extended error
    Picture_Not_Valid,          // subject: the kind of picture ("Metafile", "Icon")
    Out_Of_Resources,           // the system could not hold a picture's bitmap
    Window_Not_Created,         // subject: the control's name; empty for a form
    List_Too_Long,              // code: the number of items asked for
    Program_Path_Unknown,
    Windows_Directory_Unknown,
    No_Sort_Key,                // subject: the text
};

class Windows_Error : public std::exception {
public:
    explicit Windows_Error(Windows_Failure failure, std::string subject = {}, unsigned long code = 0,
                           std::string name = {})
        : failure_(failure), subject_(std::move(subject)), name_(std::move(name)), code_(code) {}

    [[nodiscard]] Windows_Failure Failure() const { return failure_; }
    [[nodiscard]] const std::string& Subject() const { return subject_; }
    [[nodiscard]] const std::string& Name() const { return name_; }
    [[nodiscard]] unsigned long Code() const { return code_; }

    // For developers' logs and test failures only: names the failure, not the user's words.
    const char* what() const noexcept override { return "tilvane::win::Windows_Error"; }

private:
    Windows_Failure failure_;
    std::string subject_;
    std::string name_;
    unsigned long code_;
};

// The text the user reads for an error that reached the program's error report: the adapters'
// words for a Windows_Error, and for any other the core's error report's (shell::Error_Text).
[[nodiscard]] std::string Error_Text(const std::exception& error);

}  // namespace tilvane::win
