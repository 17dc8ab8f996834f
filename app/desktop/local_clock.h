#pragma once
#include <windows.h>

#include "progress/progress_clock.h"

namespace tilvane::desktop {

// The local wall clock with its milliseconds.
class Local_Clock final : public progress::Clock {
public:
    progress::Day_Time Now() override;
};

// The calendar time of a day-time value, for the locale's date and time formats.
[[nodiscard]] SYSTEMTIME To_System_Time(progress::Day_Time time);

}  // namespace tilvane::desktop
