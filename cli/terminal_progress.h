#pragma once
#include <chrono>
#include <cstdio>

#include "progress/mosaic_progress.h"

namespace tilvane::cli {

// A build's progress as one status line on a terminal: the share done, the time so far and the
// time still to go, redrawn at most every quarter second. Silent when quiet.
class Terminal_Progress final : public Mosaic_Progress {
public:
    Terminal_Progress(std::FILE* out, bool quiet) : out_(out), quiet_(quiet) {}

    void Initialise_Processing(int start, int minimum, int maximum) override;
    void Update_Processing(const std::string& major, const std::string& minor, int current) override;
    void End_Processing() override;
    bool Abort_Requested() override { return false; }

private:
    using Clock = std::chrono::steady_clock;

    std::FILE* out_;
    bool quiet_;
    int minimum_ = 0;
    int maximum_ = 0;
    Clock::time_point start_;
    Clock::time_point last_shown_;
    bool shown_ = false;
};

}  // namespace tilvane::cli
