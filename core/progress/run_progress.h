#pragma once

namespace tilvane {

// Where a long run (a mosaic build, a tile extraction) reports: the program's progress dialog,
// or the command line's status line. The run reports numbers; the texts shown for them are the
// reporter's (shell/progress_text.h).
class Run_Progress {
public:
    virtual ~Run_Progress() = default;
    virtual void Initialise_Processing(int start, int minimum, int maximum) = 0;
    // The run has finished a row of the grid and reached pixel row `row` of the picture.
    virtual void Update_Processing(int row) = 0;
    virtual void End_Processing() = 0;
    // A build that reads its tiles before the first cell has read `done` of `count` (after
    // Initialise_Processing, before the first Update_Processing). Nothing shows it by default.
    virtual void Update_Reading(int /*done*/, int /*count*/) {}
    // Read before every unit of work (a row and a cell of a mosaic, a row and a tile of an extraction).
    [[nodiscard]] virtual bool Abort_Requested() = 0;
    // Lets pending window messages run, right after the start and after the end.
    virtual void Let_Messages_Run() {}
};

}  // namespace tilvane
