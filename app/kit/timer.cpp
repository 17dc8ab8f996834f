#include "kit/timer.h"

#include "win/guarded.h"


namespace tilvane::kit {

Timer::Timer(const Window_Host& host, UINT interval_ms) : host_(host), interval_(interval_ms) {}

Timer::~Timer() { Set_Enabled(false); }

void Timer::Set_Enabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    // The timer's identifier is the object itself, so the tick finds it without a table.
    const auto id = reinterpret_cast<UINT_PTR>(this);
    if (enabled) {
        SetTimer(host_.Handle(), id, interval_, &Tick);
    } else if (IsWindow(host_.Handle())) {
        KillTimer(host_.Handle(), id);
    }
}

void CALLBACK Timer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto* timer = reinterpret_cast<Timer*>(id);
    if (timer->enabled_ && timer->On_Timer) win::Guarded([&] { timer->On_Timer(); return LRESULT{0}; });
}

}  // namespace tilvane::kit
