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
namespace {

bool Is_Write_Failure(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const Error& error) {
        return error.Kind() == Error_Kind::Cannot_Create || error.Kind() == Error_Kind::Cannot_Write ||
               error.Kind() == Error_Kind::Cannot_Create_Folder;
    } catch (...) {
        return false;
    }
}

}  // namespace

Picture_Sources Expand_Picture_Sources(const std::vector<std::string>& sources) {
    Picture_Sources found;
    for (const std::string& source : sources) {
        std::error_code ec;
        if (std::filesystem::is_directory(Native_Path(source), ec)) {
            const tiles::Folder_Walk walk =
                tiles::Walk_Folder(source, [](std::string_view name) { return Format_For_Path(name) != nullptr; });
            for (const tiles::Unreadable_Folder& folder : walk.unreadable_folders)
                std::fprintf(stderr, "%s (skipped)\n",
                             shell::Error_Text_With_Details(Error::Cannot_Open_Folder(folder.path, folder.reason)).c_str());
            found.unreadable_folders += static_cast<int>(walk.unreadable_folders.size());
            for (const std::string& link : walk.broken_links)
                Tell_Passed_Over(link, Error::Cannot_Open(link, std::make_error_code(std::errc::no_such_file_or_directory)));
            found.broken_links += static_cast<int>(walk.broken_links.size());
            for (const std::string& file : walk.files) found.pictures.push_back({file, true});
        } else if (library::Is_Library_Name(source)) {
            if (!found.libraries) found.libraries = std::make_shared<library::Library_Tiles>();
            for (std::string& photo : found.libraries->Add_Library(source)) found.pictures.push_back({std::move(photo), false});
        } else if (tiles::Is_Tile_List_File_Name(source)) {
            for (std::string& listed : tiles::Read_Listed_Tiles(source)) found.pictures.push_back({std::move(listed), false});
        } else {
            found.pictures.push_back({source, false});
        }
    }
    return found;
}

std::vector<std::size_t> Work_Through_Pictures(const Picture_Sources& sources, const std::string& label, bool quiet,
                                               const std::function<void(std::size_t index)>& work) {
    const std::vector<Picture_Source>& pictures = sources.pictures;
    std::vector<std::exception_ptr> failures(pictures.size());
    std::vector<char> ran(pictures.size());  // not started when a write failure stopped the run
    std::atomic<std::size_t> next{0};
    std::atomic<int> done{0};
    std::atomic<bool> stopped{false};
    const int count = static_cast<int>(pictures.size());
    Terminal_Progress progress(stderr, quiet || !Stderr_Is_Terminal(), [&](int finished) {
        return label + " " + std::to_string(finished) + " of " + std::to_string(count);
    });
    progress.Initialise_Processing(0, 0, count);
    Work_Crew crew;
    crew.Run([&](unsigned part) {
        for (std::size_t i; !stopped && (i = next++) < pictures.size();) {
            try {
                work(i);
            } catch (...) {
                failures[i] = std::current_exception();
                if (Is_Write_Failure(failures[i])) stopped = true;
            }
            ran[i] = 1;
            const int finished = ++done;
            // The status line is the calling thread's alone.
            if (part == 0) progress.Update_Processing(finished);
        }
    });
    if (!stopped) progress.Update_Processing(count);
    progress.End_Processing();

    std::vector<std::size_t> worked;
    std::exception_ptr write_failure;
    int skipped = 0;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (!failures[i]) {
            if (ran[i]) worked.push_back(i);
            continue;
        }
        if (Is_Write_Failure(failures[i])) {
            if (!write_failure) write_failure = failures[i];
            continue;
        }
        if (!pictures[i].from_folder) std::rethrow_exception(failures[i]);
        try {
            std::rethrow_exception(failures[i]);
        } catch (const std::exception& e) {
            Tell_Passed_Over(pictures[i].path, e);
        }
        ++skipped;
    }
    Tell_Passed_Over_Count(skipped + sources.broken_links, sources.unreadable_folders);
    if (write_failure) std::rethrow_exception(write_failure);
    return worked;
}

void Tell_Passed_Over(const std::string& path, const std::exception& error) {
    // The system's reason too, for a link that leads nowhere or a picture this user may not read.
    const auto* core = dynamic_cast<const Error*>(&error);
    const std::string reason = core && core->Reason() ? ": " + core->Reason().message() : "";
    std::fprintf(stderr, "%s: %s%s (skipped)\n", path.c_str(), shell::Error_Text(error).c_str(), reason.c_str());
}

void Tell_Passed_Over_Count(int pictures, int folders) {
    const auto counted = [](int n, const std::string& what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); };
    std::string text = pictures ? counted(pictures, "picture") : "";
    if (folders) text += (text.empty() ? "" : " and ") + counted(folders, "folder");
    if (!text.empty()) std::fprintf(stderr, "%s that could not be read skipped\n", text.c_str());
}

}  // namespace tilvane::cli
