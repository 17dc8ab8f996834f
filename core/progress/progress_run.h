#pragma once
// The progress dialog's run as a pure state machine: the flags, the bar's range and position, the
// throttle and the estimates. The dialog window shows what this decides.
#include <optional>

#include "progress/progress_clock.h"

namespace tilvane::progress {

struct Update_Outcome {
    enum class Kind {
        Ignored_After_Abort,  // nothing shown, no message
        Not_Initialised,      // an error message to show (shell/progress_text.h)
        Above_Maximum,        // likewise, naming current and maximum
        Dropped,              // the throttle said no
        Throttle_Restarted,   // a value of 0: the wait starts again, nothing else changes
        Shown,                // texts, bar and the fields below are to be shown
    };
    Kind kind = Kind::Dropped;
    int current = 0;  // as the caller gave it
    int maximum = 0;  // the bar's
    Day_Time elapsed = 0;
    std::optional<Day_Time> end_time;   // absent when the estimate is negative or undefined
    std::optional<Day_Time> remaining;  // likewise
};

class Progress_Run {
public:
    // The two flags the callers read; see Initialise, End and Abort for who writes them.
    bool Has_Started_CheckBox = false;
    bool Abort_Processing_CheckBox = false;

    void Initialise(int start, int minimum, int maximum, Day_Time now);
    // The run goes on to its next stage (reading the tiles, then drawing the rows): the bar takes
    // the stage's range, at its minimum, and the estimates extrapolate from the stage's own start,
    // the previous stage's last update (or the run's start), so that a slow stage does not swell
    // the next one's; the start and the elapsed time stay the run's, and so does the throttle.
    void Begin_Stage(int minimum, int maximum);
    [[nodiscard]] Update_Outcome Update(int current, Day_Time now);
    // Ends the run. A run that was started and not aborted gives its final figures to show at
    // once, whatever the throttle dropped: a full bar, no time remaining, and now as its end.
    std::optional<Update_Outcome> End(Day_Time now);
    void Abort() { Abort_Processing_CheckBox = true; }

    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Position() const { return position_; }
    Day_Time Start_Time() const { return start_time_; }
    Day_Time Last_Update_Time() const { return last_update_time_; }

private:
    void Set_Position(int value);

    int minimum_ = 0, maximum_ = 100, position_ = 0;
    Day_Time start_time_ = 0;
    Day_Time stage_start_time_ = 0;
    Day_Time last_call_time_ = 0;  // of Initialise or the last Update, whatever its outcome
    Day_Time last_update_time_ = kTime_Long_Past;
};

}  // namespace tilvane::progress
