#include "shell/progress_text.h"

namespace tilvane::shell {

Progress_Texts Row_Progress_Texts(int row) {
    const std::string reached = std::to_string(row);
    return {"Processing Column at Pixel : " + reached, reached};
}

Progress_Texts Reading_Progress_Texts(int done, int count) {
    const std::string reached = std::to_string(done);
    return {"Reading Tile : " + reached + " of " + std::to_string(count), reached};
}

std::string Progress_Error_Text(const progress::Update_Outcome& outcome) {
    using Kind = progress::Update_Outcome::Kind;
    switch (outcome.kind) {
        case Kind::Not_Initialised: return "Dialog_Progress_Form ERROR - Initialise_Processing was not called first !";
        case Kind::Above_Maximum:
            return "Dialog_Progress_Form ERROR - Current Val (" + std::to_string(outcome.current) +
                   ") is greater than Max Val (" + std::to_string(outcome.maximum) + ") !";
        default: return {};
    }
}

}  // namespace tilvane::shell
