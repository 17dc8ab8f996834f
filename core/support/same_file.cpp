#include "support/same_file.h"

#include "support/native_path.h"

namespace tilvane {
namespace {

namespace fs = std::filesystem;

// Where a path leads, for a file that may not exist: its links followed and the rest made absolute.
fs::path Place_Of(const fs::path& path) {
    std::error_code ignored;
    return fs::weakly_canonical(file_system::Follow_Links(path).value_or(path), ignored);
}

}  // namespace

Same_File_As::Same_File_As(const std::string& path) {
    const fs::path native = Native_Path(path);
    std::error_code ec;
    if (fs::exists(native, ec)) {
        identity_ = file_system::Identity_Of(native);
        size_ = fs::is_regular_file(native, ec) ? fs::file_size(native, ec) : 0;
    }
    place_ = Place_Of(native);
}

bool Same_File_As::operator()(const std::string& other) const {
    const fs::path native = Native_Path(other);
    std::error_code ec;
    if (!identity_) return !fs::exists(native, ec) && Place_Of(native) == place_;
    if (fs::is_regular_file(native, ec) && fs::file_size(native, ec) != size_) return false;
    return file_system::Identity_Of(native) == identity_;
}

}  // namespace tilvane
