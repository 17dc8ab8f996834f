#pragma once
// The one progress dialog of the program: modeless, it shows a long operation's progress with
// elapsed and estimated times, and its button lets the user abort the run.
#include <string>

#include "kit/containers.h"
#include "kit/controls.h"
#include "kit/form.h"
#include "progress/progress_clock.h"
#include "progress/progress_run.h"

namespace tilvane::app {

// English day abbreviation, one space, the locale's short date, ", ", the locale's long time.
std::wstring Format_Date_Time_With_Day(progress::Day_Time time);

class TProgress_Form final : public kit::Form {
public:
    // `owner`: the main window, which the dialog stays in front of.
    TProgress_Form(progress::Clock& clock, HWND owner);
    ~TProgress_Form() override { Destroy_Window(); }

    void Initialise_Processing(int start, int minimum, int maximum);
    void Update_Processing(const std::wstring& major, const std::wstring& minor, int current);
    void End_Processing();
    // The run stopped on an error, which the caller reports: a started run ends and the dialog
    // goes, as after Abort, rather than stay in its running state.
    void Stop_Processing_On_Error();
    bool Is_It_Time_For_An_Update(int current);
    // The run goes on to its next stage: the bar takes the stage's range, and the estimates count
    // from the stage's start (progress::Progress_Run::Begin_Stage).
    void Begin_Stage(int minimum, int maximum);

    void Abort_Processing_BitBtnClick();
    void Abort_Processing_BitBtnKeyDown(WPARAM key);

    // Has_Started_CheckBox and Abort_Processing_CheckBox keep the names of the check boxes that
    // the dialog's design holds these two flags in; here they are plain flags, never shown.
    bool Has_Started_CheckBox() const { return run_.Has_Started_CheckBox; }
    // The callers read this between units of work and leave their loop when it is set.
    bool Abort_Processing_CheckBox() const { return run_.Abort_Processing_CheckBox; }

    kit::Group_Box Progress_GroupBox;
    kit::Label Major_Item_Label;
    kit::Progress_Bar Progress_Bar;
    kit::Label Minor_Item_Label;
    kit::Label Start_Date_Time_Caption_Label;
    kit::Label Start_Date_Time_Label;
    kit::Label Elapsed_Time_Caption_Label;
    kit::Label Elapsed_Time_Label;
    kit::Label Elapsed_Time_Format_Label;
    kit::Label Remaining_Time_Caption_Label;
    kit::Label Remaining_Date_Time_Label;
    kit::Label Remaining_Time_Format_Label;
    kit::Label Time_To_Completion_Caption_Label;
    kit::Label Time_To_Completion_Label;
    kit::Push_Button Abort_Processing_BitBtn;

private:
    void Arrange();
    // The texts of the last row given and the figures of `outcome`.
    void Show_Figures(const progress::Update_Outcome& outcome);

    progress::Clock& clock_;
    progress::Progress_Run run_;
    std::wstring last_major_, last_minor_;  // of the last row that passed the checks, shown or dropped
};

}  // namespace tilvane::app
