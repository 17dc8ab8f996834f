#include "desktop/local_clock.h"

namespace tilvane::desktop {

progress::Day_Time Local_Clock::Now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return progress::From_Calendar(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                                   now.wMilliseconds);
}

SYSTEMTIME To_System_Time(progress::Day_Time time) {
    const progress::Calendar_Time c = progress::To_Calendar(time);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(c.year);
    st.wMonth = static_cast<WORD>(c.month);
    st.wDay = static_cast<WORD>(c.day);
    st.wDayOfWeek = static_cast<WORD>(c.day_of_week);
    st.wHour = static_cast<WORD>(c.hour);
    st.wMinute = static_cast<WORD>(c.minute);
    st.wSecond = static_cast<WORD>(c.second);
    st.wMilliseconds = static_cast<WORD>(c.millisecond);
    return st;
}

}  // namespace tilvane::desktop
