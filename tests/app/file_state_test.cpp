#include "desktop/file_state.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/file_system.h"
#include "test_support.h"

namespace tilvane::desktop {
namespace {

// Holds a file open as another program would, sharing nothing.
class Held_File {
public:
    explicit Held_File(const std::string& path)
        : handle_(CreateFileW(Long_Path(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE) << path;
    }
    Held_File(const Held_File&) = delete;
    Held_File& operator=(const Held_File&) = delete;
    ~Held_File() { CloseHandle(handle_); }

private:
    HANDLE handle_;
};

class FileStateTest : public ::testing::Test {
protected:
    ~FileStateTest() override {
        // The folder's own clean-up stops at MAX_PATH.
        for (auto d = deep_directories_.rbegin(); d != deep_directories_.rend(); ++d) {
            RemoveDirectoryW(Long_Path(*d).c_str());
        }
    }

    // A file in a fresh folder; `deep` puts it past MAX_PATH characters.
    std::string Make_File(bool deep = false) {
        std::string directory = folder.Path();
        if (deep) {
            for (char letter : {'a', 'b', 'c'}) {
                directory += std::string(100, letter) + "\\";
                EXPECT_TRUE(CreateDirectoryW(Long_Path(directory).c_str(), nullptr));
                deep_directories_.push_back(directory);
            }
        }
        const std::string path = directory + "Tilvane.ini";
        const HANDLE file = CreateFileW(Long_Path(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        return path;
    }
    testing_support::Temporary_Folder folder;

private:
    std::vector<std::string> deep_directories_;
};

TEST_F(FileStateTest, StatesOfEmptyMissingFreeAndHeldFiles) {
    EXPECT_EQ(Get_File_State(""), "");
    EXPECT_EQ(Get_File_State(folder.Path() + "gone.ini"), "");
    const std::string path = Make_File();
    EXPECT_EQ(Get_File_State(path), "CLOSED");
    {
        Held_File held(path);
        EXPECT_EQ(Get_File_State(path), "OPEN");
    }
    EXPECT_EQ(Get_File_State(folder.Path()), "") << "a directory is no file";
}

// The old open call could not take 128 characters or more; a long path is tested all the same.
TEST_F(FileStateTest, LongPathsAreTestedAndAHeldOneIsNotDeleted) {
    const std::string path = Make_File(true);
    ASSERT_GT(path.size(), 300u);
    EXPECT_EQ(Get_File_State(path), "CLOSED");
    {
        Held_File held(path);
        EXPECT_EQ(Get_File_State(path), "OPEN");
        EXPECT_FALSE(Delete_File_If_Closed(path));
        EXPECT_TRUE(File_Exists(path));
    }
    EXPECT_TRUE(Delete_File_If_Closed(path));
    EXPECT_FALSE(File_Exists(path));
}

TEST_F(FileStateTest, DeleteClearsAttributesFirstSoAReadOnlyFileGoes) {
    EXPECT_FALSE(Delete_File_If_Closed(folder.Path() + "gone.ini"));
    const std::string path = Make_File();
    SetFileAttributesW(Long_Path(path).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    {
        Held_File held(path);
        EXPECT_FALSE(Delete_File_If_Closed(path));
        EXPECT_EQ(GetFileAttributesW(Long_Path(path).c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u)
            << "a held file keeps its place but loses its attributes";
    }
    SetFileAttributesW(Long_Path(path).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Delete_File_If_Closed(path));
    EXPECT_FALSE(File_Exists(path));
}

}  // namespace
}  // namespace tilvane::desktop
