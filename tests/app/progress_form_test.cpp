#include "progress/progress_form.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "kit/application.h"
#include "progress/progress_form_reporter.h"
#include "test_support.h"

namespace tilvane::app {
namespace {

using testing_support::Boxes_In_Use;
using testing_support::Fake_Clock;
using testing_support::Recording_Message_Boxes;

class ProgressFormTest : public ::testing::Test {
protected:
    void Click_Button() { SendMessageW(form.Abort_Processing_BitBtn.Handle(), BM_CLICK, 0, 0); }
    void Press_Escape() { SendMessageW(form.Abort_Processing_BitBtn.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); }
    void Close_Box() { SendMessageW(form.Handle(), WM_CLOSE, 0, 0); }
    void Update(int current) { form.Update_Processing(L"Major " + std::to_wstring(current), L"minor", current); }
    int Bar_Position() { return form.Progress_Bar.Position(); }

    Recording_Message_Boxes boxes;
    Boxes_In_Use boxes_in_use{boxes};
    Fake_Clock clock;
    TProgress_Form form{clock, nullptr};
};

TEST_F(ProgressFormTest, NeverUsedDialogIsHiddenWithItsContentHidden) {
    EXPECT_FALSE(form.Is_Visible());
    EXPECT_FALSE(form.Progress_GroupBox.Is_Visible());
    EXPECT_EQ(form.Abort_Processing_BitBtn.Text(), L"Abort");
    EXPECT_EQ(form.Caption(), L"Processing Progress ...");
    EXPECT_FALSE(form.Has_Started_CheckBox());
    EXPECT_FALSE(form.Abort_Processing_CheckBox());
}

TEST_F(ProgressFormTest, InitialiseShowsTheDialogWithEmptiedTextsAndTheStart) {
    form.Initialise_Processing(0, 0, 100);
    clock.Advance_Ms(1000);
    Update(40);
    form.Initialise_Processing(5, 0, 200);
    EXPECT_TRUE(form.Is_Visible());
    EXPECT_TRUE(form.Progress_GroupBox.Is_Visible());
    EXPECT_TRUE(form.Has_Started_CheckBox());
    EXPECT_EQ(form.Major_Item_Label.Text(), L"");
    EXPECT_EQ(form.Elapsed_Time_Label.Text(), L"");
    EXPECT_EQ(form.Start_Date_Time_Label.Text(), Format_Date_Time_With_Day(clock.now));
    EXPECT_EQ(Bar_Position(), 5);
    EXPECT_EQ(form.Progress_Bar.Maximum(), 200);
}

TEST_F(ProgressFormTest, ThrottleShowsAtMostOneUpdatePer250MillisecondsExceptTheMaximum) {
    form.Initialise_Processing(0, 0, 100);
    Update(10);
    EXPECT_EQ(form.Major_Item_Label.Text(), L"Major 10") << "the first update is always shown";
    clock.Advance_Ms(100);
    Update(20);
    EXPECT_EQ(form.Major_Item_Label.Text(), L"Major 10");
    EXPECT_EQ(Bar_Position(), 10);
    clock.Advance_Ms(149);
    Update(30);
    EXPECT_EQ(Bar_Position(), 10) << "249 ms is not enough";
    clock.Advance_Ms(2);
    Update(40);
    EXPECT_EQ(Bar_Position(), 40);
    clock.Advance_Ms(1);
    Update(100);
    EXPECT_EQ(Bar_Position(), 100) << "the maximum is always shown";
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ProgressFormTest, ShownUpdateGivesElapsedRemainingAndEndTimes) {
    form.Initialise_Processing(0, 0, 100);
    const progress::Day_Time start = clock.now;
    clock.Advance_Ms(10'000);
    form.Update_Processing(L"Processing Column at Pixel : 25", L"25", 25);
    EXPECT_EQ(form.Minor_Item_Label.Text(), L"25");
    EXPECT_EQ(form.Elapsed_Time_Label.Text(), L"00:00:10");
    EXPECT_EQ(form.Remaining_Date_Time_Label.Text(), L"00:00:30");
    EXPECT_EQ(form.Time_To_Completion_Label.Text(),
              Format_Date_Time_With_Day(start + 40'000 / progress::kMilliseconds_Per_Day));
}

TEST_F(ProgressFormTest, MisuseIsReportedInErrorBoxesAndChangesNothing) {
    struct Case {
        const char* what;
        bool initialise, abort, end;
        int value;
        const wchar_t* message;  // null: no box at all
    };
    const Case cases[] = {
        {"before any run", false, false, false, 5,
         L"Dialog_Progress_Form ERROR - Initialise_Processing was not called first !"},
        {"above the maximum", true, false, false, 150,
         L"Dialog_Progress_Form ERROR - Current Val (150) is greater than Max Val (147) !"},
        {"after a completed run", true, false, true, 5,
         L"Dialog_Progress_Form ERROR - Initialise_Processing was not called first !"},
        {"after an abort, even above the maximum", true, true, false, 150, nullptr},
        {"after an aborted run has ended", true, true, true, 5, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.shown.clear();
        TProgress_Form dialog(clock, nullptr);
        if (c.initialise) dialog.Initialise_Processing(0, 0, 147);
        if (c.abort) SendMessageW(dialog.Abort_Processing_BitBtn.Handle(), BM_CLICK, 0, 0);
        if (c.end) dialog.End_Processing();
        const int position = dialog.Progress_Bar.Position();
        dialog.Update_Processing(L"changed", L"changed", c.value);
        EXPECT_EQ(dialog.Major_Item_Label.Text(), L"");
        EXPECT_EQ(dialog.Progress_Bar.Position(), position);
        if (!c.message) {
            EXPECT_TRUE(boxes.shown.empty());
            continue;
        }
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, c.message);
        EXPECT_EQ(boxes.shown[0].icon, desktop::Box_Icon::Error);
        EXPECT_EQ(boxes.shown[0].buttons, desktop::Box_Buttons::Ok);
    }
}

TEST_F(ProgressFormTest, EveryStateOfARunHasItsFlagsWindowAndButton) {
    enum class Step { Initialise, Click, Escape, Close_Box, End };
    struct Case {
        const char* state;
        std::vector<Step> steps;
        bool started, aborted, shown;
        const wchar_t* button;
    };
    using S = Step;
    const Case cases[] = {
        {"Running", {S::Initialise}, true, false, true, L"Abort"},
        {"Running, Escape does nothing", {S::Initialise, S::Escape}, true, false, true, L"Abort"},
        {"Running, closed", {S::Initialise, S::Close_Box}, true, false, false, L"Abort"},
        {"Aborted", {S::Initialise, S::Click}, true, true, false, L"Abort"},
        {"Finished", {S::Initialise, S::End}, false, false, true, L"OK"},
        {"Finished, closed (after an abort)", {S::Initialise, S::Click, S::End}, false, true, false, L"OK"},
        {"Finished, closed (closed while running)", {S::Initialise, S::Close_Box, S::End}, false, false, false, L"OK"},
        {"Dismissed by OK", {S::Initialise, S::End, S::Click}, false, true, false, L"OK"},
        {"Dismissed by Escape", {S::Initialise, S::End, S::Escape}, false, false, false, L"OK"},
        {"Dismissed by the close box", {S::Initialise, S::End, S::Close_Box}, false, false, false, L"OK"},
        {"Running again after an abort", {S::Initialise, S::Click, S::End, S::Initialise}, true, false, true, L"Abort"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        TProgress_Form dialog(clock, nullptr);
        for (Step step : c.steps) {
            switch (step) {
                case S::Initialise: dialog.Initialise_Processing(0, 0, 50); break;
                case S::Click: SendMessageW(dialog.Abort_Processing_BitBtn.Handle(), BM_CLICK, 0, 0); break;
                case S::Escape: SendMessageW(dialog.Abort_Processing_BitBtn.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); break;
                case S::Close_Box: SendMessageW(dialog.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); break;  // Alt+F4
                case S::End: dialog.End_Processing(); break;
            }
        }
        EXPECT_EQ(dialog.Has_Started_CheckBox(), c.started);
        EXPECT_EQ(dialog.Abort_Processing_CheckBox(), c.aborted);
        EXPECT_EQ(dialog.Is_Visible(), c.shown);
        EXPECT_EQ(dialog.Abort_Processing_BitBtn.Text(), c.button);
        EXPECT_TRUE(IsWindow(dialog.Handle())) << "closing only hides the dialog";
    }
}

TEST_F(ProgressFormTest, EndOfACompletedRunShowsAFullBarWithTheButtonFocused) {
    form.Initialise_Processing(0, 0, 80);
    Update(30);
    form.End_Processing();
    EXPECT_EQ(Bar_Position(), 80);
    EXPECT_EQ(GetFocus(), form.Abort_Processing_BitBtn.Handle());
    EXPECT_EQ(form.Major_Item_Label.Text(), L"Major 30") << "the last texts stay";
}

TEST_F(ProgressFormTest, EndShowsTheLastRowTheThrottleDroppedWithNoTimeLeftAndTheRealEnd) {
    form.Initialise_Processing(0, 0, 80);
    clock.Advance_Ms(2000);
    Update(3);  // the first row is shown, with an estimate of 51 s to go
    clock.Advance_Ms(200);
    form.Update_Processing(L"Major 66", L"66", 66);  // the last row, within the throttle's wait
    form.End_Processing();
    EXPECT_EQ(form.Major_Item_Label.Text(), L"Major 66");
    EXPECT_EQ(form.Minor_Item_Label.Text(), L"66");
    EXPECT_EQ(Bar_Position(), 80);
    EXPECT_EQ(form.Elapsed_Time_Label.Text(), L"00:00:02");
    EXPECT_EQ(form.Remaining_Date_Time_Label.Text(), L"00:00:00");
    EXPECT_EQ(form.Time_To_Completion_Label.Text(), Format_Date_Time_With_Day(clock.now));
}

TEST_F(ProgressFormTest, EscapeThroughTheDialogKeysClosesOnlyAfterTheRun) {
    form.Initialise_Processing(0, 0, 10);
    PostMessageW(form.Abort_Processing_BitBtn.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    kit::Process_Pending_Messages();
    EXPECT_TRUE(form.Is_Visible());
    form.End_Processing();
    PostMessageW(form.Abort_Processing_BitBtn.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    kit::Process_Pending_Messages();
    EXPECT_FALSE(form.Is_Visible());
    EXPECT_FALSE(form.Abort_Processing_CheckBox());
}

TEST_F(ProgressFormTest, EnterThroughTheDialogKeysPressesTheFocusedButton) {
    form.Initialise_Processing(0, 0, 10);
    form.End_Processing();
    PostMessageW(form.Abort_Processing_BitBtn.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    kit::Process_Pending_Messages();
    EXPECT_FALSE(form.Is_Visible());
}

TEST_F(ProgressFormTest, AbortClickDuringUpdateMessagesStopsTheCallersLoop) {
    form.Initialise_Processing(0, 0, 1000);
    int rows = 0;
    for (int row = 1; row <= 1000 && !form.Abort_Processing_CheckBox(); ++row, ++rows) {
        if (row == 3) PostMessageW(form.Abort_Processing_BitBtn.Handle(), BM_CLICK, 0, 0);
        clock.Advance_Ms(300);
        Update(row);
    }
    EXPECT_EQ(rows, 3) << "the click runs inside the third update";
    form.End_Processing();
    EXPECT_FALSE(form.Is_Visible());
}

TEST_F(ProgressFormTest, ReadingTheTilesIsAStageOfTheBarWithItsOwnWordsAndAbort) {
    Progress_Form_Reporter reporter(form);
    reporter.Initialise_Processing(0, 0, 123);
    clock.Advance_Ms(1000);
    reporter.Update_Reading(1, 4);
    EXPECT_EQ(form.Major_Item_Label.Text(), L"Reading Tile : 1 of 4");
    EXPECT_EQ(form.Minor_Item_Label.Text(), L"1");
    EXPECT_EQ(form.Progress_Bar.Maximum(), 4);
    EXPECT_EQ(form.Remaining_Date_Time_Label.Text(), L"00:00:03");
    clock.Advance_Ms(100);
    reporter.Update_Reading(2, 4);
    EXPECT_EQ(Bar_Position(), 1) << "the throttle holds while reading";
    reporter.Update_Reading(4, 4);
    EXPECT_EQ(Bar_Position(), 4) << "and the last tile is always shown";
    clock.Advance_Ms(2900);
    reporter.Update_Processing(41);
    EXPECT_EQ(form.Major_Item_Label.Text(), L"Processing Column at Pixel : 41");
    EXPECT_EQ(form.Progress_Bar.Maximum(), 123);
    EXPECT_EQ(Bar_Position(), 41);
    EXPECT_EQ(form.Elapsed_Time_Label.Text(), L"00:00:04");
    EXPECT_EQ(form.Remaining_Date_Time_Label.Text(), L"00:00:05") << "counted from the rows' start";

    reporter.Initialise_Processing(0, 0, 123);
    reporter.Update_Reading(1, 4);
    Click_Button();
    EXPECT_TRUE(reporter.Abort_Requested());
    reporter.End_Processing();
    EXPECT_FALSE(form.Is_Visible());
    EXPECT_TRUE(boxes.shown.empty());
}

// After Abort the dialog is gone but the run may still save what it made: the windows show the
// hourglass until the run's reporter goes; a run that is not aborted never shows it.
TEST_F(ProgressFormTest, AfterAbortTheHourglassShowsUntilTheRunEnds) {
    const auto hourglass = [&] {
        SetCursor(nullptr);
        SendMessageW(form.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
    };
    for (const bool abort : {false, true}) {
        auto reporter = std::make_unique<Progress_Form_Reporter>(form);
        reporter->Initialise_Processing(0, 0, 10);
        if (abort) Click_Button();
        EXPECT_EQ(reporter->Abort_Requested(), abort);
        EXPECT_EQ(hourglass(), abort) << "while the rest is saved";
        reporter.reset();
        EXPECT_FALSE(hourglass());
    }
}

TEST_F(ProgressFormTest, AScreenOfLargerScaleGrowsTheDialogWhichKeepsThatScaleWhenResized) {
    const SIZE design = form.Client_Size();
    RECT suggested{40, 40, 1000, 600};
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    const SIZE larger = form.Client_Size();
    EXPECT_EQ(larger.cx, MulDiv(design.cx, 3, 2));
    EXPECT_EQ(larger.cy, MulDiv(design.cy, 3, 2));
    form.Set_Client_Size(larger.cx + 100, larger.cy);
    const kit::Bounds button = form.Abort_Processing_BitBtn.Get_Bounds();
    EXPECT_EQ(button.width, 150) << "re-laid out at the new scale";
    EXPECT_EQ(button.height, 42);
    EXPECT_EQ(button.left, (larger.cx + 100 - 150) / 2);
    EXPECT_EQ(form.Start_Date_Time_Caption_Label.Font_Size(), 17);
}

TEST(FormatDateTimeWithDay, BeginsWithTheEnglishDayThenDateCommaAndTime) {
    const progress::Day_Time time = progress::From_Calendar(2024, 3, 5, 8, 7, 6, 0);  // a Tuesday
    const SYSTEMTIME st{2024, 3, 2, 5, 8, 7, 6, 0};
    wchar_t date[64], clock_time[64];
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 64);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, clock_time, 64);
    EXPECT_EQ(Format_Date_Time_With_Day(time), std::wstring(L"Tue ") + date + L", " + clock_time);
}

}  // namespace
}  // namespace tilvane::app
