#pragma once
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "progress/run_progress.h"

namespace tilvane::cli {

// A build's progress as one status line on a terminal: the share done, the time so far and the
// time still to go, redrawn as often as the progress dialog's throttle allows; the end shows 100%
// and ends the line. Silent when quiet. The line starts with the words for the value reached:
// by default a run's row, as the progress dialog shows it.
class Terminal_Progress final : public Run_Progress {
public:
    using Words = std::function<std::string(int value)>;
    Terminal_Progress(std::FILE* out, bool quiet, Words words = Row_Words);
    ~Terminal_Progress() override;
    Terminal_Progress(const Terminal_Progress&) = delete;
    Terminal_Progress& operator=(const Terminal_Progress&) = delete;

    void Initialise_Processing(int start, int minimum, int maximum) override;
    void Update_Processing(int row) override;
    void End_Processing() override;
    // "Reading Tile : n of N", with the share of the tiles read and the time they still need.
    void Update_Reading(int done, int count) override;
    bool Abort_Requested() override { return false; }
    // Ends the status line, if one is shown, so that a message can take a line of its own.
    void Break_Line();

private:
    using Clock = std::chrono::steady_clock;
    // Whether the throttle lets value of maximum show now.
    bool Due(int value, int maximum, Clock::time_point now) const;
    void Show(double share, Clock::time_point now);
    static std::string Row_Words(int row);

    std::FILE* out_;
    bool quiet_;
    Words words_;
    int minimum_ = 0;
    int maximum_ = 0;
    Clock::time_point start_;
    Clock::time_point stage_start_;  // of the reading of tiles, then of the rows: the estimates count from here
    bool reading_ = false;
    Clock::time_point last_shown_;
    bool shown_ = false;  // a line is on the terminal and not ended
    std::string major_;
};

}  // namespace tilvane::cli
