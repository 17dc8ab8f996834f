#include "support/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "image/image_error.h"
#include "temp_folder.h"

namespace tilvane {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public testing::Test {
protected:
    std::string path(const std::string& name) const { return folder_.Path(name); }
    std::vector<std::string> names_in_folder() const { return folder_.Names(); }

    testing_support::Temp_Folder folder_;
};

template <typename F>
std::string error_text(F&& f) {
    try {
        f();
    } catch (const ImageError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST_F(FileIoTest, ReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    const std::string target = path("mosaic.bmp");
    write_file_atomically(target, {1, 2, 3, 4, 5});
    write_file_atomically(target, {9, 8});
    EXPECT_EQ(read_whole_file(target), (std::vector<std::uint8_t>{9, 8}));
    EXPECT_EQ(names_in_folder(), std::vector<std::string>{"mosaic.bmp"});
}

TEST_F(FileIoTest, KeepsNonAsciiNames) {
    const std::string target = path("mosa\xC3\xAF" "que \xE2\x82\xAC.bmp");  // UTF-8 letters and a euro sign
    write_file_atomically(target, {7});
    EXPECT_EQ(read_whole_file(target), std::vector<std::uint8_t>{7});
    EXPECT_EQ(names_in_folder(), std::vector<std::string>{"mosa\xC3\xAF" "que \xE2\x82\xAC.bmp"});
}

TEST_F(FileIoTest, FailuresNameThePathAndLoseNothing) {
    const std::string missing_folder = path("no such folder/out.bmp");
    EXPECT_EQ(error_text([&] { write_file_atomically(missing_folder, {1}); }), "Cannot create file " + missing_folder);

    // A folder in the way of the file: the folder and its content stay.
    fs::create_directory(folder_.Folder() / "taken.bmp");
    std::ofstream(folder_.Folder() / "taken.bmp" / "inside.txt") << "keep";
    const std::string taken = path("taken.bmp");
    EXPECT_EQ(error_text([&] { write_file_atomically(taken, {1}); }), "Cannot create file " + taken);
    EXPECT_TRUE(fs::exists(folder_.Folder() / "taken.bmp" / "inside.txt"));
    EXPECT_EQ(names_in_folder(), std::vector<std::string>{"taken.bmp"});

    const std::string absent = path("absent.bmp");
    EXPECT_EQ(error_text([&] { read_whole_file(absent); }), "Cannot open file " + absent);
}

TEST_F(FileIoTest, ReadsEmptyAndLargeFilesWhole) {
    const std::string empty = path("empty.bmp");
    write_file_atomically(empty, std::vector<std::uint8_t>{});
    EXPECT_TRUE(read_whole_file(empty).empty());

    std::vector<std::uint8_t> large(300000);
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<std::uint8_t>(i * 31);
    const std::string big = path("big.bmp");
    write_file_atomically(big, large);
    EXPECT_EQ(read_whole_file(big), large);
}

}  // namespace
}  // namespace tilvane
