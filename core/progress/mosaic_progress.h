#pragma once
#include <string>

namespace tilvane {

// Where a long run (a mosaic build, a tile extraction) reports: the program's progress dialog,
// or the command line's status line.
class Mosaic_Progress {
public:
    virtual ~Mosaic_Progress() = default;
    virtual void Initialise_Processing(int start, int minimum, int maximum) = 0;
    virtual void Update_Processing(const std::string& major, const std::string& minor, int current) = 0;
    virtual void End_Processing() = 0;
    // Read before every unit of work (a row and a cell of a mosaic).
    [[nodiscard]] virtual bool Abort_Requested() = 0;
    // Lets pending window messages run, right after the start and after the end.
    virtual void Let_Messages_Run() {}
};

}  // namespace tilvane
