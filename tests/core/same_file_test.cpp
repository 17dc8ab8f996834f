#include <gtest/gtest.h>

#include <fstream>

#include "support/error.h"
#include "support/file_io.h"
#include "support/same_file.h"
#include "temp_folder.h"

namespace tilvane {
namespace {

TEST(SameFile, KnowsAFileByIdentityAndANewOneByPlace) {
    testing_support::Temp_Folder temp;
    std::filesystem::create_directory(temp.Folder() / "sub");
    for (const char* name : {"a.bmp", "b.bmp"}) std::ofstream(temp.Folder() / name) << "same size";
    std::filesystem::create_hard_link(temp.Folder() / "a.bmp", temp.Folder() / "hard.bmp");
    const struct {
        const char* file;
        const char* other;
        bool same;
    } cases[] = {
        {"a.bmp", "sub/../a.bmp", true}, {"a.bmp", "hard.bmp", true},   {"a.bmp", "b.bmp", false},
        {"a.bmp", "new.csv", false},     {"new.csv", "sub/../new.csv", true}, {"new.csv", "a.bmp", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Same_File_As(temp.Path(c.file))(temp.Path(c.other)), c.same) << c.file << " and " << c.other;
}

TEST(SameFile, ASaveThatWouldFailIsToldBeforeAnythingIsWritten) {
    testing_support::Temp_Folder temp;
    std::filesystem::create_directory(temp.Folder() / "folder");
    const struct {
        const char* path;
        std::errc reason;  // {} for a save that may go ahead
    } cases[] = {{"new.csv", {}}, {"missing/new.csv", std::errc::no_such_file_or_directory}, {"folder", std::errc::is_a_directory}};
    for (const auto& c : cases) {
        try {
            Check_May_Save(temp.Path(c.path));
            EXPECT_EQ(c.reason, std::errc{}) << c.path;
        } catch (const Error& e) {
            EXPECT_EQ(e.Kind(), Error_Kind::Cannot_Create) << c.path;
            EXPECT_EQ(e.Reason(), std::make_error_code(c.reason)) << c.path;
        }
    }
    EXPECT_EQ(temp.Names(), (std::vector<std::string>{"folder"}));
}

}  // namespace
}  // namespace tilvane
