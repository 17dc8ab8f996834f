#pragma once
// A long operation of the core reporting to the one progress dialog.
#include "progress/run_progress.h"
#include "progress/progress_form.h"

namespace tilvane::app {

class Progress_Form_Reporter final : public Run_Progress {
public:
    explicit Progress_Form_Reporter(TProgress_Form& form) : form_(form) {}

    void Initialise_Processing(int start, int minimum, int maximum) override;
    void Update_Processing(int row) override;
    void End_Processing() override;
    bool Abort_Requested() override { return form_.Abort_Processing_CheckBox(); }
    void Let_Messages_Run() override;

private:
    TProgress_Form& form_;
};

}  // namespace tilvane::app
