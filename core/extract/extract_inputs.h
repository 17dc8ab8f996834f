#pragma once
// The checks that "Extract Tiles" runs before anything is cut. The program and the command-line
// tool both run them; the words for each problem are the shell's (shell/input_check_text.h).
#include <string>

#include "extract/tile_extraction.h"

namespace tilvane {

struct Extract_Inputs {
    std::string directory;  // as the run will use it (the program's field after normalising)
    Extract_Settings settings;
};

enum class Extract_Input_Problem {
    None,
    Directory_Blank,  // no name, blanks, or a bare root: tiles by the thousand would land there
};

struct Extract_Input_Check {
    Extract_Input_Problem problem = Extract_Input_Problem::None;
    // The settings to run with: sizes and gaps past their ranges become the nearest allowed
    // value, so the grid always advances.
    Extract_Settings settings;
};

[[nodiscard]] Extract_Input_Check Check_Extract_Inputs(const Extract_Inputs& inputs);

}  // namespace tilvane
