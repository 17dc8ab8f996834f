#pragma once
#include <filesystem>
#include <functional>

namespace tilvane::cli {

// Makes folder and the folders above it that are missing, then runs work. Throws
// Error::Cannot_Create_Folder with the system's reason when a folder cannot be made. When work
// throws, the folders made for it that it left empty go again, so a run that wrote nothing
// leaves nothing behind.
void In_Output_Folder(const std::filesystem::path& folder, const std::function<void()>& work);

}  // namespace tilvane::cli
