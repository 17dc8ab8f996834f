#include "output_folder.h"

#include <system_error>
#include <vector>

#include "support/error.h"
#include "support/native_path.h"

namespace tilvane::cli {

void In_Output_Folder(const std::filesystem::path& folder, const std::function<void()>& work) {
    namespace fs = std::filesystem;
    std::vector<fs::path> missing;  // deepest first
    fs::path at = folder.lexically_normal();
    if (!at.has_filename()) at = at.parent_path();  // "a/b/" names a/b
    std::error_code ec;
    for (; !at.empty() && !fs::exists(at, ec); at = at.parent_path()) {
        missing.push_back(at);
        if (at == at.parent_path()) break;  // a root that is not there
    }
    // A folder that holds files is not empty and stays.
    const auto take_away = [&] {
        std::error_code ignored;
        for (const fs::path& made : missing) fs::remove(made, ignored);
    };
    if (!fs::create_directories(folder, ec) && ec) {
        take_away();  // those above the one that failed
        throw Error::Cannot_Create_Folder(Utf8_Path(folder), ec);
    }
    try {
        work();
    } catch (...) {
        take_away();
        throw;
    }
}

}  // namespace tilvane::cli
