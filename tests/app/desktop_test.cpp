#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/file_picker.h"
#include "desktop/file_system.h"
#include "test_support.h"
#include "win/text.h"

namespace tilvane::desktop {
namespace {

using namespace std::string_literals;

TEST(FilePicker, TurnsTheFilterIntoNulSeparatedParts) {
    EXPECT_EQ(Picker_Filter(L"Bitmap files (*.bmp)|*.bmp"), L"Bitmap files (*.bmp)\0*.bmp\0\0"s);
}

TEST(FilePicker, ReadsOneOrManyChosenFiles) {
    const struct {
        std::wstring answer;
        bool multiple;
        std::vector<std::wstring> files;
    } cases[] = {
        {L"\0\0"s, true, {}},
        {L"C:\\T\\a.bmp\0\0"s, true, {L"C:\\T\\a.bmp"}},
        {L"C:\\T\0a.bmp\0B.BMP\0\0"s, true, {L"C:\\T\\a.bmp", L"C:\\T\\B.BMP"}},
        {L"C:\\\0a.bmp\0b.bmp\0\0junk"s, true, {L"C:\\a.bmp", L"C:\\b.bmp"}},
        {L"\0\0"s, false, {}},
        // The rest of a longer pre-filled name after the chosen path's terminator.
        {L"C:\\test\\z.bmp\0pick.bmp\0\0"s, false, {L"C:\\test\\z.bmp"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.files));
        EXPECT_EQ(Chosen_Files(c.answer, c.multiple), c.files);
    }
}

TEST(FileSystem, TellsFilesFromDirectories) {
    testing_support::Temporary_Folder folder;
    const std::string file = folder.Path() + "caf\xc3\xa9.bmp";
    testing_support::Write_File(file, "x");
    EXPECT_TRUE(File_Exists(file));
    EXPECT_FALSE(Directory_Exists(file));
    EXPECT_TRUE(Directory_Exists(folder.Path()));
    EXPECT_FALSE(File_Exists(folder.Path()));
    EXPECT_FALSE(File_Exists(folder.Path() + "gone.bmp"));
    EXPECT_FALSE(File_Exists(""));
    const std::string program = Program_Directory();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.back(), '\\');
    EXPECT_TRUE(File_Exists(program + "tilvane_app_tests.exe"));
}

// Keys compared byte by byte must order as the locale comparison with letter case ignored does.
TEST(LocaleSortKey, OrdersAsTheLocaleComparisonIgnoringCase) {
    const std::vector<std::string> texts = {
        "", "a", "A", "b", "C:\\T\\a.bmp", "c:\\t\\A.BMP", "C:\\T\\b.bmp", "C:\\T\\a b.bmp", "C:\\T\\ab.bmp",
        "C:\\T\\a-b.bmp", "C:\\Caf\xc3\xa9.bmp", "C:\\CAF\xc3\x89.BMP", "C:\\Cafe.bmp", "\xd0\x96", "\xd0\xb6", "z",
        "C:\\T\\10.bmp", "C:\\T\\9.bmp",
    };
    for (const std::string& a : texts) {
        for (const std::string& b : texts) {
            SCOPED_TRACE(a + " / " + b);
            const std::wstring wa = win::To_Wide(a), wb = win::To_Wide(b);
            const int locale = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(), -1, wb.c_str(), -1) - 2;
            const int keys = Locale_Sort_Key(a).compare(Locale_Sort_Key(b));
            EXPECT_EQ(locale < 0, keys < 0);
            EXPECT_EQ(locale == 0, keys == 0);
        }
    }
}

}  // namespace
}  // namespace tilvane::desktop
