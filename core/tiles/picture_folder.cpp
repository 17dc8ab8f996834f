#include "tiles/picture_folder.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <set>

#include "support/error.h"
#include "support/file_system.h"
#include "support/native_path.h"

namespace tilvane::tiles {
namespace {

namespace fs = std::filesystem;

bool Leads_Nowhere(const fs::path& entry) {
    std::error_code ignored;
    return fs::is_symlink(fs::symlink_status(entry, ignored)) && !fs::exists(entry, ignored);
}

class Walker {
public:
    explicit Walker(const std::function<bool(std::string_view)>& take) : take_(take) {}

    // Each folder is known by its identity, not its name: under Wine a link to a folder looks
    // like a plain folder, and only the identity shows a way round in a circle.
    void Walk(const fs::path& folder) {
        errno = 0;
        const std::optional<file_system::File_Identity> identity = file_system::Identity_Of(folder);
        if (!identity) {
            found_.unreadable_folders.push_back({Utf8_Path(folder), Last_System_Error()});
            return;
        }
        if (!folders_seen_.insert(*identity).second) return;
        std::error_code error;
        std::vector<fs::path> entries;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
            entries.push_back(it->path());
        if (error) {
            found_.unreadable_folders.push_back({Utf8_Path(folder), error});
            return;
        }
        std::sort(entries.begin(), entries.end(), [](const fs::path& a, const fs::path& b) {
            return a.filename().u8string() < b.filename().u8string();
        });
        for (const fs::path& entry : entries) {
            if (file_system::Is_Hidden(entry)) continue;
            if (fs::is_directory(entry, error)) {
                Walk(entry);
            } else if (!take_(Utf8_Path(entry.filename()))) {
                continue;
            } else if (fs::is_regular_file(entry, error)) {
                // One whose identity is unknown is taken, and its reading will tell what is wrong.
                const std::optional<file_system::File_Identity> file = file_system::Identity_In(*identity, entry);
                if (!file || files_seen_.insert(*file).second) found_.files.push_back(Utf8_Path(entry));
            } else if (Leads_Nowhere(entry)) {
                found_.broken_links.push_back(Utf8_Path(entry));
            }
        }
    }

    Folder_Walk Take() { return std::move(found_); }

private:
    const std::function<bool(std::string_view)>& take_;
    std::set<file_system::File_Identity> folders_seen_;
    std::set<file_system::File_Identity> files_seen_;
    Folder_Walk found_;
};

}  // namespace

Folder_Walk Walk_Folder(const std::string& folder, const std::function<bool(std::string_view name)>& take) {
    Walker walker(take);
    walker.Walk(Native_Path(folder));
    return walker.Take();
}

}  // namespace tilvane::tiles
