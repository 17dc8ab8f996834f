#pragma once
// Whether a file is held by another process, and deleting it only when it is not: used by the
// factory reset and by the shortcut deletion, on UTF-8 paths of any length.
#include <string>
#include <string_view>

namespace tilvane::desktop {

inline constexpr std::string_view kFile_Open = "OPEN";            // another process holds it
inline constexpr std::string_view kFile_Closed = "CLOSED";        // it can be opened for exclusive use
inline constexpr std::string_view kFile_Not_Found = "NOT FOUND";  // it went, or its drive is not there
inline constexpr std::string_view kFile_Error = "ERROR";          // any other failure of the open test

// One of the texts above, or empty for an empty path or a file that does not exist. The test is
// an exclusive read-write open, with the system's critical-error boxes off meanwhile.
[[nodiscard]] std::string Get_File_State(const std::string& path);

// Clears the file's attributes (so a read-only file goes too), then deletes it when nobody holds
// it. True when the file is gone afterwards; false when it did not exist to begin with.
bool Delete_File_If_Closed(const std::string& path);

}  // namespace tilvane::desktop
