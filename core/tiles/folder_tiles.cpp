#include "tiles/folder_tiles.h"

#include "support/work_crew.h"
#include "tiles/file_names.h"
#include "tiles/picture_folder.h"

namespace tilvane::tiles {

Folder_Tiles Find_Folder_Tiles(const std::string& folder, Picture_Formats formats, Run_Progress& progress) {
    const Folder_Walk walk = Walk_Folder(folder, [formats](std::string_view name) {
        return formats == Picture_Formats::By_Extension ? Format_For_Path(name) != nullptr : Has_Bitmap_Extension(name);
    });
    std::vector<char> read(walk.files.size());
    Folder_Tiles found;
    const int count = static_cast<int>(walk.files.size());
    if (count > 0) {
        progress.Initialise_Processing(0, 0, count);
        Work_Crew crew;
        Share_Each(
            crew, walk.files.size(),
            [&](std::size_t i) {
                try {
                    (void)Load_Picture(walk.files[i], formats, Load_Hint{1, 1});
                    read[i] = 1;
                } catch (...) {
                    // Told by name in the list of unreadable pictures.
                }
            },
            [&](std::size_t done) {
                progress.Update_Reading(static_cast<int>(done), count);
                found.aborted = progress.Abort_Requested();
                return !found.aborted;
            });
        if (!found.aborted) progress.Update_Reading(count, count);  // the last may finish on another thread
        progress.End_Processing();
    }
    for (std::size_t i = 0; i < walk.files.size(); ++i) (read[i] ? found.readable : found.unreadable).push_back(walk.files[i]);
    found.unreadable.insert(found.unreadable.end(), walk.broken_links.begin(), walk.broken_links.end());
    for (const Unreadable_Folder& unlisted : walk.unreadable_folders)
        found.unreadable.push_back(Normalise_Directory_Name(unlisted.path));
    return found;
}

}  // namespace tilvane::tiles
