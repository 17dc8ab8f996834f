#include "progress/progress_run.h"

#include <gtest/gtest.h>

#include "shell/progress_text.h"

namespace tilvane::progress {
namespace {

using Kind = Update_Outcome::Kind;
constexpr double kMs = 1.0 / kMilliseconds_Per_Day;
const Day_Time kStart = From_Calendar(2026, 12, 7, 9, 0, 0, 0);

Day_Time At(double ms) { return kStart + ms * kMs; }

TEST(ProgressRun, UpdateBeforeInitialiseReportsTheMissingCall) {
    Progress_Run run;
    const Update_Outcome outcome = run.Update(5, At(0));
    EXPECT_EQ(outcome.kind, Kind::Not_Initialised);
    EXPECT_EQ(shell::Progress_Error_Text(outcome), "Dialog_Progress_Form ERROR - Initialise_Processing was not called first !");
}

TEST(ProgressRun, ValueAboveMaximumIsReportedBeforeTheThrottleAndChangesNothing) {
    Progress_Run run;
    run.Initialise(0, 0, 147, At(0));
    ASSERT_EQ(run.Update(10, At(1)).kind, Kind::Shown);
    for (int i = 0; i < 2; ++i) {
        const Update_Outcome outcome = run.Update(150, At(2));
        EXPECT_EQ(outcome.kind, Kind::Above_Maximum);
        EXPECT_EQ(shell::Progress_Error_Text(outcome), "Dialog_Progress_Form ERROR - Current Val (150) is greater than Max Val (147) !");
    }
    EXPECT_EQ(run.Position(), 10);
    EXPECT_EQ(run.Last_Update_Time(), At(1));
}

TEST(ProgressRun, ThrottleDropsUpdatesWithin250MillisecondsExceptTheMaximum) {
    Progress_Run run;
    run.Initialise(0, 0, 100, At(0));
    EXPECT_EQ(run.Update(10, At(1)).kind, Kind::Shown) << "the first update is always shown";
    EXPECT_EQ(run.Update(20, At(101)).kind, Kind::Dropped);
    EXPECT_EQ(run.Position(), 10);
    EXPECT_EQ(run.Update(30, At(300)).kind, Kind::Shown);
    EXPECT_EQ(run.Update(100, At(301)).kind, Kind::Shown);
    EXPECT_EQ(run.Position(), 100);
}

TEST(ProgressRun, ValueZeroRestartsTheWaitAndShowsNothing) {
    Progress_Run run;
    run.Initialise(0, 0, 100, At(0));
    EXPECT_EQ(run.Update(0, At(1)).kind, Kind::Throttle_Restarted);
    EXPECT_EQ(run.Last_Update_Time(), At(1));
    EXPECT_EQ(run.Update(5, At(200)).kind, Kind::Dropped);
    EXPECT_EQ(run.Update(5, At(252)).kind, Kind::Shown);
}

TEST(ProgressRun, EstimatesExtrapolateFromTheShareOfTheMaximum) {
    Progress_Run run;
    run.Initialise(0, 0, 100, At(0));
    const Update_Outcome outcome = run.Update(25, At(10'000));
    ASSERT_EQ(outcome.kind, Kind::Shown);
    EXPECT_NEAR(outcome.elapsed / kMs, 10'000, 1e-3);
    ASSERT_TRUE(outcome.end_time.has_value());
    ASSERT_TRUE(outcome.remaining.has_value());
    EXPECT_NEAR((*outcome.end_time - kStart) / kMs, 40'000, 1e-3);
    EXPECT_NEAR(*outcome.remaining / kMs, 30'000, 1e-3);
    EXPECT_EQ(Format_Duration(*outcome.remaining), "00:00:30");
}

TEST(ProgressRun, EachStageTakesItsRangeAndEstimatesFromItsOwnStart) {
    Progress_Run run;
    run.Initialise(0, 0, 123, At(0));
    run.Begin_Stage(0, 2000);  // reading 2,000 tiles
    Update_Outcome outcome = run.Update(500, At(2000));
    ASSERT_EQ(outcome.kind, Kind::Shown);
    EXPECT_NEAR(*outcome.remaining / kMs, 6000, 1e-3);
    ASSERT_EQ(run.Update(2000, At(8000)).kind, Kind::Shown);
    run.Begin_Stage(0, 123);  // then the rows, which the 8 s of reading must not swell
    EXPECT_EQ(run.Position(), 0);
    EXPECT_EQ(run.Update(124, At(8400)).kind, Kind::Above_Maximum);
    outcome = run.Update(41, At(9000));
    ASSERT_EQ(outcome.kind, Kind::Shown);
    EXPECT_NEAR(outcome.elapsed / kMs, 9000, 1e-3);
    EXPECT_NEAR(*outcome.remaining / kMs, 2000, 1e-3);
    EXPECT_NEAR((*outcome.end_time - kStart) / kMs, 11'000, 1e-3);
    EXPECT_EQ(run.Start_Time(), kStart);
}

TEST(ProgressRun, NegativeOrUndefinedEstimatesAreLeftOut) {
    struct Case {
        const char* what;
        int minimum, maximum, current;
    };
    const Case cases[] = {
        {"a value below zero in a range across it gives a negative total", -100, 100, -50},
        {"a value under a minimum of 0 gives no position to divide by", 0, 100, -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Progress_Run run;
        run.Initialise(c.minimum, c.minimum, c.maximum, At(0));
        const Update_Outcome outcome = run.Update(c.current, At(1000));
        ASSERT_EQ(outcome.kind, Kind::Shown);
        EXPECT_FALSE(outcome.end_time.has_value());
        EXPECT_FALSE(outcome.remaining.has_value());
    }
}

TEST(ProgressRun, FlagsFollowTheRunsStates) {
    struct Case {
        const char* what;
        bool abort_before_end;
        Kind update_after_end;
    };
    const Case cases[] = {
        {"completed run", false, Kind::Not_Initialised},
        {"aborted run", true, Kind::Ignored_After_Abort},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Progress_Run run;
        EXPECT_FALSE(run.Has_Started_CheckBox);
        run.Initialise(0, 0, 50, At(0));
        EXPECT_TRUE(run.Has_Started_CheckBox);
        EXPECT_FALSE(run.Abort_Processing_CheckBox);
        if (c.abort_before_end) {
            run.Abort();
            EXPECT_EQ(run.Update(999, At(1)).kind, Kind::Ignored_After_Abort) << "even above the maximum";
        }
        const std::optional<Update_Outcome> last_row = run.End(At(3000));
        EXPECT_EQ(last_row.has_value(), !c.abort_before_end) << "an aborted run shows nothing more";
        EXPECT_FALSE(run.Has_Started_CheckBox);
        EXPECT_EQ(run.Abort_Processing_CheckBox, c.abort_before_end) << "End leaves the abort flag alone";
        EXPECT_EQ(run.Position(), 50) << "a full bar";
        EXPECT_EQ(run.Last_Update_Time(), kTime_Long_Past);
        EXPECT_EQ(run.Update(10, At(2)).kind, c.update_after_end);
    }
}

TEST(ProgressRun, InitialiseClearsTheAbortFlagAndRestartsTheClock) {
    Progress_Run run;
    run.Initialise(0, 0, 10, At(0));
    run.Abort();
    run.End(At(1));
    run.Initialise(3, 0, 10, At(5000));
    EXPECT_FALSE(run.Abort_Processing_CheckBox);
    EXPECT_EQ(run.Start_Time(), At(5000));
    EXPECT_EQ(run.Position(), 3);
    EXPECT_EQ(run.Update(4, At(5001)).kind, Kind::Shown);
}

}  // namespace
}  // namespace tilvane::progress
