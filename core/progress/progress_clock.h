#pragma once
// Time as the progress dialog keeps it: a double count of days since 30 December 1899 (the OLE
// automation date scale of Windows), whole part the day, fraction the time of day.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tilvane::progress {

using Day_Time = double;

inline constexpr double kMilliseconds_Per_Day = 24.0 * 60 * 60 * 1000;

// One day before the scale's epoch: any update after it is due at once.
inline constexpr Day_Time kTime_Long_Past = -1.0;

// English on purpose: the start and end texts keep these under every locale.
inline constexpr std::array<std::string_view, 7> Short_Day_Names{"Sun", "Mon", "Tue", "Wed",
                                                                 "Thu", "Fri", "Sat"};

// The local wall clock. The program reads the system's; tests script their own.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Day_Time Now() = 0;
};

struct Calendar_Time {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    int day_of_week = 6;  // 0 = Sunday, the index into Short_Day_Names
};

[[nodiscard]] Day_Time From_Calendar(int year, int month, int day, int hour, int minute, int second,
                                     int millisecond);
// Rounds to the millisecond; a time that rounds up to midnight belongs to the next day.
[[nodiscard]] Calendar_Time To_Calendar(Day_Time time);

// The throttle that the progress dialog and the tool's status line share: an update is due when
// strictly more than kUpdate_Interval_Ms have passed since the last accepted one, or when it
// reaches the maximum.
inline constexpr int kUpdate_Interval_Ms = 250;
[[nodiscard]] bool Is_It_Time_For_An_Update(Day_Time now, Day_Time last_update, int current, int maximum);

// "HH:MM:SS": rounded to the millisecond, whole days dropped, the fraction of a second dropped.
// A negative duration (a clock set back mid-run) shows as 00:00:00.
[[nodiscard]] std::string Format_Duration(Day_Time duration);

}  // namespace tilvane::progress
