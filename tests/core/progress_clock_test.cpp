#include "progress/progress_clock.h"

#include <gtest/gtest.h>

namespace tilvane::progress {
namespace {

constexpr double kMs = 1.0 / kMilliseconds_Per_Day;

TEST(ProgressClock, FormatDurationRoundsToMillisecondDropsDaysAndTruncatesSeconds) {
    struct Case {
        double seconds;
        const char* expected;
    };
    const Case cases[] = {
        {0, "00:00:00"},
        {59.9996, "00:01:00"},  // rounds up to 60.000 s
        {59.9994, "00:00:59"},  // rounds to 59.999 s, whose fraction is dropped
        {0.9999, "00:00:01"},
        {61.5, "00:01:01"},
        {3599.999, "00:59:59"},
        {3600, "01:00:00"},
        {25 * 3600, "01:00:00"},  // whole days are dropped
        {24 * 3600 - 0.0004, "00:00:00"},
        {99 * 3600 + 59 * 60 + 7, "03:59:07"},
        {-5, "00:00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(Format_Duration(c.seconds * 1000 * kMs), c.expected);
    }
}

TEST(ProgressClock, ThrottleNeedsStrictlyMoreThan250MillisecondsOrTheMaximum) {
    struct Case {
        double since_last_ms;
        int current, maximum;
        bool due;
    };
    const Case cases[] = {
        {250, 10, 100, false}, {249, 10, 100, false}, {251, 10, 100, true},
        {1, 100, 100, true},   {0, 100, 100, true},   {100, 99, 100, false},
        {100, 0, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.since_last_ms << " ms, " << c.current << " of " << c.maximum);
        EXPECT_EQ(Is_It_Time_For_An_Update(c.since_last_ms * kMs, 0.0, c.current, c.maximum), c.due);
    }
}

TEST(ProgressClock, TimeLongPastMakesTheNextUpdateDue) {
    const Day_Time now = From_Calendar(2026, 12, 7, 20, 0, 0, 0);
    EXPECT_TRUE(Is_It_Time_For_An_Update(now, kTime_Long_Past, 1, 100));
    EXPECT_TRUE(Is_It_Time_For_An_Update(0.0, kTime_Long_Past, 1, 100));  // even at the epoch
}

TEST(ProgressClock, CalendarRoundTripsAndNamesTheDay) {
    struct Case {
        int year, month, day, hour, minute, second, ms;
        const char* day_name;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 0, 0, 0, "Sat"},   {1900, 3, 1, 12, 0, 0, 0, "Thu"},
        {2000, 2, 29, 23, 59, 59, 999, "Tue"}, {2024, 3, 5, 8, 7, 6, 5, "Tue"},
        {2026, 12, 6, 0, 0, 0, 1, "Sun"},    {1850, 6, 15, 6, 30, 0, 0, "Sat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << '-' << c.month << '-' << c.day);
        const Calendar_Time t = To_Calendar(From_Calendar(c.year, c.month, c.day, c.hour, c.minute, c.second, c.ms));
        EXPECT_EQ(t.year, c.year);
        EXPECT_EQ(t.month, c.month);
        EXPECT_EQ(t.day, c.day);
        EXPECT_EQ(t.hour, c.hour);
        EXPECT_EQ(t.minute, c.minute);
        EXPECT_EQ(t.second, c.second);
        EXPECT_EQ(t.millisecond, c.ms);
        EXPECT_EQ(Short_Day_Names[t.day_of_week], c.day_name);
    }
}

TEST(ProgressClock, TimeRoundingUpToMidnightBelongsToTheNextDay) {
    const Calendar_Time t = To_Calendar(From_Calendar(2024, 12, 31, 0, 0, 0, 0) + 1.0 - 0.0004 * kMs);
    EXPECT_EQ(t.year, 2025);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.hour, 0);
    EXPECT_EQ(t.millisecond, 0);
}

}  // namespace
}  // namespace tilvane::progress
