#pragma once
// A repeating timer on a window, enabled and disabled like a control: while enabled, On_Timer
// runs every interval from the window's message loop.
#include <windows.h>

#include <functional>

#include "kit/control.h"

namespace tilvane::kit {

class Timer {
public:
    Timer(const Window_Host& host, UINT interval_ms);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    bool Enabled() const { return enabled_; }
    void Set_Enabled(bool enabled);
    UINT Interval() const { return interval_; }
    std::function<void()> On_Timer;

private:
    static void CALLBACK Tick(HWND hwnd, UINT message, UINT_PTR id, DWORD time);
    const Window_Host& host_;
    UINT interval_;
    bool enabled_ = false;
};

}  // namespace tilvane::kit
