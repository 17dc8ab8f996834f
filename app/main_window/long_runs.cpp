#include "main_window/long_runs.h"

#include <utility>

namespace tilvane::app {

Long_Runs::Long_Runs(std::function<void(bool idle)> set_idle, std::function<void()> close)
    : set_idle_(std::move(set_idle)), close_(std::move(close)) {}

Long_Runs::Run::Run(Long_Runs& runs) : runs_(runs) {
    if (runs_.count_++ == 0) runs_.set_idle_(false);
}

Long_Runs::Run::~Run() {
    if (--runs_.count_ > 0) return;
    runs_.set_idle_(true);
    if (runs_.close_when_done_) {
        runs_.close_when_done_ = false;
        runs_.close_();
    }
}

}  // namespace tilvane::app
