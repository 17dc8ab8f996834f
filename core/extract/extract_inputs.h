#pragma once
// The check that "Extract Tiles" runs before anything is cut. The program and the command-line
// tool both run it; the words for each problem are the shell's (shell/input_check_text.h). The
// grid needs none: the size and gap fields, and the tool's options, hold only values in range.
#include <string_view>

namespace tilvane {

enum class Extract_Input_Problem {
    None,
    Directory_Blank,  // no name, blanks, or a bare root: tiles by the thousand would land there
};

// directory as the run will use it (the program's field after normalising).
[[nodiscard]] Extract_Input_Problem Check_Extract_Inputs(std::string_view directory);

}  // namespace tilvane
