#include <gtest/gtest.h>

#include <fstream>

#include "temp_folder.h"
#include "tiles/picture_folder.h"

namespace tilvane {
namespace {

namespace fs = std::filesystem;

TEST(PictureFolder, WalksSubfoldersInNameOrderOnceEach) {
    testing_support::Temp_Folder temp;
    const auto path = [](const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); };
    for (const char* name : {"b.jpg", "a/z.png", "a/c/d.bmp", "A.BMP", "notes.txt", ".hidden.jpg", ".cache/x.jpg", "é.jpg"}) {
        const fs::path file = path(temp.Path(name));  // UTF-8 names, as the core's
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "x";
    }
#ifndef _WIN32
    // A link back to the top and a second way into a folder add nothing. (A Windows program
    // cannot make links under Wine; the command line's photo folder test makes one there.)
    fs::create_directory_symlink(temp.Folder(), temp.Folder() / "a" / "up");
    fs::create_directory_symlink(temp.Folder() / "a" / "c", temp.Folder() / "same-as-c");
    // Links to nothing are listed apart, when their names are taken.
    fs::create_symlink(temp.Folder() / "none", temp.Folder() / "gone.jpg");
    fs::create_symlink(temp.Folder() / "none", temp.Folder() / "gone.txt");
#endif

    const tiles::Folder_Walk walk = tiles::Walk_Folder(temp.Path(""), [](std::string_view name) {
        return !name.ends_with(".txt");
    });
    std::vector<fs::path> got;
    for (const std::string& file : walk.files) got.push_back(path(file));
    const std::vector<fs::path> want = {path(temp.Path("A.BMP")), path(temp.Path("a/c/d.bmp")), path(temp.Path("a/z.png")),
                                        path(temp.Path("b.jpg")), path(temp.Path("é.jpg"))};
    EXPECT_EQ(got, want);
    EXPECT_TRUE(walk.unreadable_folders.empty());
#ifndef _WIN32
    EXPECT_EQ(walk.broken_links, std::vector<std::string>{temp.Path("gone.jpg")});
#endif
}

}  // namespace
}  // namespace tilvane
