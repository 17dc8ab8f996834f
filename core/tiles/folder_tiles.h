#pragma once
// The tiles of a folder, for the program's tile list: every picture of the folder and its
// subfolders that can be read, and the names of those that cannot.
#include <string>
#include <vector>

#include "codecs/picture_file.h"
#include "progress/run_progress.h"

namespace tilvane::tiles {

struct Folder_Tiles {
    std::vector<std::string> readable;    // in the walk's name order
    // Pictures that did not read, then links that lead nowhere, then folders that could not be
    // listed (each with a trailing backslash).
    std::vector<std::string> unreadable;
    bool aborted = false;  // the user stopped the reading: neither list is complete
};

// Walks folder (Walk_Folder) for the pictures that formats takes: with Bmp_Only the names ending
// in ".bmp", with By_Extension every name a format claims. Each is read once, on all processors
// (a JPEG at its smallest scale), so that a damaged file is told now rather than midway through
// a build. The reading is a run of progress (Update_Reading), which an abort ends; a folder
// without pictures shows none.
[[nodiscard]] Folder_Tiles Find_Folder_Tiles(const std::string& folder, Picture_Formats formats, Run_Progress& progress);

}  // namespace tilvane::tiles
