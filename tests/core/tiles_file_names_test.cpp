#include "tiles/file_names.h"

#include <gtest/gtest.h>

#include <set>

namespace tilvane::tiles {
namespace {

Path_Exists Exists_In(std::set<std::string> paths) {
    return [paths = std::move(paths)](const std::string& path) { return paths.contains(path); };
}

TEST(FileName, DirectoryAndExtensionParts) {
    const struct { const char *path, *directory, *extension; } cases[] = {
        {"C:\\T\\a.bmp", "C:\\T\\", ".bmp"},  {"photo", "", ""},
        {"photo.", "", "."},                   {"C:photo.bmp", "C:", ".bmp"},
        {"C:\\v1.2\\photo", "C:\\v1.2\\", ""}, {"a.b.BMP", "", ".BMP"},
        {".bmp", "", ".bmp"},                  {"C:\\", "C:\\", ""},
        {"a:b\\c:d.e", "a:b\\c:", ".e"},       {"dir/photo.bmp", "", ".bmp"},  // "/" is no separator
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(Directory_Part(c.path), c.directory);
        EXPECT_EQ(Extension_Part(c.path), c.extension);
    }
}

// Shortcut names come from this: every copy of the extension goes, exactly as spelt.
TEST(FileName, FileNameWithoutExtension) {
    EXPECT_EQ(File_Name_Without_Extension("C:\\Tools\\Tilvane.EXE"), "Tilvane");
    EXPECT_EQ(File_Name_Without_Extension("C:\\v1.2\\Tilvane"), "Tilvane");
    EXPECT_EQ(File_Name_Without_Extension("a.EXE.exe.EXE"), "a.exe");
}

TEST(FileName, NormaliseDirectoryName) {
    const struct { const char *text, *normalised; } cases[] = {
        {"", ""}, {"\\", ""}, {".", ""}, {"..", ""}, {".\\", ""}, {"..\\", ""},
        // The empty cases match the untrimmed text only.
        {" . ", ".\\"}, {"...", "...\\"}, {" \\ ", "\\"}, {"   ", "\\"}, {"\\\\", "\\"},
        {"C:\\Tiles", "C:\\Tiles\\"}, {"C:\\Tiles\\", "C:\\Tiles\\"}, {"C:\\Tiles\\\\\\", "C:\\Tiles\\"},
        {" \t C:\\Tiles \r\n", "C:\\Tiles\\"}, {"\x7f" "C:\\a b\x01", "C:\\a b\\"},
        {"C:\\\\a\\\\\\b", "C:\\a\\b\\"}, {"\\\\server\\share", "\\server\\share\\"},
        {"C:\\Caf\xc3\xa9", "C:\\Caf\xc3\xa9\\"},  // bytes of a UTF-8 letter are not trimmed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(Normalise_Directory_Name(c.text), c.normalised);
    }
}

TEST(FileName, LastDirectoryRule) {
    const std::string program = "C:\\Prog\\";
    const auto existing = Exists_In({"C:\\Tiles\\", "C:\\Tiles", ".\\", "\\", ".", ".."});
    const struct { const char *field, *usable; } cases[] = {
        {"C:\\Tiles\\", "C:\\Tiles\\"}, {"C:\\Tiles", "C:\\Tiles"}, {".\\", ".\\"},
        {"C:\\Deleted\\", "C:\\Prog\\"}, {"", "C:\\Prog\\"},
        // Reset even though the directory exists.
        {"\\", "C:\\Prog\\"}, {".", "C:\\Prog\\"}, {"..", "C:\\Prog\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(Usable_Last_Directory(c.field, program, existing), c.usable);
    }
}

TEST(FileName, BitmapNameChecksCompleteThenValidate) {
    using enum Bitmap_Name_Outcome;
    constexpr auto Read = Bitmap_Name_Checks::Existing_File;
    constexpr auto Write = Bitmap_Name_Checks::New_File;
    const auto existing = Exists_In({"C:\\Prog\\photo.BMP", "C:\\Prog\\photo.bmp", "C:\\Prog\\PHOTO.Bmp",
                                     "sub\\photo.bmp", "C:photo.BMP", "C:\\Prog\\photo.jpg"});
    const struct {
        const char* text;
        Bitmap_Name_Checks checks;
        const char* name;
        Bitmap_Name_Outcome outcome;
    } cases[] = {
        {"", Read, "", Blank},
        {"", Write, "", Blank},
        {"photo", Read, "C:\\Prog\\photo.BMP", Ok},
        {"photo.bmp", Read, "C:\\Prog\\photo.bmp", Ok},
        {"PHOTO.Bmp", Read, "C:\\Prog\\PHOTO.Bmp", Ok},
        {"photo.jpg", Read, "C:\\Prog\\photo.jpg", Not_Bitmap},  // even though it exists
        {"photo.", Read, "C:\\Prog\\photo.", Not_Bitmap},
        {"photo.bmp ", Read, "C:\\Prog\\photo.bmp ", Not_Bitmap},
        {"missing", Read, "C:\\Prog\\missing.BMP", Not_Found},
        {"sub\\photo.bmp", Read, "sub\\photo.bmp", Ok},
        {"sub\\other.bmp", Read, "sub\\other.bmp", Not_Found},
        {"C:photo", Read, "C:photo.BMP", Ok},
        {"C:\\v1.2\\photo", Read, "C:\\v1.2\\photo.BMP", Not_Found},
        {"out.bmp", Write, "C:\\Prog\\out.bmp", Ok},
        {"out", Write, "C:\\Prog\\out", Not_Bitmap},
        {"D:\\out.Jpg", Write, "D:\\out.Jpg", Not_Bitmap},
        {"D:\\out.BMP", Write, "D:\\out.BMP", Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" " << (c.checks == Read ? "read" : "write"));
        const Bitmap_Name_Result result = Check_Bitmap_Name(c.text, "C:\\Prog\\", existing, c.checks);
        EXPECT_EQ(result.name, c.name);
        EXPECT_EQ(result.name_changed, std::string(c.name) != c.text);
        EXPECT_EQ(result.outcome, c.outcome);
    }
}

}  // namespace
}  // namespace tilvane::tiles
