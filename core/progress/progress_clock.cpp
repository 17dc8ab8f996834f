#include "progress/progress_clock.h"

#include <cmath>
#include <cstdio>

namespace tilvane::progress {
namespace {

constexpr std::int64_t kMs_Per_Day = 86'400'000;
// Days from the scale's epoch (1899-12-30) to 1970-01-01, the epoch of the civil-date arithmetic.
constexpr std::int64_t kDays_To_1970 = 25'569;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
std::int64_t Days_From_Civil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void Civil_From_Days(std::int64_t z, Calendar_Time& out) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (out.month <= 2));
}

}  // namespace

Day_Time From_Calendar(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    const std::int64_t days =
        Days_From_Civil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kDays_To_1970;
    const std::int64_t ms = ((static_cast<std::int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(days) + static_cast<double>(ms) / kMilliseconds_Per_Day;
}

Calendar_Time To_Calendar(Day_Time time) {
    auto days = static_cast<std::int64_t>(std::floor(time));
    auto ms = std::llround((time - static_cast<double>(days)) * kMilliseconds_Per_Day);
    if (ms >= kMs_Per_Day) {
        ++days;
        ms -= kMs_Per_Day;
    }
    Calendar_Time out;
    const std::int64_t unix_days = days - kDays_To_1970;
    Civil_From_Days(unix_days, out);
    out.day_of_week = static_cast<int>(((unix_days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
    out.hour = static_cast<int>(ms / 3'600'000);
    out.minute = static_cast<int>(ms / 60'000 % 60);
    out.second = static_cast<int>(ms / 1000 % 60);
    out.millisecond = static_cast<int>(ms % 1000);
    return out;
}

bool Is_It_Time_For_An_Update(Day_Time now, Day_Time last_update, int current, int maximum) {
    return (now - last_update) * 24 * 60 * 60 * 1000 > kUpdate_Interval_Ms || current == maximum;
}

std::string Format_Duration(Day_Time duration) {
    std::int64_t ms = std::llround(duration * kMilliseconds_Per_Day);
    ms = ms < 0 ? 0 : ms % kMs_Per_Day;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(ms / 3'600'000),
                  static_cast<int>(ms / 60'000 % 60), static_cast<int>(ms / 1000 % 60));
    return text;
}

}  // namespace tilvane::progress
