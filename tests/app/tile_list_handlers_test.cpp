#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>

#include <filesystem>
#include <set>
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

using Items = std::vector<std::string>;
using testing_support::Read_File;
using testing_support::Write_File;

class TileListTest : public ::testing::Test, protected testing_support::Test_Program {
protected:
    TileListTest() { main.Show_Main_Window(); }
    ~TileListTest() override { testing_support::Pump_And_Forget_Quit(); }

    static void Click(const kit::Control& button) { SendMessageW(button.Handle(), BM_CLICK, 0, 0); }
    void Select(const std::vector<int>& indexes) {
        for (const int index : indexes) main.mosaic_page.Tiles_ListBox.Set_Selected(index, true);
    }
    // The texts of the boxes shown so far, and forgets them.
    std::vector<std::wstring> Shown() {
        std::vector<std::wstring> texts;
        for (const desktop::Box_Request& box : boxes.shown) texts.push_back(box.text);
        boxes.shown.clear();
        return texts;
    }
    // The list as the model holds it; the box must show as many.
    const Items& Items_Shown() const {
        EXPECT_EQ(main.mosaic_page.Tiles_ListBox.Count(), main.mosaic_page.Tiles().Count());
        return main.mosaic_page.Tiles().Items();
    }
    std::string List_File() const { return folder.Path() + "Mosaic_Tiles.lst"; }

    TMainForm1& main = program.MainForm1;
};

TEST_F(TileListTest, TheTilePickerAddsWhatIsNotListedAtItsSortedPlaceSilently) {
    main.mosaic_page.Add_Chosen_Tiles({"C:\\T\\d.bmp", "c:\\t\\A.BMP"});
    Select({1});  // d
    picker.answers.push_back({L"C:\\T\\e.bmp", L"C:\\T\\a.bmp", L"C:\\T\\b.bmp"});
    Click(main.mosaic_page.Add_Selected_Tiles_To_List_SpeedButton);

    EXPECT_EQ(Items_Shown(), (Items{"c:\\t\\A.BMP", "C:\\T\\b.bmp", "C:\\T\\d.bmp", "C:\\T\\e.bmp"}));
    EXPECT_TRUE(Shown().empty()) << "duplicates are skipped silently";
    EXPECT_EQ(main.mosaic_page.Tiles_ListBox.Selected_Indexes(), std::vector<int>{2}) << "the selection stays on its item";
    EXPECT_EQ(main.file_fields.Last_Tile_Directory_Edit, L"C:\\T\\");

    ASSERT_EQ(picker.requests.size(), 1u);
    const desktop::Picker_Request& request = picker.requests[0];
    EXPECT_EQ(request.title, L"Select Tile(s) to Add ?");
    EXPECT_EQ(request.filter, L"Bitmap files (*.bmp)|*.bmp|Tile list files (*.lst)|*.lst");
    EXPECT_EQ(request.options, static_cast<DWORD>(OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                                                  OFN_SHAREAWARE));
    EXPECT_EQ(request.initial_directory, win::To_Wide(folder.Path())) << "no remembered directory: the program's";
    EXPECT_EQ(request.file_name, L"");
    EXPECT_EQ(request.filter_index, 1u);

    Click(main.mosaic_page.Add_Selected_Tiles_To_List_SpeedButton);  // Cancel
    ASSERT_EQ(picker.requests.size(), 2u);
    EXPECT_EQ(picker.requests[1].file_name, L"C:\\T\\e.bmp") << "left as the previous use left it";
    EXPECT_EQ(picker.requests[1].initial_directory, win::To_Wide(folder.Path())) << "C:\\T\\ does not exist";
    EXPECT_EQ(Items_Shown().size(), 4u);
}

TEST_F(TileListTest, AChosenTileListFileAddsItsTilesTakenFromItsOwnFolder) {
    const std::string photos = folder.Path() + "Photos\\";
    std::filesystem::create_directory(std::filesystem::u8path(photos));
    Write_File(photos + "Holiday.LST", "a.bmp\r\nSub\\b.bmp\r\nC:\\X\\c.bmp\r\n  \r\n\r\n");
    picker.answers.push_back({win::To_Wide(photos + "Holiday.LST")});
    Click(main.mosaic_page.Add_Selected_Tiles_To_List_SpeedButton);
    EXPECT_TRUE(Shown().empty());
    std::multiset<std::string> added(Items_Shown().begin(), Items_Shown().end());
    EXPECT_EQ(added, (std::multiset<std::string>{photos + "a.bmp", photos + "Sub\\b.bmp", "C:\\X\\c.bmp"}))
        << "blank lines name no tile";
    EXPECT_EQ(main.file_fields.Last_Tile_Directory_Edit, win::To_Wide(photos));

    picker.answers.push_back({win::To_Wide(photos + "d.bmp"), win::To_Wide(photos + "gone.lst")});
    Click(main.mosaic_page.Add_Selected_Tiles_To_List_SpeedButton);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{win::To_Wide("Cannot open file " + photos + "gone.lst.")});
    EXPECT_EQ(Items_Shown().size(), 3u) << "a list that cannot be read adds nothing";
}

TEST_F(TileListTest, TheTilePickerStartsInTheRememberedDirectoryWhenItExists) {
    const struct {
        std::wstring remembered, starts_in;
    } cases[] = {
        {win::To_Wide(folder.Path()), win::To_Wide(folder.Path())},
        {L".", win::To_Wide(folder.Path())},
        {L"\\", win::To_Wide(folder.Path())},
        {win::To_Wide(folder.Path()) + L"gone\\", win::To_Wide(folder.Path())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(win::To_Utf8(c.remembered));
        main.file_fields.Last_Tile_Directory_Edit = c.remembered;
        main.mosaic_page.Add_Selected_Tiles_To_List_SpeedButtonClick();
        EXPECT_EQ(picker.requests.back().initial_directory, c.starts_in);
        EXPECT_EQ(main.file_fields.Last_Tile_Directory_Edit, c.starts_in) << "kept after Cancel";
    }
}

TEST_F(TileListTest, AddingTheOriginalImageChecksItsNameAndRefusesADuplicate) {
    Write_File(folder.Path() + "a.bmp", "any bytes");
    Write_File(folder.Path() + "pic.bmp", "any bytes");
    const std::string listed = folder.Path() + "A.BMP";
    main.mosaic_page.Add_Chosen_Tiles({listed});
    const struct {
        std::wstring input;
        std::wstring message;  // empty: added
        std::wstring input_after;
    } cases[] = {
        {L"", L"Error: The Original File name cannot be blank.", L""},
        {L"photo.jpg", L"Error: Only Bitmap (.BMP) files are supported by this program.",
         win::To_Wide(folder.Path()) + L"photo.jpg"},
        {L"missing", L"Error: The Original File name does NOT exist.", win::To_Wide(folder.Path()) + L"missing.BMP"},
        {win::To_Wide(folder.Path()) + L"a.bmp", L"Error: The Original Image is already in the Tiles List.",
         win::To_Wide(folder.Path()) + L"a.bmp"},
        {L"pic", L"", win::To_Wide(folder.Path()) + L"pic.BMP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(win::To_Utf8(c.input));
        main.mosaic_page.Input_File_Name_Edit.Set_Text(c.input);
        Click(main.mosaic_page.Add_Original_Picture_To_Tile_List_SpeedButton);
        EXPECT_EQ(main.mosaic_page.Input_File_Name_Edit.Text(), c.input_after);
        if (c.message.empty()) {
            EXPECT_TRUE(Shown().empty());
            EXPECT_EQ(Items_Shown(), (Items{listed, folder.Path() + "pic.BMP"}));
            continue;
        }
        EXPECT_EQ(Shown(), std::vector<std::wstring>{c.message});
        EXPECT_EQ(boxes.shown.size(), 0u);
        EXPECT_EQ(Items_Shown(), Items{listed}) << "the list is unchanged after an error";
        const bool focus_stays = c.message == L"Error: The Original Image is already in the Tiles List.";
        EXPECT_EQ(GetFocus(), focus_stays ? main.mosaic_page.Add_Original_Picture_To_Tile_List_SpeedButton.Handle()
                                          : main.mosaic_page.Input_File_Name_Edit.Handle());  // a click focuses its button
    }
}

TEST_F(TileListTest, RemovingSelectedTilesAsksWithTheCountAndDeletesOnYesOnly) {
    Click(main.mosaic_page.Delete_Selected_Tiles_From_List_SpeedButton);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: It is not possible to remove items from an empty list."});

    main.mosaic_page.Add_Chosen_Tiles({"e", "d", "c", "b", "a"});
    Click(main.mosaic_page.Delete_Selected_Tiles_From_List_SpeedButton);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: There are no items selected in the list !"});

    Select({0, 2, 4});
    boxes.answers.push_back(desktop::Box_Answer::No);
    EXPECT_EQ(main.mosaic_page.Remove_Selected_Tiles(), 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].buttons, desktop::Box_Buttons::Yes_No);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Delete all 3 selected items ?  Are you sure ?"});
    EXPECT_EQ(Items_Shown().size(), 5u);

    boxes.answers.push_back(desktop::Box_Answer::Yes);
    EXPECT_EQ(main.mosaic_page.Remove_Selected_Tiles(), 3);
    EXPECT_EQ(Items_Shown(), (Items{"b", "d"}));
    EXPECT_TRUE(main.mosaic_page.Tiles_ListBox.Selected_Indexes().empty());
    EXPECT_EQ(main.mosaic_page.First_Selected_Tile(), "");
}

TEST_F(TileListTest, EmptyingTheListAsksWithTheItemCount) {
    Click(main.mosaic_page.Reset_Tile_List_SpeedButton);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: There are no items in the list to remove !"});

    Items twelve;
    for (int i = 0; i < 12; ++i) twelve.push_back("C:\\T\\" + std::to_string(i + 10) + ".bmp");
    main.mosaic_page.Add_Chosen_Tiles(twelve);
    Select({3});
    Click(main.mosaic_page.Reset_Tile_List_SpeedButton);  // No
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Remove all 12 items from the list ?  Are you sure ?"});
    EXPECT_EQ(Items_Shown(), twelve);
    EXPECT_EQ(main.mosaic_page.First_Selected_Tile_Index(), 3);

    boxes.answers.push_back(desktop::Box_Answer::Yes);
    Click(main.mosaic_page.Reset_Tile_List_SpeedButton);
    EXPECT_TRUE(Items_Shown().empty());
    EXPECT_EQ(main.mosaic_page.Count_Selected_Tiles(), 0);
    EXPECT_EQ(main.mosaic_page.Random_Tile(), "");
}

TEST_F(TileListTest, SetSelectTakesTheSizeOfTheTopmostSelectedTileWithinTheSpinRange) {
    Save_Bitmap_File(Raster_Image(1200, 900), folder.Path() + "big \xc3\xa9t\xc3\xa9.bmp");
    Save_Bitmap_File(Raster_Image(30, 20), folder.Path() + "small.bmp");
    Write_File(folder.Path() + "junk.bmp", "not a bitmap");
    main.mosaic_page.Add_Chosen_Tiles({folder.Path() + "small.bmp", folder.Path() + "big \xc3\xa9t\xc3\xa9.bmp",
                           folder.Path() + "junk.bmp", folder.Path() + "missing.bmp"});
    main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Set_Value(7);
    main.mosaic_page.Vertical_Tile_Size_SpinEdit.Set_Value(8);

    Click(main.mosaic_page.Set_Height_Width_To_Selected_Tile_BitBtn);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: No file was selected in the Tile List."});

    Select({2});  // missing.bmp
    Click(main.mosaic_page.Set_Height_Width_To_Selected_Tile_BitBtn);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: The selected file in the Tile List does not exist."});

    Select({1, 3});  // junk.bmp above small.bmp
    Click(main.mosaic_page.Set_Height_Width_To_Selected_Tile_BitBtn);
    ASSERT_EQ(boxes.shown.size(), 1u) << "the image layer's error, through the error report";
    EXPECT_EQ(boxes.shown[0].caption, L"Tilvane v1.0f");
    Shown();
    EXPECT_EQ(main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Value(), 7);
    EXPECT_EQ(main.mosaic_page.Vertical_Tile_Size_SpinEdit.Value(), 8);

    main.mosaic_page.Tiles_ListBox.Reset(main.mosaic_page.Tiles().Count(), std::vector<int>{0, 3});  // big, small
    Click(main.mosaic_page.Set_Height_Width_To_Selected_Tile_BitBtn);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Value(), 1000);
    EXPECT_EQ(main.mosaic_page.Vertical_Tile_Size_SpinEdit.Value(), 900);
}

TEST_F(TileListTest, TheListFileIsLoadedAtWindowShowAndSavedAtEveryClose) {
    EXPECT_TRUE(Items_Shown().empty()) << "no list file: an empty list and no message";
    Write_File(List_File(), std::string("C:\\b\nC:\\Caf\xc3\xa9\\A.bmp\r\n\r\nC:\\b\0c", 29));  // a zero byte ends the text
    main.mosaic_page.Add_Chosen_Tiles({"gone at the next load"});
    main.FormShow();
    EXPECT_EQ(Items_Shown(), (Items{"", "C:\\b", "C:\\b", "C:\\Caf\xc3\xa9\\A.bmp"}));
    EXPECT_EQ(main.mosaic_page.Tiles_ListBox.Item_Text(3), L"C:\\Caf\u00e9\\A.bmp");

    picker.answers.push_back({L"C:\\\u65e5\u672c\\\u0416.bmp"});
    Click(main.mosaic_page.Add_Selected_Tiles_To_List_SpeedButton);
    EXPECT_TRUE(main.FormCloseQuery());
    EXPECT_EQ(Read_File(List_File()), "\r\nC:\\b\r\nC:\\b\r\nC:\\Caf\xc3\xa9\\A.bmp\r\nC:\\\xe6\x97\xa5\xe6\x9c\xac\\\xd0\x96.bmp\r\n");
    main.FormShow();
    EXPECT_EQ(main.mosaic_page.Find_Tile_Item("c:\\\xe6\x97\xa5\xe6\x9c\xac\\\xd0\xb6.BMP"), 4) << "letter case ignored beyond ASCII";

    boxes.answers.push_back(desktop::Box_Answer::Yes);
    main.mosaic_page.Reset_Tile_List();
    Shown();
    EXPECT_TRUE(main.FormCloseQuery());
    EXPECT_EQ(std::filesystem::file_size(win::To_Wide(List_File())), 0u) << "an empty list gives zero bytes";
}

TEST_F(TileListTest, AnOlderListFileInTheSystemsCodePageReadsAsItsNames) {
    // An older version wrote in the system's code page, whatever this program's own is.
    const unsigned code_page = testing_support::System_Code_Page();
    if (code_page != 1252) GTEST_SKIP() << "the system's code page is " << code_page;
    Write_File(List_File(), "C:\\caf\xe9.bmp\r\nC:\\b.bmp\r\n");
    main.FormShow();
    EXPECT_EQ(Items_Shown(), (Items{"C:\\b.bmp", "C:\\caf\xc3\xa9.bmp"}));
    EXPECT_TRUE(main.FormCloseQuery());
    EXPECT_EQ(Read_File(List_File()), "C:\\b.bmp\r\nC:\\caf\xc3\xa9.bmp\r\n") << "written back as UTF-8";
}

TEST_F(TileListTest, AListFileThatCannotBeWrittenKeepsTheWindowOpenUnlessTheUserSaysClose) {
    std::filesystem::create_directory(win::To_Wide(List_File()));
    SendMessageW(main.Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].icon, desktop::Box_Icon::Error);
    EXPECT_EQ(boxes.shown[1].buttons, desktop::Box_Buttons::Yes_No) << "close without saving?";
    EXPECT_TRUE(IsWindow(main.Handle())) << "answered No";
}

TEST_F(TileListTest, RandomTileDrawsFromTheProgramsGenerator) {
    main.mosaic_page.Add_Chosen_Tiles({"b", "a"});
    EXPECT_EQ(main.mosaic_page.Random_Tile(), "a");  // the recording generator always draws 0
}

// A folder's pictures come in, those of its subfolders too, bitmaps only unless the photo formats
// are on; what cannot be read is named in one message, ten names at most, and the rest is added.
TEST_F(TileListTest, AddFolderAddsEveryReadablePictureAndNamesTheOthers) {
    const std::string photos = folder.Path() + "Photos\\";
    std::filesystem::create_directories(std::filesystem::u8path(photos + "Sub"));
    for (const char* name : {"b.bmp", "a.jpg", "Sub\\c.png", "Sub\\d.bmp"}) Save_Picture(photos + name, Raster_Image(3, 2));
    Write_File(photos + "notes.txt", "not a picture, and not taken");
    std::string named;  // the first ten of twelve that cannot be read
    for (int i = 10; i < 22; ++i) {
        Write_File(photos + "x" + std::to_string(i) + ".bmp", "BM cut short");
        if (i < 20) named += "\r\n" + photos + "x" + std::to_string(i) + ".bmp";
    }
    const std::wstring message = win::To_Wide("Error: 12 pictures in the Directory " + photos +
                                              " could not be read and were not added to the Tiles List :\r\n" +
                                              named + "\r\n... and 2 more");
    // Abort, clicked as the reading starts, adds nothing and tells nothing.
    picker.folder_answers.push_back(win::To_Wide(folder.Path() + "Photos"));
    PostMessageW(program.Progress_Form.Abort_Processing_BitBtn.Handle(), BM_CLICK, 0, 0);
    main.mosaic_page.Add_Folder_To_Tile_List_OptionClick();
    EXPECT_TRUE(Shown().empty());
    EXPECT_TRUE(Items_Shown().empty());
    for (const bool photo_formats : {false, true}) {
        SCOPED_TRACE(photo_formats);
        if (photo_formats) SendMessageW(main.Handle(), WM_COMMAND, main.Photo_Formats_Option.Command_Id(), 0);
        picker.folder_answers.push_back(win::To_Wide(folder.Path() + "Photos"));
        main.mosaic_page.Add_Folder_To_Tile_List_OptionClick();
        EXPECT_EQ(Shown(), std::vector<std::wstring>{message});
        EXPECT_EQ(Items_Shown().size(), photo_formats ? 4u : 2u);
        EXPECT_EQ(main.file_fields.Last_Tile_Directory_Edit, win::To_Wide(photos));
        EXPECT_FALSE(program.Progress_Form.Is_Visible()) << "the reading's dialog goes with its end";
    }
    EXPECT_EQ(Items_Shown(), (Items{photos + "a.jpg", photos + "b.bmp", photos + "Sub\\c.png", photos + "Sub\\d.bmp"}))
        << "the bitmaps once";
    EXPECT_FALSE(picker.folder_requests.at(0).create_missing) << "a folder to read is never made";
    std::filesystem::create_directory(std::filesystem::u8path(photos + "Empty"));
    picker.folder_answers.push_back(win::To_Wide(photos + "Empty"));
    main.mosaic_page.Add_Folder_To_Tile_List_OptionClick();
    main.mosaic_page.Add_Folder_To_Tile_List_OptionClick();  // Cancel
    EXPECT_EQ(Shown(), std::vector<std::wstring>{win::To_Wide(
                           "Error: The Directory " + photos +
                           "Empty\\ and its sub-directories hold no Bitmap (.BMP), JPEG (.JPG, .JPEG), PNG (.PNG), WebP (.WEBP) or HEIC (.HEIC, .HEIF, .AVIF) files.")});
    // One that cannot be read is told of in the singular.
    Write_File(photos + "Empty\\x.bmp", "BM cut short");
    picker.folder_answers.push_back(win::To_Wide(photos + "Empty"));
    main.mosaic_page.Add_Folder_To_Tile_List_OptionClick();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{win::To_Wide("Error: 1 picture in the Directory " + photos +
                                                              "Empty\\ could not be read and was not added to the Tiles List :\r\n\r\n" +
                                                              photos + "Empty\\x.bmp")});
}

}  // namespace
}  // namespace tilvane::app
