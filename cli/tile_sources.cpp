#include "tile_sources.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "arguments.h"
#include "codecs/picture_file.h"
#include "shell/error_report.h"
#include "support/error.h"
#include "support/native_path.h"
#include "support/work_crew.h"
#include "terminal_progress.h"
#include "tiles/file_names.h"
#include "tiles/picture_folder.h"
#include "tiles/tile_list_file.h"

namespace tilvane::cli {

std::vector<Picture_Source> Expand_Picture_Sources(const std::vector<std::string>& sources) {
    std::vector<Picture_Source> pictures;
    for (const std::string& source : sources) {
        std::error_code ec;
        if (std::filesystem::is_directory(Native_Path(source), ec)) {
            const tiles::Folder_Walk walk =
                tiles::Walk_Folder(source, [](std::string_view name) { return Format_For_Path(name).has_value(); });
            for (const std::string& folder : walk.unreadable_folders)
                std::fprintf(stderr, "%s (skipped)\n", shell::Error_Text(Error::Cannot_Open(folder)).c_str());
            for (const std::string& file : walk.files) pictures.push_back({file, true});
        } else if (tiles::Is_Tile_List_File_Name(source)) {
            for (std::string& listed : tiles::Read_Listed_Tiles(source)) pictures.push_back({std::move(listed), false});
        } else {
            pictures.push_back({source, false});
        }
    }
    return pictures;
}

std::vector<std::size_t> Work_Through_Pictures(const std::vector<Picture_Source>& sources, const std::string& label,
                                               bool quiet, const std::function<void(std::size_t index)>& work) {
    std::vector<std::exception_ptr> failures(sources.size());
    std::atomic<std::size_t> next{0};
    std::atomic<int> done{0};
    const int count = static_cast<int>(sources.size());
    Terminal_Progress progress(stderr, quiet || !Stderr_Is_Terminal(), [&](int finished) {
        return label + " " + std::to_string(finished) + " of " + std::to_string(count);
    });
    progress.Initialise_Processing(0, 0, count);
    Work_Crew crew;
    crew.Run([&](unsigned part) {
        for (std::size_t i; (i = next++) < sources.size();) {
            try {
                work(i);
            } catch (...) {
                failures[i] = std::current_exception();
            }
            const int finished = ++done;
            // The status line is the calling thread's alone.
            if (part == 0) progress.Update_Processing(finished);
        }
    });
    progress.Update_Processing(count);
    progress.End_Processing();

    std::vector<std::size_t> worked;
    int skipped = 0;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (!failures[i]) {
            worked.push_back(i);
            continue;
        }
        if (!sources[i].from_folder) std::rethrow_exception(failures[i]);
        try {
            std::rethrow_exception(failures[i]);
        } catch (const std::exception& e) {
            Tell_Passed_Over(sources[i].path, e);
        }
        ++skipped;
    }
    Tell_Passed_Over_Count(skipped);
    return worked;
}

void Tell_Passed_Over(const std::string& path, const std::exception& error) {
    std::fprintf(stderr, "%s: %s (skipped)\n", path.c_str(), shell::Error_Text(error).c_str());
}

void Tell_Passed_Over_Count(int count) {
    if (count) std::fprintf(stderr, "%d picture%s that could not be read skipped\n", count, count == 1 ? "" : "s");
}

}  // namespace tilvane::cli
