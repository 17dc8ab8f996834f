#include "progress/progress_run.h"

#include <algorithm>
#include <cmath>

namespace tilvane::progress {

void Progress_Run::Set_Position(int value) {
    // Like the bar itself, the position is held within the range.
    position_ = std::clamp(value, minimum_, std::max(minimum_, maximum_));
}

void Progress_Run::Initialise(int start, int minimum, int maximum, Day_Time now) {
    start_time_ = last_call_time_ = now;
    last_update_time_ = kTime_Long_Past;
    Begin_Stage(minimum, maximum);
    Set_Position(start);
    Has_Started_CheckBox = true;
    Abort_Processing_CheckBox = false;
}

void Progress_Run::Begin_Stage(int minimum, int maximum) {
    stage_start_time_ = last_call_time_;
    minimum_ = minimum;
    maximum_ = maximum;
    Set_Position(minimum);
}

Update_Outcome Progress_Run::Update(int current, Day_Time now) {
    using Kind = Update_Outcome::Kind;
    last_call_time_ = now;
    Update_Outcome outcome;
    outcome.current = current;
    outcome.maximum = maximum_;
    if (Abort_Processing_CheckBox) {
        outcome.kind = Kind::Ignored_After_Abort;
        return outcome;
    }
    if (!Has_Started_CheckBox) {
        outcome.kind = Kind::Not_Initialised;
        return outcome;
    }
    if (current > maximum_) {
        outcome.kind = Kind::Above_Maximum;
        return outcome;
    }
    if (!Is_It_Time_For_An_Update(now, last_update_time_, current, maximum_)) {
        outcome.kind = Kind::Dropped;
        return outcome;
    }
    last_update_time_ = now;
    if (current == 0) {
        outcome.kind = Kind::Throttle_Restarted;
        return outcome;
    }
    Set_Position(current);
    outcome.kind = Kind::Shown;
    outcome.elapsed = now - start_time_;
    // Straight-line extrapolation from the share of the stage's maximum reached; a position of 0
    // (a value below a minimum of 0) gives no estimate rather than an infinite one.
    const double stage_elapsed = now - stage_start_time_;
    const double total = static_cast<double>(maximum_) * stage_elapsed / position_;
    const double remaining = total - stage_elapsed;
    if (std::isfinite(total) && total >= 0) outcome.end_time = stage_start_time_ + total;
    if (std::isfinite(remaining) && remaining >= 0) outcome.remaining = remaining;
    return outcome;
}

std::optional<Update_Outcome> Progress_Run::End(Day_Time now) {
    const bool finished = Has_Started_CheckBox && !Abort_Processing_CheckBox;
    last_update_time_ = kTime_Long_Past;
    Set_Position(maximum_);
    Has_Started_CheckBox = false;
    if (!finished) return std::nullopt;
    Update_Outcome outcome;
    outcome.kind = Update_Outcome::Kind::Shown;
    outcome.current = outcome.maximum = maximum_;
    outcome.elapsed = now - start_time_;
    outcome.end_time = now;
    outcome.remaining = 0;
    return outcome;
}

}  // namespace tilvane::progress
