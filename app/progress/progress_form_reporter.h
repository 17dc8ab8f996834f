#pragma once
// A long operation of the core reporting to the one progress dialog.
#include <optional>

#include "kit/wait_cursor.h"
#include "progress/run_progress.h"
#include "progress/progress_form.h"

namespace tilvane::app {

// A build that reads its tiles first shows that as a stage of its own: the bar counts the tiles
// read, then the rows as ever. Once the user has aborted, the hourglass shows until the reporter
// goes with its run: the dialog is gone, but the run may still save what it has done.
class Progress_Form_Reporter final : public Run_Progress {
public:
    explicit Progress_Form_Reporter(TProgress_Form& form) : form_(form) {}

    void Initialise_Processing(int start, int minimum, int maximum) override;
    void Update_Reading(int done, int count) override;
    void Update_Processing(int row) override;
    void End_Processing() override;
    bool Abort_Requested() override;
    void Let_Messages_Run() override;

private:
    TProgress_Form& form_;
    int rows_minimum_ = 0, rows_maximum_ = 0;  // the run's range, which the rows' stage takes back
    bool reading_ = false;
    std::optional<kit::Wait_Cursor> after_abort_;
};

}  // namespace tilvane::app
