#include "terminal_progress.h"

#include <algorithm>

#include "progress/progress_clock.h"
#include "shell/progress_text.h"

namespace tilvane::cli {
namespace {

progress::Day_Time In_Days(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count() / (24.0 * 60 * 60);
}

}  // namespace

Terminal_Progress::Terminal_Progress(std::FILE* out, bool quiet, Words words)
    : out_(out), quiet_(quiet), words_(std::move(words)) {}

std::string Terminal_Progress::Row_Words(int row) { return shell::Row_Progress_Texts(row).major; }

void Terminal_Progress::Initialise_Processing(int, int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    start_ = stage_start_ = Clock::now();
    shown_ = reading_ = false;
}

bool Terminal_Progress::Due(int value, int maximum, Clock::time_point now) const {
    return !quiet_ &&
           (!shown_ || progress::Is_It_Time_For_An_Update(In_Days(now - start_), In_Days(last_shown_ - start_), value, maximum));
}

void Terminal_Progress::Update_Reading(int done, int count) {
    const auto now = Clock::now();
    reading_ = true;
    major_ = shell::Reading_Progress_Texts(done, count).major;
    if (Due(done, count, now)) Show(count > 0 ? static_cast<double>(done) / count : 1.0, now);
}

void Terminal_Progress::Update_Processing(int row) {
    const auto now = Clock::now();
    if (reading_) stage_start_ = now;  // the rows' estimate leaves the reading out
    reading_ = false;
    major_ = words_(row);
    if (!Due(row, maximum_, now)) return;
    const double share = maximum_ > minimum_ ? static_cast<double>(row - minimum_) / (maximum_ - minimum_) : 1.0;
    Show(std::min(share, 1.0), now);
}

void Terminal_Progress::End_Processing() {
    if (quiet_) return;
    // The last row seldom reaches the maximum, which counts a tile and a gap more than the picture.
    Show(1.0, Clock::now());
    std::fputc('\n', out_);
    shown_ = false;
}

void Terminal_Progress::Break_Line() {
    if (shown_) std::fputc('\n', out_);
    shown_ = false;
}

Terminal_Progress::~Terminal_Progress() {
    if (shown_) std::fputc('\n', out_);  // an error that ended the run starts on a line of its own
}

void Terminal_Progress::Show(double share, Clock::time_point now) {
    last_shown_ = now;
    shown_ = true;
    const std::string remaining =
        share > 0 ? progress::Format_Duration(In_Days(now - stage_start_) * (1 - share) / share) : std::string("--:--:--");
    std::fprintf(out_, "\r%s  %3d%%  elapsed %s  remaining %s ", major_.c_str(), static_cast<int>(share * 100),
                 progress::Format_Duration(In_Days(now - start_)).c_str(), remaining.c_str());
    std::fflush(out_);
}

}  // namespace tilvane::cli
