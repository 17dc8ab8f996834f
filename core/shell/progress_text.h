#pragma once
// The words of the progress dialog and the tool's status line: the texts shown for a run's
// progress and the dialog's complaints about its callers.
#include <string>

#include "progress/progress_run.h"

namespace tilvane::shell {

struct Progress_Texts {
    std::string major;  // "Processing Column at Pixel : 40"
    std::string minor;  // "40"
};

// What a run shows when it has reached pixel row `row`.
[[nodiscard]] Progress_Texts Row_Progress_Texts(int row);
// What a build shows when it has read `done` of its `count` tiles, before the first cell:
// "Reading Tile : 40 of 2000" and "40".
[[nodiscard]] Progress_Texts Reading_Progress_Texts(int done, int count);

// The error message of an update that the dialog refuses (Not_Initialised, Above_Maximum); empty
// for any other outcome.
[[nodiscard]] std::string Progress_Error_Text(const progress::Update_Outcome& outcome);

}  // namespace tilvane::shell
