#pragma once
// The long runs under way (a mosaic build, an extraction). While one runs, the pages' action
// buttons are disabled, and a close asked for meanwhile waits until the last run has ended.
#include <functional>

namespace tilvane::app {

class Long_Runs {
public:
    // `set_idle`: enables the action buttons (true) or disables them (false); `close`: asks the
    // main window to close.
    Long_Runs(std::function<void(bool idle)> set_idle, std::function<void()> close);

    // Held by a handler for the length of its run.
    class Run {
    public:
        explicit Run(Long_Runs& runs);
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;
        ~Run();

    private:
        Long_Runs& runs_;
    };

    [[nodiscard]] bool Under_Way() const { return count_ > 0; }
    // The close follows once the last run has ended.
    void Close_When_Done() { close_when_done_ = true; }

private:
    std::function<void(bool idle)> set_idle_;
    std::function<void()> close_;
    int count_ = 0;
    bool close_when_done_ = false;
};

}  // namespace tilvane::app
