#pragma once
// Stand-ins for the desktop services, so that tests drive the real windows without a user.
#include <windows.h>

#include <deque>
#include <vector>

#include "desktop/message_boxes.h"
#include "progress/progress_clock.h"
#include "shell/random_source.h"

namespace tilvane::testing_support {

// Records every box and answers from a script (OK, or No for a question, when the script is out).
class Recording_Message_Boxes final : public desktop::Message_Boxes {
public:
    desktop::Box_Answer Show(HWND owner, const desktop::Box_Request& request) override;
    std::vector<desktop::Box_Request> shown;
    std::deque<desktop::Box_Answer> answers;
};

class Fake_Clock final : public progress::Clock {
public:
    progress::Day_Time Now() override { return now; }
    void Advance_Ms(double ms) { now += ms / progress::kMilliseconds_Per_Day; }
    progress::Day_Time now = progress::From_Calendar(2024, 3, 5, 8, 0, 0, 0);  // a Tuesday
};

class Recording_Random final : public shell::Random_Source {
public:
    void Seed(std::uint64_t value) override { seeds.push_back(value); }
    int Uniform_Below(int) override { return 0; }
    std::vector<std::uint64_t> seeds;
};

// Reroutes the application's boxes to `boxes` for the life of the object, and back to boxes
// that fail the test on any message afterwards.
class Boxes_In_Use {
public:
    explicit Boxes_In_Use(desktop::Message_Boxes& boxes);
    Boxes_In_Use(const Boxes_In_Use&) = delete;
    Boxes_In_Use& operator=(const Boxes_In_Use&) = delete;
    ~Boxes_In_Use();
};

// Lets pending messages run, then forgets a quit request that a closed main window left behind.
void Pump_And_Forget_Quit();

}  // namespace tilvane::testing_support
