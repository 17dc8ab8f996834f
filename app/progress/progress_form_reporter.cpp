#include "progress/progress_form_reporter.h"

#include "kit/form.h"
#include "shell/progress_text.h"
#include "win/text.h"

namespace tilvane::app {

void Progress_Form_Reporter::Initialise_Processing(int start, int minimum, int maximum) {
    rows_minimum_ = minimum;
    rows_maximum_ = maximum;
    reading_ = false;
    form_.Initialise_Processing(start, minimum, maximum);
}

void Progress_Form_Reporter::Update_Reading(int done, int count) {
    if (!reading_) form_.Begin_Stage(0, count);
    reading_ = true;
    const shell::Progress_Texts texts = shell::Reading_Progress_Texts(done, count);
    form_.Update_Processing(win::To_Wide(texts.major), win::To_Wide(texts.minor), done);
}

void Progress_Form_Reporter::Update_Processing(int row) {
    if (reading_) form_.Begin_Stage(rows_minimum_, rows_maximum_);
    reading_ = false;
    const shell::Progress_Texts texts = shell::Row_Progress_Texts(row);
    form_.Update_Processing(win::To_Wide(texts.major), win::To_Wide(texts.minor), row);
}

bool Progress_Form_Reporter::Abort_Requested() {
    const bool aborted = form_.Abort_Processing_CheckBox();
    if (aborted && !after_abort_) after_abort_.emplace();
    return aborted;
}

void Progress_Form_Reporter::End_Processing() { form_.End_Processing(); }

void Progress_Form_Reporter::Let_Messages_Run() { kit::Process_Pending_Messages(); }

}  // namespace tilvane::app
