#pragma once
// Whether two names lead to one file: known by the file's identity, so that another spelling, a
// symbolic link or a hard link is no way round.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "support/file_system.h"

namespace tilvane {

// Asked of many paths about one file (a mosaic's placements file against every tile), it looks
// the file up once.
class Same_File_As {
public:
    explicit Same_File_As(const std::string& path);

    // Whether other is the file: for one that exists, the same identity; for one not there yet,
    // the same place once links are followed.
    [[nodiscard]] bool operator()(const std::string& other) const;

private:
    std::optional<file_system::File_Identity> identity_;
    std::uintmax_t size_ = 0;  // a cheap first test, since identities cost more on Windows
    std::filesystem::path place_;
};

}  // namespace tilvane
