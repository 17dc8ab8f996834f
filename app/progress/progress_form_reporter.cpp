#include "progress/progress_form_reporter.h"

#include "kit/form.h"
#include "win/text.h"

namespace tilvane::app {

void Progress_Form_Reporter::Initialise_Processing(int start, int minimum, int maximum) {
    form_.Initialise_Processing(start, minimum, maximum);
}

void Progress_Form_Reporter::Update_Processing(const std::string& major, const std::string& minor, int current) {
    form_.Update_Processing(win::To_Wide(major), win::To_Wide(minor), current);
}

void Progress_Form_Reporter::End_Processing() { form_.End_Processing(); }

void Progress_Form_Reporter::Let_Messages_Run() { kit::Process_Pending_Messages(); }

}  // namespace tilvane::app
