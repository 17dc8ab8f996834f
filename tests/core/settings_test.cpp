#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "settings/profile_text.h"
#include "settings/settings_values.h"
#include "shell/error_report.h"
#include "support/error.h"
#include "temp_folder.h"

namespace tilvane::settings {
namespace {

using Lines = std::vector<std::string>;

TEST(ProfileValue, NamesIgnoreCaseSpacesAndQuotesGoTheFirstLineWins) {
    const Lines lines = {
        "; window_top_posn=1", "Other=x",        "  WINDOW_top_POSN =  \"  42 \" ", "window_top_posn=99",
        "single=' a '",        "odd=\"half'",    "lone=\"",                          "empty=",
        "no equals sign",      "key with = in=v",
    };
    EXPECT_EQ(Profile_Value(lines, "window_top_posn"), "  42 ") << "the comment never matches";
    EXPECT_EQ(Profile_Value(lines, "Single"), " a ");
    EXPECT_EQ(Profile_Value(lines, "odd"), "\"half'") << "quotes that do not pair stay";
    EXPECT_EQ(Profile_Value(lines, "lone"), "\"");
    EXPECT_EQ(Profile_Value(lines, "empty"), "");
    EXPECT_EQ(Profile_Value(lines, "key with"), "in=v") << "the first equals sign ends the name";
    EXPECT_EQ(Profile_Value(lines, "no equals sign"), std::nullopt);
    EXPECT_EQ(Profile_Value(lines, "missing"), std::nullopt);
}

TEST(ProfileSection, TheFirstSectionOfTheNameWithoutBlanksOrEmptyLines) {
    const struct { const char* what; const char* text; Lines lines; } cases[] = {
        {"any line end", "[Tilvane]\r\na=1\rb=2\nc=3", {"a=1", "b=2", "c=3"}},
        {"case, blanks, empty lines", "x=0\r\n  [tILVANE] ; note\r\n\r\n  a = 1 \r\n[Other]\r\nb=2", {"a = 1"}},
        {"the first of two", "[Tilvane]\na=1\n[Tilvane]\na=2", {"a=1"}},
        {"a bracket that does not close is a line", "[Tilvane]\n[a=1\n", {"[a=1"}},
        {"no section", "a=1\n[Other]\nb=2", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Profile_Section_Lines(c.text, "Tilvane"), c.lines);
    }
}

TEST(ProfileSection, AnOlderFileInTheSystemsCodePageIsDecodedMissingFilesHaveNoLines) {
    const testing_support::Temp_Folder folder;
    const Legacy_Text_Decoder latin_1 = [](std::string_view text) {
        std::string utf8;
        for (const unsigned char c : text) utf8 += c < 0x80 ? std::string(1, static_cast<char>(c))
                                                            : std::string{static_cast<char>(0xC0 | (c >> 6)),
                                                                          static_cast<char>(0x80 | (c & 0x3F))};
        return utf8;
    };
    const std::string path = folder.Path("Tilvane.ini");
    std::ofstream(path, std::ios::binary) << "[Tilvane]\r\nInput_File_Name_Edit=C:\\caf\xe9.bmp\r\n";
    EXPECT_EQ(Read_Profile_Section(path, "Tilvane", latin_1), Lines{"Input_File_Name_Edit=C:\\caf\xc3\xa9.bmp"});
    std::ofstream(path, std::ios::binary) << "\xef\xbb\xbf[Tilvane]\r\nk=caf\xc3\xa9\r\n";
    EXPECT_EQ(Read_Profile_Section(path, "Tilvane", latin_1), Lines{"k=caf\xc3\xa9"}) << "UTF-8 stays";
    EXPECT_EQ(Read_Profile_Section(folder.Path("missing.ini"), "Tilvane", latin_1), Lines{});
}

TEST(ProfileValue, LongValuesAreCutBetweenCharacters) {
    const std::string cyrillic = "\xd0\x96";  // two bytes, one character
    std::string value;
    for (std::size_t i = 0; i < kProfile_Value_Limit + 5; ++i) value += cyrillic;
    const auto read = Profile_Value({"k=" + value}, "k");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->size(), 2 * kProfile_Value_Limit);
    EXPECT_EQ(*read, value.substr(0, 2 * kProfile_Value_Limit));
    EXPECT_EQ(Profile_Value({"k=" + std::string(kProfile_Value_Limit, 'a')}, "k")->size(), kProfile_Value_Limit);
}

TEST(ProfileInteger, DecimalDollarAndZeroXFormsAnythingElseTheDefault) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"768", 768},         {"-3", -3},         {"+7", 7},           {"0x300", 768},      {"0X1f", 31},
        {"$1F", 31},          {"$FFFFFFFF", -1},  {"0x", -9},          {"$", -9},           {"abc", -9},
        {"", -9},             {"12abc", -9},      {"1e3", -9},         {"+-1", -9},         {"--1", -9},
        {"-$10", -9},         {"0x-1", -9},       {"99999999999", -9}, {"$100000000", -9},  {"2147483647", 2147483647},
        {"-2147483648", INT_MIN}, {"007", 7},     {"yes", -9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Profile_Integer(std::string(c.text), -9), c.expected);
    }
    EXPECT_EQ(Profile_Integer(std::nullopt, -9), -9);
    EXPECT_TRUE(Profile_Boolean(std::string("2"), false));
    EXPECT_TRUE(Profile_Boolean(std::string("-1"), false));
    EXPECT_FALSE(Profile_Boolean(std::string("yes"), false)) << "not a number: the default";
    EXPECT_TRUE(Profile_Boolean(std::string("yes"), true));
    EXPECT_FALSE(Profile_Boolean(std::string("0"), true));
}

TEST(Settings, NoFileGivesTheFactorySettings) {
    Settings factory;
    factory.window_top_posn = factory.window_left_posn = 20;
    factory.window_Width = 594;
    factory.window_Height = 490;
    factory.Horizontal_Tile_Size_SpinEdit = factory.Vertical_Tile_Size_SpinEdit = 20;
    factory.Horizontal_Tile_Gap_SpinEdit = factory.Vertical_Tile_Gap_SpinEdit = 6;
    factory.Extract_Tile_Width_SpinEdit = factory.Extract_Tile_Height_SpinEdit = 6;
    factory.Extract_Image_Limits_RadioGroup = 3;
    EXPECT_EQ(Read_Settings({}), factory);
    EXPECT_EQ(Read_Settings({"[Other]", "unknown=1"}), factory);
}

TEST(Settings, NumbersAreHeldWithinTheirRangesAndWindowCoordinatesAreNot) {
    const Settings read = Read_Settings({
        "Horizontal_Tile_Size_SpinEdit=5000", "Extract_Tile_Width_SpinEdit=0", "Vertical_Tile_Gap_SpinEdit=-3",
        "window_Width=0x300", "window_Height=abc", "window_left_posn=-5000", "Insert_Gap_Between_Tiles_CheckBox=2",
        "Tiles_Crop_To_Size_RadioButton=yes", "Tile_Choice_Option=9",
    });
    EXPECT_EQ(read.Horizontal_Tile_Size_SpinEdit, 1000);
    EXPECT_EQ(read.Extract_Tile_Width_SpinEdit, 1);
    EXPECT_EQ(read.Vertical_Tile_Gap_SpinEdit, 0);
    EXPECT_EQ(read.window_Width, 768);
    EXPECT_EQ(read.window_Height, 490);
    EXPECT_EQ(read.window_left_posn, -5000);
    EXPECT_TRUE(read.Insert_Gap_Between_Tiles_CheckBox);
    EXPECT_FALSE(read.Tiles_Crop_To_Size_RadioButton);
    EXPECT_EQ(read.mosaic_options.choice, Tile_Choice::Best);
    for (const auto& [stored, selected] : {std::pair{"1", 1}, {"9", 3}, {"-5", -1}, {"-1", -1}, {"x", 3}}) {
        EXPECT_EQ(Read_Settings({std::string("Extract_Image_Limits_RadioGroup=") + stored})
                      .Extract_Image_Limits_RadioGroup,
                  selected)
            << stored;
    }
}

TEST(Settings, EntriesComeMaximisedStateFirstAndReadBackTheSame) {
    Settings settings = Read_Settings({});
    settings.WindowState_wsMaximized = true;
    settings.window_top_posn = -8;
    settings.Input_File_Name_Edit = "C:\\\xd0\x9f\xd1\x80\xd0\xb8\\\xe6\xbc\xa2.bmp";
    settings.Tiles_Crop_To_Size_RadioButton = true;
    settings.Extract_Image_Limits_RadioGroup = -1;
    settings.mosaic_options.choice = Tile_Choice::Shuffle;
    settings.mosaic_options.formats = Picture_Formats::By_Extension;
    const auto entries = Settings_Entries(settings);
    ASSERT_EQ(entries.size(), 32u);
    const std::vector<std::string_view> first = {"WindowState_wsMaximized", "window_top_posn", "window_left_posn",
                                                 "window_Width", "window_Height", "Always_on_Top_Option",
                                                 "Auto_Run_at_Windows_Startup_Option", "Input_File_Name_Edit"};
    for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(entries[i].first, first[i]);
    EXPECT_EQ(entries[22].first, "Tile_Choice_Option");
    EXPECT_EQ(entries[23].first, "Photo_Formats_Option");
    EXPECT_EQ(entries[0].second, "1");
    EXPECT_EQ(entries[1].second, "-8");
    Lines lines;
    for (const auto& [key, text] : entries) lines.push_back(std::string(key) + "=" + text);
    EXPECT_EQ(Read_Settings(lines), settings);
    EXPECT_EQ(shell::Error_Text(Error::Cannot_Write_Settings("C:\\P\\Tilvane.ini")), "Unable to write to C:\\P\\Tilvane.ini");
}

// The Options menu's keys, each read by the file's rules and written back in decimal (their order
// in the file: the program's settings test).
TEST(Settings, MosaicOptionKeysAreHeldWithinTheirRanges) {
    const struct {
        const char* key;
        const char* stored;
        const char* written;
    } cases[] = {
        {"Tile_Choice_Option", "$2", "2"},
        {"Mosaic_Scale_Option", "0x10", "16"},          {"Mosaic_Scale_Option", "17", "16"},
        {"Mosaic_Scale_Option", "0", "1"},              {"Mosaic_Scale_Option", "x", "1"},
        {"Minimum_Tile_Distance_Option", "$A", "10"},   {"Minimum_Tile_Distance_Option", "5000", "1000"},
        {"Maximum_Tile_Uses_Option", "-2", "0"},        {"Maximum_Tile_Uses_Option", "99999999", "999999"},
        {"Tile_Colour_Option", "1", "1"},               {"Tile_Colour_Option", "7", "1"},
        {"Tile_Colour_Option", "-1", "0"},              {"Blend_Original_Option", "0x14", "20"},
        {"Blend_Original_Option", "101", "100"},        {"Mirror_Tiles_Option", "2", "1"},
        {"Mirror_Tiles_Option", "yes", "0"},            {"JPEG_Quality_Option", "0", "1"},
        {"JPEG_Quality_Option", "", "92"},              {"JPEG_Quality_Option", "$64", "100"},
        {"Write_Placements_Option", "-1", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
        const auto entries = Settings_Entries(Read_Settings({std::string(c.key) + "=" + c.stored}));
        const auto entry = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == c.key; });
        ASSERT_NE(entry, entries.end());
        EXPECT_EQ(entry->second, c.written);
    }
}

}  // namespace
}  // namespace tilvane::settings
