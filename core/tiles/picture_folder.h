#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tilvane::tiles {

struct Unreadable_Folder {
    std::string path;
    std::error_code reason;  // the system's, where it gave one
};

struct Folder_Walk {
    std::vector<std::string> files;                       // the files taken, in walk order
    std::vector<Unreadable_Folder> unreadable_folders;  // folders that could not be opened or listed
    std::vector<std::string> broken_links;               // links taken by their names that lead nowhere
};

// The files in folder and all its subfolders whose names take(file name) accepts. Hidden files
// and folders are passed over; symbolic links are followed, each real folder and file taken
// once (known by its identity, file_system::Identity_Of, which holds under Wine too), so links
// that lead back up or to the same place add nothing; one that leads nowhere is listed apart. Each folder is listed in
// the order of its names' bytes, a subfolder's files at the subfolder's place, so the same tree
// gives the same list. Paths are UTF-8, starting with folder as given.
Folder_Walk Walk_Folder(const std::string& folder, const std::function<bool(std::string_view name)>& take);

}  // namespace tilvane::tiles
