#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "codecs/bmp/bmp_file.h"
#include "codecs/picture_file.h"
#include "image/raster_image.h"
#include "main_window/main_form.h"
#include "support/random_source.h"
#include "test_support.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

using testing_support::Read_File;
using testing_support::Write_File;
using Answer = desktop::Box_Answer;

Raster_Image Uniform(int width, int height, Colour colour) {
    Raster_Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.Set_Pixel(x, y, colour);
    return image;
}

class MakeMosaicTest : public ::testing::Test, protected testing_support::Test_Program {
protected:
    MakeMosaicTest() {
        main.Show_Main_Window();
        Save_Bitmap_File(Uniform(40, 30, {10, 120, 200}), Original());
        main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Set_Value(10);
        main.mosaic_page.Vertical_Tile_Size_SpinEdit.Set_Value(10);
    }
    ~MakeMosaicTest() override { testing_support::Pump_And_Forget_Quit(); }

    std::string Original() const { return folder.Path() + "photo.bmp"; }
    std::string Output() const { return folder.Path() + "result.bmp"; }
    std::string Tile(const std::string& name, Colour colour = {200, 30, 30}) {
        const std::string path = folder.Path() + name;
        Save_Bitmap_File(Uniform(8, 8, colour), path);
        return path;
    }
    void Fill_Page(const std::wstring& original, const std::wstring& output) {
        main.mosaic_page.Input_File_Name_Edit.Set_Text(original);
        main.mosaic_page.Output_File_Name_Edit.Set_Text(output);
    }
    void Click_Make_Mosaic() { SendMessageW(main.mosaic_page.Make_Mosaic_BitBtn.Handle(), BM_CLICK, 0, 0); }
    std::vector<std::wstring> Shown() {
        std::vector<std::wstring> texts;
        for (const desktop::Box_Request& box : boxes.shown) texts.push_back(box.text);
        boxes.shown.clear();
        return texts;
    }
    bool Output_Written() const { return std::filesystem::exists(std::filesystem::u8path(Output())); }

    TMainForm1& main = program.MainForm1;
};

TEST_F(MakeMosaicTest, InputChecksStopWithTheirMessageAndFocus) {
    main.mosaic_page.Add_Chosen_Tiles({Tile("tile.bmp")});
    const std::wstring dir = win::To_Wide(folder.Path());
    struct Case {
        const char* name;
        std::wstring original, output;
        std::wstring message;
        kit::Edit* focused;
        std::wstring original_after;
    };
    const std::wstring bitmaps_only = L"Error: Only Bitmap (.BMP) files are supported by this program.";
    const Case cases[] = {
        {"blank original", L"", L"x.bmp", L"Error: The Original File name cannot be blank.", &main.mosaic_page.Input_File_Name_Edit, L""},
        {"bare name completed, then missing", L"holiday", L"x.bmp", L"Error: The Original File name does NOT exist.",
         &main.mosaic_page.Input_File_Name_Edit, dir + L"holiday.BMP"},
        {"original not a bitmap", dir + L"photo.jpg", L"x.bmp", bitmaps_only, &main.mosaic_page.Input_File_Name_Edit, dir + L"photo.jpg"},
        {"blank output", dir + L"photo.bmp", L"", L"Error: The Output File name cannot be blank.", &main.mosaic_page.Output_File_Name_Edit,
         dir + L"photo.bmp"},
        {"output without extension", L"photo", L"result", bitmaps_only, &main.mosaic_page.Output_File_Name_Edit, dir + L"photo.BMP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill_Page(c.original, c.output);
        Click_Make_Mosaic();
        EXPECT_EQ(Shown(), std::vector<std::wstring>{c.message});
        EXPECT_EQ(GetFocus(), c.focused->Handle());
        EXPECT_EQ(main.mosaic_page.Input_File_Name_Edit.Text(), c.original_after);
        EXPECT_FALSE(Output_Written());
    }
    // Names without a folder are taken to be in the program's folder, in either letter case.
    Fill_Page(L"PHOTO.Bmp", L"result.bmp");
    Click_Make_Mosaic();
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(main.mosaic_page.Output_File_Name_Edit.Text(), dir + L"result.bmp");
    EXPECT_TRUE(Output_Written());
}

TEST_F(MakeMosaicTest, MissingTilesAreCountedAndRemovedOnlyOnYes) {
    Fill_Page(win::To_Wide(Original()), win::To_Wide(Output()));
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: There are no Tiles in the list to use in the Mosaic !"});

    main.mosaic_page.Add_Chosen_Tiles({folder.Path() + "gone1.bmp", folder.Path() + "gone2.bmp"});
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: None of the 2 in the Tiles List could be found !"});
    EXPECT_EQ(main.mosaic_page.Tiles().Count(), 2);

    main.mosaic_page.Add_Chosen_Tiles({Tile("a.bmp"), Tile("b.bmp"), Tile("c.bmp")});
    const std::wstring question =
        L"Error: 2 tiles in the Tiles List could not be found !  Would you like to remove the missing tiles from the list and proceed ?";
    boxes.answers = {Answer::No};
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{question});
    EXPECT_EQ(main.mosaic_page.Tiles().Count(), 5);
    EXPECT_FALSE(Output_Written());

    boxes.answers = {Answer::Yes};
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{question});
    EXPECT_EQ(main.mosaic_page.Tiles().Items(), (std::vector<std::string>{Tile("a.bmp"), Tile("b.bmp"), Tile("c.bmp")}));
    EXPECT_EQ(main.mosaic_page.Tiles_ListBox.Count(), 3);
    EXPECT_TRUE(Output_Written());
}

TEST_F(MakeMosaicTest, AnExistingOutputIsReplacedOnlyOnYes) {
    Raster_Image striped = Uniform(8, 8, {0, 0, 0});
    for (int y = 0; y < 8; y += 2)
        for (int x = 0; x < 8; ++x) striped.Set_Pixel(x, y, {100, 100, 100});
    Save_Bitmap_File(striped, folder.Path() + "striped.bmp");
    main.mosaic_page.Add_Chosen_Tiles({folder.Path() + "striped.bmp"});
    Fill_Page(win::To_Wide(Original()), win::To_Wide(Original()));  // the original itself
    const std::string before = Read_File(Original());
    const std::wstring question = L"Warning: The Output File already exists.  Overwrite this file ?";

    boxes.answers = {Answer::No};
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{question});
    EXPECT_EQ(GetFocus(), main.mosaic_page.Output_File_Name_Edit.Handle());
    EXPECT_TRUE(Read_File(Original()) == before);

    boxes.answers = {Answer::Yes};
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{question});
    EXPECT_FALSE(Read_File(Original()) == before);
    Raster_Image mosaic;
    mosaic = Load_Bitmap_File(Original());
    EXPECT_EQ(mosaic.Width(), 40);
    // The stripes, stretched from 8 to 10 rows (6 of them light: mean 60), shifted onto the
    // cell's colour.
    EXPECT_EQ(mosaic.Pixel(0, 0), (Colour{50, 160, 240}));
    EXPECT_EQ(mosaic.Pixel(0, 2), (Colour{0, 60, 140}));
}

// Both pages count a typed number past a field's range as the nearest value in it.
TEST_F(MakeMosaicTest, TypedSizesPastTheRangeCountAsItsEnds) {
    main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Set_Text(L"5000");
    main.mosaic_page.Vertical_Tile_Gap_SpinEdit.Set_Text(L"-3");
    const Mosaic_Settings settings = main.mosaic_page.Mosaic_Page_Settings();
    EXPECT_EQ(settings.tile_width, 1000);
    EXPECT_EQ(settings.gap_vertical, 0);
}

// An emptied size field is refused by name, with the focus in it, before anything is built; a
// gap field only while the gap box is ticked.
TEST_F(MakeMosaicTest, ASizeFieldWithoutANumberIsRefusedByName) {
    main.mosaic_page.Add_Chosen_Tiles({Tile("tile.bmp")});
    Fill_Page(win::To_Wide(Original()), win::To_Wide(Output()));
    main.mosaic_page.Vertical_Tile_Gap_SpinEdit.Set_Text(L"");
    main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Set_Text(L"");
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: The Tile Width must be a number from 0 to 1000."});
    EXPECT_EQ(GetFocus(), main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Handle());
    main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Set_Text(L"10");
    main.mosaic_page.Insert_Gap_Between_Tiles_CheckBox.Set_Checked(true);
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: The vertical Gap must be a number from 0 to 1000."});
    EXPECT_FALSE(Output_Written());
}

TEST_F(MakeMosaicTest, AGridThatNeverAdvancesIsRefused) {
    main.mosaic_page.Add_Chosen_Tiles({Tile("tile.bmp")});
    Fill_Page(win::To_Wide(Original()), win::To_Wide(Output()));
    main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Set_Value(0);
    main.mosaic_page.Vertical_Tile_Size_SpinEdit.Set_Value(0);
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{
                           L"Error: The Tile Width cannot be 0 unless a horizontal Gap between the Mosaic Tiles is set."});
    EXPECT_EQ(GetFocus(), main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Handle()) << "the field the message is about";
    main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Set_Value(4);
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{
                           L"Error: The Tile Height cannot be 0 unless a vertical Gap between the Mosaic Tiles is set."});
    EXPECT_EQ(GetFocus(), main.mosaic_page.Vertical_Tile_Size_SpinEdit.Handle());
    EXPECT_FALSE(Output_Written());
    main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Set_Value(0);
    main.mosaic_page.Vertical_Tile_Size_SpinEdit.Set_Value(10);

    // With a gap the grid advances, and empty cells leave the original as it was.
    main.mosaic_page.Insert_Gap_Between_Tiles_CheckBox.Set_Checked(true);
    main.mosaic_page.Horizontal_Tile_Gap_SpinEdit.Set_Value(5);
    Click_Make_Mosaic();
    EXPECT_TRUE(Shown().empty());
    EXPECT_TRUE(Read_File(Output()) == Read_File(Original()));
}

TEST_F(MakeMosaicTest, ABuildEndsWithTheDialogFinishedAndAnImageErrorLeavesItRunning) {
    main.mosaic_page.Add_Chosen_Tiles({Tile("tile.bmp")});
    Fill_Page(win::To_Wide(Original()), win::To_Wide(Output()));
    Click_Make_Mosaic();
    EXPECT_TRUE(Shown().empty()) << "a finished build shows no message";
    EXPECT_FALSE(program.Progress_Form.Has_Started_CheckBox());
    EXPECT_EQ(program.Progress_Form.Abort_Processing_BitBtn.Text(), L"OK");
    EXPECT_TRUE(IsWindowEnabled(main.mosaic_page.Make_Mosaic_BitBtn.Handle()));

    std::filesystem::remove(std::filesystem::u8path(Output()));
    Write_File(folder.Path() + "tile.bmp", "not a picture");
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Bitmap image is not valid."});
    EXPECT_TRUE(program.Progress_Form.Has_Started_CheckBox()) << "the dialog stays in its running state";
    EXPECT_FALSE(Output_Written());
    EXPECT_TRUE(IsWindowEnabled(main.mosaic_page.Make_Mosaic_BitBtn.Handle()));
}

// With the photo formats on, a tile that cannot be read is named as the tool names it, and the
// dialog goes rather than wait in its running state for Abort; a cap on uses that the list's
// length cannot cover the grid with (12 cells) is refused before the dialog opens.
TEST_F(MakeMosaicTest, WithPhotosAnUnreadableTileIsNamedAndACapTooLowStopsBeforeTheDialog) {
    SendMessageW(main.Handle(), WM_COMMAND, main.Photo_Formats_Option.Command_Id(), 0);
    Write_File(folder.Path() + "broken.jpg", "not a picture");
    main.mosaic_page.Add_Chosen_Tiles({folder.Path() + "broken.jpg"});
    Fill_Page(win::To_Wide(Original()), win::To_Wide(Output()));
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"JPEG image is not valid: " + win::To_Wide(folder.Path()) + L"broken.jpg."});
    EXPECT_FALSE(program.Progress_Form.Is_Visible());
    EXPECT_FALSE(program.Progress_Form.Has_Started_CheckBox());

    Mosaic_Options options;
    options.formats = Picture_Formats::By_Extension;
    options.max_uses = 11;
    main.mosaic_page.Set_Mosaic_Options(options);
    const std::wstring started = program.Progress_Form.Start_Date_Time_Label.Text();
    clock.Advance_Ms(60000);
    Click_Make_Mosaic();
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Error: The Tiles cannot cover every cell with so few uses of each: at least 12 are needed."});
    EXPECT_EQ(program.Progress_Form.Start_Date_Time_Label.Text(), started) << "the dialog never opened";
    EXPECT_FALSE(Output_Written());
}

// Without the photo formats the page takes bitmaps alone, as it always has; with them each file
// is read, and the mosaic written, in the format its extension names.
TEST_F(MakeMosaicTest, ThePhotoFormatsOptionDecidesWhichFilesThePageTakes) {
    for (const char* name : {"photo.jpg", "photo.png", "tile.jpg", "tile.png", "tile.bmp"})
        Save_Picture(folder.Path() + name, Uniform(8, 8, {30, 60, 90}));
    std::filesystem::copy_file(TILVANE_JPEG_FIXTURES "/exif_rotated.jpg", std::filesystem::u8path(folder.Path() + "turned.jpg"));
    const std::wstring bitmaps = L"Error: Only Bitmap (.BMP) files are supported by this program.";
    const std::wstring pictures =
        L"Error: Only Bitmap (.BMP), JPEG (.JPG, .JPEG), PNG (.PNG), WebP (.WEBP) and HEIC (.HEIC, .HEIF, .AVIF) files are supported by this program.";
    struct Case {
        bool photos;
        const char *original, *tile, *output;
        std::wstring message;  // none: `written` is written, starting with `magic`
        std::string written = {}, magic = {};
    };
    const Case cases[] = {
        {false, "photo.bmp", "tile.bmp", "out.bmp", L"", "out.bmp", "BM"},
        {false, "photo.jpg", "tile.bmp", "out.bmp", bitmaps},
        {false, "photo.bmp", "tile.bmp", "out.png", bitmaps},
        {false, "photo.bmp", "tile.jpg", "out.bmp", L"Bitmap image is not valid."},
        {true, "photo.jpg", "tile.png", "out.jpg", L"", "out.jpg", "\xFF\xD8"},
        {true, "photo.png", "turned.jpg", "out.png", L"", "out.png", "\x89PNG"},
        {true, "photo.jpg", "tile.jpg", "out", L"", "out.BMP", "BM"},
        {true, "photo.gif", "tile.bmp", "out.bmp", pictures},
        {true, "photo.bmp", "turned.jpg", "out.tif", pictures},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.photos << ' ' << c.original << ' ' << c.tile << ' ' << c.output);
        if (main.Photo_Formats_Option.Checked() != c.photos)
            SendMessageW(main.Handle(), WM_COMMAND, main.Photo_Formats_Option.Command_Id(), 0);
        main.mosaic_page.Tiles_ListBox.Set_Selected(0, true);
        main.mosaic_page.Delete_Selected_Tiles();
        main.mosaic_page.Add_Chosen_Tiles({folder.Path() + c.tile});
        Fill_Page(win::To_Wide(c.original), win::To_Wide(c.output));
        Click_Make_Mosaic();
        EXPECT_EQ(Shown(), c.message.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{c.message});
        if (c.written.empty()) continue;
        EXPECT_EQ(main.mosaic_page.Output_File_Name_Edit.Text(), win::To_Wide(folder.Path() + c.written));
        EXPECT_EQ(Read_File(folder.Path() + c.written).substr(0, c.magic.size()), c.magic);
        std::filesystem::remove(std::filesystem::u8path(folder.Path() + c.written));
    }
    // The tile's own size comes upright, as its orientation tag says.
    main.mosaic_page.Tiles_ListBox.Set_Selected(0, true);
    main.mosaic_page.Set_Height_Width_To_Selected_Tile_BitBtnClick();
    EXPECT_EQ(main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Value(), 29);
    EXPECT_EQ(main.mosaic_page.Vertical_Tile_Size_SpinEdit.Value(), 45);
    // The pickers offer the bitmaps first and start on all the pictures.
    main.mosaic_page.Add_Selected_Tiles_To_List_SpeedButtonClick();
    EXPECT_EQ(picker.requests.at(0).filter,
              L"Bitmap files (*.bmp)|*.bmp|All pictures (*.bmp;*.jpg;*.jpeg;*.png;*.webp;*.heic;*.heif;*.avif)"
              L"|*.bmp;*.jpg;*.jpeg;*.png;*.webp;*.heic;*.heif;*.avif"
              L"|JPEG files (*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG files (*.png)|*.png|WebP files (*.webp)|*.webp"
              L"|HEIC files (*.heic;*.heif;*.avif)|*.heic;*.heif;*.avif"
              L"|Tile list files (*.lst)|*.lst");
    EXPECT_EQ(picker.requests[0].filter_index, 2u);
}

}  // namespace
}  // namespace tilvane::app

namespace tilvane::app {
namespace {

// The same list in the same order, the same draws and the same options (the Options menu's choice,
// photo formats and "Mosaic Options ...") give the same files, byte for byte, from the program and
// from the command line: the mosaic, and the record of placements beside it.
TEST(MakeMosaicAgreementTest, TheProgramAndTheCommandLineBuildTheSameFile) {
    testing_support::Recording_Message_Boxes boxes;
    testing_support::Boxes_In_Use boxes_in_use{boxes};
    testing_support::Fake_Clock clock;
    Twister_Random_Source random;
    testing_support::Scripted_File_Picker picker;
    testing_support::Recording_Shell shell;
    testing_support::Scripted_Registry registry;
    testing_support::Temporary_Folder folder;
    Program program{{clock, random, boxes, picker, shell, registry, folder.Path(), folder.Path() + "Tilvane.EXE"}};
    TMainForm1& main = program.MainForm1;
    main.Show_Main_Window();

    Save_Bitmap_File(Uniform(90, 70, {30, 140, 90}), folder.Path() + "photo.bmp");
    for (int i = 0; i < 4; ++i) {
        Raster_Image tile = Uniform(9 + i, 7 + 2 * i, {static_cast<std::uint8_t>(60 * i), 200, 40});
        tile.Set_Pixel(1, 1, {255, 255, 255});
        Save_Bitmap_File(tile, folder.Path() + "tile" + std::to_string(i) + ".bmp");
        main.mosaic_page.Add_Chosen_Tiles({folder.Path() + "tile" + std::to_string(i) + ".bmp"});
    }
    main.mosaic_page.Save_Tile_List_File();
    main.mosaic_page.Input_File_Name_Edit.Set_Text(win::To_Wide(folder.Path() + "photo.bmp"));
    main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Set_Value(11);
    main.mosaic_page.Vertical_Tile_Size_SpinEdit.Set_Value(8);
    main.mosaic_page.Tiles_Crop_To_Size_RadioButton.Set_Checked(true);
    main.mosaic_page.Tiles_Shrink_Expand_To_Size_RadioButton.Set_Checked(false);
    main.mosaic_page.Insert_Gap_Between_Tiles_CheckBox.Set_Checked(true);
    main.mosaic_page.Horizontal_Tile_Gap_SpinEdit.Set_Value(2);
    main.mosaic_page.Vertical_Tile_Gap_SpinEdit.Set_Value(1);
    struct Case {
        const char* name;
        void (*set)(Mosaic_Options&);  // the choice and the photo formats on the menu, the rest in the dialog
        bool placements;
        std::wstring words;  // the command line's for them
    };
    using O = Mosaic_Options&;
    const Case cases[] = {
        {"random", [](O) {}, false, L""},
        {"best", [](O o) { o.choice = Tile_Choice::Best; }, false, L" --choose best"},
        {"shuffled, spaced, twice the size",
         [](O o) { o.choice = Tile_Choice::Shuffle; o.min_distance = 1; o.scale = 2; }, false,
         L" --choose shuffle --min-distance 1 --scale 2"},
        {"random, capped and mirrored", [](O o) { o.max_uses = 15; o.mirror = true; }, true, L" --max-uses 15 --mirror"},
        {"best, capped, mirrored and spaced",
         [](O o) { o.choice = Tile_Choice::Best; o.min_distance = 1; o.max_uses = 15; o.mirror = true; }, true,
         L" --choose best --min-distance 1 --max-uses 15 --mirror"},
        {"colours transferred and blended", [](O o) { o.colour = Tile_Colour::Transfer; o.blend = 30; }, true,
         L" --colour transfer --blend 30"},
        {"a JPEG of quality 70", [](O o) { o.formats = Picture_Formats::By_Extension; o.quality = 70; }, true,
         L" --quality 70"},
    };
    const std::wstring dir = win::To_Wide(folder.Path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Mosaic_Options options;
        c.set(options);
        options.write_placements = c.placements;
        SendMessageW(main.Handle(), WM_COMMAND, main.tile_choice_menu.Item(options.choice).Command_Id(), 0);
        const bool photos = options.formats == Picture_Formats::By_Extension;
        if (main.Photo_Formats_Option.Checked() != photos)
            SendMessageW(main.Handle(), WM_COMMAND, main.Photo_Formats_Option.Command_Id(), 0);
        const std::string program_output = photos ? "program.jpg" : "program.bmp";
        const std::string tool_output = photos ? "command-line.jpg" : "command-line.bmp";
        TMosaic_Options_Dialog& dialog = main.Mosaic_Options_Dialog;
        PostMessageW(dialog.Handle(), WM_COMMAND, dialog.Register_Command([&] {
            dialog.Show_Options(options);
            SendMessageW(dialog.OKButton.Handle(), BM_CLICK, 0, 0);
        }), 0);
        SendMessageW(main.Handle(), WM_COMMAND, main.Mosaic_Options_Option.Command_Id(), 0);
        main.mosaic_page.Output_File_Name_Edit.Set_Text(win::To_Wide(folder.Path() + program_output));
        for (const std::string& built : {program_output, std::string("program.csv")})
            std::filesystem::remove(std::filesystem::u8path(folder.Path() + built));
        random.Seed(20261207);
        SendMessageW(main.mosaic_page.Make_Mosaic_BitBtn.Handle(), BM_CLICK, 0, 0);
        ASSERT_TRUE(boxes.shown.empty());

        ASSERT_EQ(testing_support::Run_Process(L"\"" + testing_support::Command_Line_Tool() + L"\" mosaic \"" + dir + L"photo.bmp\" \"" + dir + win::To_Wide(tool_output) + L"\" --tiles \"" +
                      dir + L"Mosaic_Tiles.lst\" --size 11x8 --crop --gap 2x1 --seed 20261207 --quiet" + c.words +
                      (c.placements ? L" --placements \"" + dir + L"command-line.csv\"" : L"")),
                  0u);
        const std::string built_by_program = testing_support::Read_File(folder.Path() + program_output);
        ASSERT_FALSE(built_by_program.empty());
        EXPECT_TRUE(built_by_program == testing_support::Read_File(folder.Path() + tool_output));
        const std::string record = testing_support::Read_File(folder.Path() + "program.csv");
        EXPECT_EQ(record.empty(), !c.placements);
        if (c.placements) {
            EXPECT_EQ(record, testing_support::Read_File(folder.Path() + "command-line.csv"));
        }
    }
    testing_support::Pump_And_Forget_Quit();
}

}  // namespace
}  // namespace tilvane::app
