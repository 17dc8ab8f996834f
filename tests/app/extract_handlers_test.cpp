#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "codecs/bmp/bmp_file.h"
#include "codecs/picture_file.h"
#include "image/raster_image.h"
#include "main_window/main_form.h"
#include "test_support.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

using Answer = desktop::Box_Answer;

Raster_Image Gradient(int width, int height) {
    Raster_Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * 2), static_cast<std::uint8_t>(y * 2), 90});
    return image;
}

std::vector<std::string> Names_In(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ExtractPageTest : public ::testing::Test, protected testing_support::Test_Program {
protected:
    ExtractPageTest() {
        main.Show_Main_Window();
        Save_Bitmap_File(Gradient(100, 100), Mosaic());
        main.extract_page.Extract_Tile_Width_SpinEdit.Set_Value(30);
        main.extract_page.Extract_Tile_Height_SpinEdit.Set_Value(30);
    }
    ~ExtractPageTest() override { testing_support::Pump_And_Forget_Quit(); }

    std::string Mosaic() const { return folder.Path() + "mosaic.bmp"; }
    std::string Tiles() const { return folder.Path() + "tiles\\"; }
    void Click(const kit::Control& button) { SendMessageW(button.Handle(), BM_CLICK, 0, 0); }
    std::vector<std::wstring> Shown() {
        std::vector<std::wstring> texts;
        for (const desktop::Box_Request& box : boxes.shown) texts.push_back(box.text);
        boxes.shown.clear();
        return texts;
    }
    kit::Bounds Preview() const { return main.extract_page.Extract_Tile_Preview_Image.Get_Bounds(); }

    TMainForm1& main = program.MainForm1;
};

TEST_F(ExtractPageTest, ExtractTilesCutsTheGridIntoTheNormalisedDirectory) {
    std::filesystem::create_directory(std::filesystem::u8path(Tiles()));
    testing_support::Write_File(Tiles() + "001,001.bmp", "old");
    main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(win::To_Wide(Mosaic()));
    main.extract_page.Extracted_Tile_Directory_Edit.Set_Text(L"  " + win::To_Wide(folder.Path()) + L"tiles");
    main.extract_page.Extract_Image_Limits_RadioGroup.Set_Item_Index(-1);  // no choice acts as all
    Click(main.extract_page.Extract_Mosaic_Tiles_BitBtn);
    EXPECT_TRUE(Shown().empty()) << "no message at the end";
    EXPECT_EQ(main.extract_page.Extracted_Tile_Directory_Edit.Text(), win::To_Wide(Tiles()));
    EXPECT_EQ(Names_In(Tiles()).size(), 16u);
    EXPECT_EQ(Names_In(Tiles()).back(), "004,004.bmp");
    EXPECT_NE(testing_support::Read_File(Tiles() + "001,001.bmp"), "old");
    EXPECT_FALSE(program.Progress_Form.Has_Started_CheckBox());
    EXPECT_EQ(program.Progress_Form.Abort_Processing_BitBtn.Text(), L"OK");
    EXPECT_TRUE(IsWindowEnabled(main.extract_page.Extract_Mosaic_Tiles_BitBtn.Handle()));

    std::filesystem::remove_all(std::filesystem::u8path(Tiles()));
    std::filesystem::create_directory(std::filesystem::u8path(Tiles()));
    main.extract_page.Extract_Gap_Between_Tiles_CheckBox.Set_Checked(true);
    main.extract_page.Extract_Horizontal_Tile_Gap_SpinEdit.Set_Value(10);
    main.extract_page.Extract_Vertical_Tile_Gap_SpinEdit.Set_Value(10);
    main.extract_page.Extract_Image_Limits_RadioGroup.Set_Item_Index(2);
    Click(main.extract_page.Extract_Mosaic_Tiles_BitBtn);
    EXPECT_EQ(Names_In(Tiles()), (std::vector<std::string>{"001,001.bmp", "001,002.bmp", "001,003.bmp"}));

    // Numbers typed past the fields' ranges count as the nearest they allow: a gap of -40 would
    // never advance the grid.
    std::filesystem::remove_all(std::filesystem::u8path(Tiles()));
    std::filesystem::create_directory(std::filesystem::u8path(Tiles()));
    main.extract_page.Extract_Vertical_Tile_Gap_SpinEdit.Set_Text(L"-40");
    main.extract_page.Extract_Tile_Height_SpinEdit.Set_Text(L"0");
    main.extract_page.Extract_Image_Limits_RadioGroup.Set_Item_Index(2);
    Click(main.extract_page.Extract_Mosaic_Tiles_BitBtn);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(Names_In(Tiles()).size(), 100u);
}

TEST_F(ExtractPageTest, FailuresReachTheErrorReport) {
    // An emptied size is refused by name rather than taken as 1.
    main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(win::To_Wide(Mosaic()));
    main.extract_page.Extract_Tile_Height_SpinEdit.Set_Text(L"");
    Click(main.extract_page.Extract_Mosaic_Tiles_BitBtn);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: The Tile Height must be a number from 1 to 1000."});
    EXPECT_EQ(GetFocus(), main.extract_page.Extract_Tile_Height_SpinEdit.Handle());
    main.extract_page.Extract_Tile_Height_SpinEdit.Set_Value(30);
    // No directory: nothing is cut into the folder the program runs in.
    for (const wchar_t* blank : {L"", L"   "}) {
        main.extract_page.Extracted_Tile_Directory_Edit.Set_Text(blank);
        Click(main.extract_page.Extract_Mosaic_Tiles_BitBtn);
        EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: The Directory to hold the Extracted Tiles cannot be blank."});
        EXPECT_EQ(GetFocus(), main.extract_page.Extracted_Tile_Directory_Edit.Handle());
        EXPECT_FALSE(program.Progress_Form.Is_Visible());
    }

    main.extract_page.Extracted_Tile_Directory_Edit.Set_Text(win::To_Wide(Tiles()));
    main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(win::To_Wide(folder.Path() + "missing.bmp"));
    Click(main.extract_page.Extract_Mosaic_Tiles_BitBtn);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Cannot open file " + win::To_Wide(folder.Path()) + L"missing.bmp."});
    EXPECT_FALSE(program.Progress_Form.Is_Visible()) << "the dialog never started";

    // The tile directory does not exist: the first tile fails and the dialog stays running.
    main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(win::To_Wide(Mosaic()));
    Click(main.extract_page.Extract_Mosaic_Tiles_BitBtn);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Cannot create file " + win::To_Wide(Tiles()) + L"001,001.bmp."});
    EXPECT_TRUE(program.Progress_Form.Has_Started_CheckBox());
    EXPECT_TRUE(IsWindowEnabled(main.extract_page.Extract_Mosaic_Tiles_BitBtn.Handle()));
}

TEST_F(ExtractPageTest, TestShowChecksTheNameAndThePreviewFollowsTheFields) {
    const std::wstring dir = win::To_Wide(folder.Path());
    struct Case {
        std::wstring typed, message, after;
    };
    const Case cases[] = {
        {L"", L"Error: The Mosaic File name cannot be blank.", L""},
        {L"mosaic2", L"Error: The Mosaic File name does NOT exist.", dir + L"mosaic2.BMP"},
        {dir + L"mosaic.jpg", L"Error: Only Bitmap (.BMP) files are supported by this program.", dir + L"mosaic.jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(win::To_Utf8(c.typed));
        main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(c.typed);
        Click(main.extract_page.Test_Show_Image_Preview_BitBtn);
        EXPECT_EQ(Shown(), std::vector<std::wstring>{c.message});
        EXPECT_EQ(main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Text(), c.after);
        EXPECT_EQ(GetFocus(), main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Handle());
        EXPECT_TRUE(main.extract_page.Extract_Tile_Preview_Image.Shown().Empty());
    }
    main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(L"mosaic");
    Click(main.extract_page.Test_Show_Image_Preview_BitBtn);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Text(), dir + L"mosaic.BMP");
    EXPECT_EQ(main.extract_page.Extract_Tile_Preview_Image.Shown().Size().cx, 100);
    EXPECT_EQ(Preview().width, 30);

    // Set Select takes the mosaic page's size; 0 arrives as 1.
    main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Set_Value(0);
    main.mosaic_page.Vertical_Tile_Size_SpinEdit.Set_Value(24);
    Click(main.extract_page.Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtn);
    EXPECT_EQ(main.extract_page.Extract_Tile_Width_SpinEdit.Value(), 1);
    EXPECT_EQ(Preview().width, 1);
    EXPECT_EQ(Preview().height, 24);

    // Typing reloads whatever the name holds; a failed load keeps the picture shown.
    Save_Bitmap_File(Gradient(40, 20), folder.Path() + "small.bmp");
    main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(dir + L"small.bmp");
    EXPECT_EQ(main.extract_page.Extract_Tile_Preview_Image.Shown().Size().cx, 40);
    testing_support::Write_File(folder.Path() + "broken.bmp", "BM not really");
    testing_support::Write_File(folder.Path() + "photo.png", "png");
    main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(dir + L"broken.bmp");
    main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(dir + L"photo.png");
    main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(dir + L"nothing-here.bmp");
    EXPECT_EQ(Shown(), (std::vector<std::wstring>{L"Bitmap image is not valid.", L"Unknown picture file extension (.png)"}));
    EXPECT_EQ(main.extract_page.Extract_Tile_Preview_Image.Shown().Size().cx, 40);
}

// With the photo formats a PNG mosaic is previewed and cut into BMP tiles (without them it is
// refused as the test above shows).
TEST_F(ExtractPageTest, ThePhotoFormatsLetAPngMosaicBePreviewedAndCut) {
    Save_Picture(folder.Path() + "mosaic.png", Gradient(100, 90));
    SendMessageW(main.Handle(), WM_COMMAND, main.Photo_Formats_Option.Command_Id(), 0);
    main.extract_page.Extracted_Tile_Directory_Edit.Set_Text(win::To_Wide(Tiles()));
    main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(win::To_Wide(folder.Path() + "mosaic.png"));
    Click(main.extract_page.Test_Show_Image_Preview_BitBtn);
    EXPECT_EQ(main.extract_page.Extract_Tile_Preview_Image.Shown().Size().cy, 90);
    std::filesystem::create_directory(std::filesystem::u8path(Tiles()));
    Click(main.extract_page.Extract_Mosaic_Tiles_BitBtn);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(Names_In(Tiles()).back(), "004,003.bmp");
}

TEST_F(ExtractPageTest, ThePreviewBoxKeepsTheTileSizeThroughEveryReLayout) {
    main.extract_page.Extract_Tile_Width_SpinEdit.Set_Value(20);
    main.extract_page.Extract_Tile_Height_SpinEdit.Set_Value(17);
    for (const int show : {SW_MAXIMIZE, SW_RESTORE}) {
        ShowWindow(main.Handle(), show);
        EXPECT_EQ(Preview().width, 20);
        EXPECT_EQ(Preview().height, 17);
    }
    SetWindowPos(main.Handle(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Preview().width, 20);
    EXPECT_EQ(Preview().height, 17);
}

TEST_F(ExtractPageTest, TheDirectoryChooserStartsInAUsableFolderAndMakesATypedOne) {
    main.file_fields.Last_Tile_Directory_Edit = win::To_Wide(folder.Path()) + L"deleted-since";
    picker.folder_answers = {std::nullopt};
    Click(main.extract_page.Extracted_Tile_Directory_SpeedButton);
    ASSERT_EQ(picker.folder_requests.size(), 1u);
    EXPECT_EQ(picker.folder_requests[0].initial_directory, win::To_Wide(folder.Path()));
    EXPECT_EQ(main.extract_page.Extracted_Tile_Directory_Edit.Text(), L"");

    const std::wstring typed = win::To_Wide(folder.Path()) + L"new\\deeper";
    const std::wstring question = L"The Directory " + typed + L" does not exist.  Create this directory ?";
    boxes.answers = {Answer::No};
    picker.folder_answers = {typed};
    Click(main.extract_page.Extracted_Tile_Directory_SpeedButton);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{question});
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(typed)));
    EXPECT_EQ(main.extract_page.Extracted_Tile_Directory_Edit.Text(), L"");

    boxes.answers = {Answer::Yes};
    picker.folder_answers = {typed};
    Click(main.extract_page.Extracted_Tile_Directory_SpeedButton);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{question});
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(typed)));
    EXPECT_EQ(main.extract_page.Extracted_Tile_Directory_Edit.Text(), typed + L"\\");
    EXPECT_EQ(main.file_fields.Last_Tile_Directory_Edit, typed + L"\\");
}

TEST_F(ExtractPageTest, TheProgramAndTheCommandLineCutTheSameFiles) {
    Raster_Image palette = Gradient(73, 52);
    palette.Set_Format(Pixel_Format::Bits8);
    Save_Bitmap_File(palette, Mosaic());
    main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Set_Text(win::To_Wide(Mosaic()));
    main.extract_page.Extracted_Tile_Directory_Edit.Set_Text(win::To_Wide(folder.Path() + "program"));
    main.extract_page.Extract_Tile_Width_SpinEdit.Set_Value(20);
    main.extract_page.Extract_Tile_Height_SpinEdit.Set_Value(15);
    main.extract_page.Extract_Gap_Between_Tiles_CheckBox.Set_Checked(true);
    main.extract_page.Extract_Horizontal_Tile_Gap_SpinEdit.Set_Value(3);
    main.extract_page.Extract_Vertical_Tile_Gap_SpinEdit.Set_Value(2);
    std::filesystem::create_directory(std::filesystem::u8path(folder.Path() + "program"));
    Click(main.extract_page.Extract_Mosaic_Tiles_BitBtn);
    ASSERT_TRUE(Shown().empty());

    const std::wstring dir = win::To_Wide(folder.Path());
    ASSERT_EQ(testing_support::Run_Process(L"\"" + testing_support::Command_Line_Tool() + L"\" extract \"" + dir +
                                           L"mosaic.bmp\" \"" + dir + L"command-line\" --size 20x15 --gap 3x2 --quiet"),
              0u);

    const std::vector<std::string> names = Names_In(folder.Path() + "program");
    ASSERT_EQ(names.size(), 16u);
    EXPECT_EQ(names, Names_In(folder.Path() + "command-line"));
    for (const std::string& name : names)
        EXPECT_TRUE(testing_support::Read_File(folder.Path() + "program\\" + name) ==
                    testing_support::Read_File(folder.Path() + "command-line\\" + name))
            << name;
}

}  // namespace
}  // namespace tilvane::app
