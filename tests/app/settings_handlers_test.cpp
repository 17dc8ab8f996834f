// The settings file through the real profile calls, in a fresh program directory under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "codecs/picture_file.h"
#include "desktop/file_system.h"
#include "kit/application.h"
#include "main_window/main_form.h"
#include "main_window/program.h"
#include "test_support.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

using desktop::Box_Answer;
using testing_support::Read_File;
using testing_support::Write_File;

constexpr char kWritten_From_Nothing[] =
    "[Tilvane]\r\n"
    "WindowState_wsMaximized=0\r\n"
    "window_top_posn=20\r\n"
    "window_left_posn=20\r\n"
    "window_Width=594\r\n"
    "window_Height=490\r\n"
    "Always_on_Top_Option=0\r\n"
    "Auto_Run_at_Windows_Startup_Option=0\r\n"
    "Input_File_Name_Edit=\r\n"
    "Output_File_Name_Edit=\r\n"
    "Tiles_Crop_To_Size_RadioButton=0\r\n"
    "Insert_Gap_Between_Tiles_CheckBox=0\r\n"
    "Horizontal_Tile_Size_SpinEdit=20\r\n"
    "Vertical_Tile_Size_SpinEdit=20\r\n"
    "Horizontal_Tile_Gap_SpinEdit=6\r\n"
    "Vertical_Tile_Gap_SpinEdit=6\r\n"
    "Extract_Mosaic_Bitmap_File_Name_Edit=\r\n"
    "Extract_Tile_Width_SpinEdit=6\r\n"
    "Extract_Tile_Height_SpinEdit=6\r\n"
    "Extract_Image_Limits_RadioGroup=3\r\n"
    "Extracted_Tile_Directory_Edit=\r\n"
    "Last_Mosaic_Directory_Edit=\r\n"
    "Last_Tile_Directory_Edit=\r\n"
    "Tile_Choice_Option=0\r\n"
    "Photo_Formats_Option=0\r\n"
    "Mosaic_Scale_Option=1\r\n"
    "Minimum_Tile_Distance_Option=0\r\n"
    "Maximum_Tile_Uses_Option=0\r\n"
    "Tile_Colour_Option=0\r\n"
    "Blend_Original_Option=0\r\n"
    "Mirror_Tiles_Option=0\r\n"
    "JPEG_Quality_Option=92\r\n"
    "Write_Placements_Option=0\r\n";

// A folder name of another script than the single-byte code page's.
const std::string kForeign_Name = "C:\\\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\\\xe6\xbc\xa2.bmp";

// Holds a file as another program would: sharing reading only, so the file can be read but not
// written or deleted.
class Held_File {
public:
    explicit Held_File(const std::string& path)
        : handle_(CreateFileW(win::To_Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr)) {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
    }
    Held_File(const Held_File&) = delete;
    Held_File& operator=(const Held_File&) = delete;
    ~Held_File() { CloseHandle(handle_); }

private:
    HANDLE handle_;
};

RECT Placement(const TMainForm1& main) {
    RECT placed{};
    GetWindowRect(main.Handle(), &placed);
    return placed;
}

bool Topmost(const TMainForm1& main) { return (GetWindowLongPtrW(main.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

class SettingsTest : public ::testing::Test {
protected:
    ~SettingsTest() override {
        program_.reset();
        testing_support::Pump_And_Forget_Quit();
    }

    // A fresh start of the program in the same directory.
    TMainForm1& Start() {
        program_.reset();
        testing_support::Pump_And_Forget_Quit();
        program_ = std::make_unique<Program>(
            Program_Services{clock, random, boxes, picker, shell, registry, folder.Path(), folder.Path() + "Tilvane.EXE"});
        program_->MainForm1.Show_Main_Window();
        return program_->MainForm1;
    }

    std::string Settings_File() const { return folder.Path() + "Tilvane.ini"; }
    std::string List_File() const { return folder.Path() + "Mosaic_Tiles.lst"; }

    testing_support::Recording_Message_Boxes boxes;
    testing_support::Boxes_In_Use boxes_in_use{boxes};
    testing_support::Fake_Clock clock;
    testing_support::Recording_Random random;
    testing_support::Scripted_File_Picker picker;
    testing_support::Recording_Shell shell;
    testing_support::Scripted_Registry registry;
    testing_support::Temporary_Folder folder;

private:
    std::unique_ptr<Program> program_;
};

void Expect_Factory_Values(const TMainForm1& main) {
    const RECT placed = Placement(main);
    EXPECT_EQ(placed.left, 20);
    EXPECT_EQ(placed.top, 20);
    EXPECT_EQ(placed.right - placed.left, 594);
    EXPECT_EQ(placed.bottom - placed.top, 490);
    EXPECT_FALSE(IsZoomed(main.Handle()));
    EXPECT_FALSE(main.Always_On_Top_Option.Checked());
    EXPECT_FALSE(Topmost(main));
    EXPECT_EQ(main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Value(), 20);
    EXPECT_EQ(main.mosaic_page.Vertical_Tile_Size_SpinEdit.Value(), 20);
    EXPECT_EQ(main.mosaic_page.Horizontal_Tile_Gap_SpinEdit.Value(), 6);
    EXPECT_EQ(main.mosaic_page.Vertical_Tile_Gap_SpinEdit.Value(), 6);
    EXPECT_FALSE(main.mosaic_page.Insert_Gap_Between_Tiles_CheckBox.Checked());
    EXPECT_TRUE(main.mosaic_page.Tiles_Shrink_Expand_To_Size_RadioButton.Checked());
    EXPECT_FALSE(main.mosaic_page.Tiles_Crop_To_Size_RadioButton.Checked());
    EXPECT_EQ(main.extract_page.Extract_Tile_Width_SpinEdit.Value(), 6);
    EXPECT_EQ(main.extract_page.Extract_Tile_Height_SpinEdit.Value(), 6);
    EXPECT_EQ(main.extract_page.Extract_Image_Limits_RadioGroup.Item_Index(), 3);
    EXPECT_TRUE(main.tile_choice_menu.Item(Tile_Choice::Random).Checked());
    EXPECT_FALSE(main.tile_choice_menu.Item(Tile_Choice::Shuffle).Checked() || main.tile_choice_menu.Item(Tile_Choice::Best).Checked());
    EXPECT_FALSE(main.Photo_Formats_Option.Checked());
    EXPECT_EQ(main.file_fields.Formats(), Picture_Formats::Bmp_Only);
    for (const kit::Edit* name : {&main.mosaic_page.Input_File_Name_Edit, &main.mosaic_page.Output_File_Name_Edit,
                                  &main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit, &main.extract_page.Extracted_Tile_Directory_Edit}) {
        EXPECT_EQ(name->Text(), L"");
    }
    EXPECT_EQ(main.file_fields.Last_Mosaic_Directory_Edit, L"");
    EXPECT_EQ(main.file_fields.Last_Tile_Directory_Edit, L"");
}

TEST_F(SettingsTest, FirstStartGivesTheFactoryValuesAndTheCloseWritesEveryKeyInOrder) {
    TMainForm1& main = Start();
    Expect_Factory_Values(main);
    EXPECT_FALSE(main.extract_page.Extract_Gap_Between_Tiles_CheckBox.Checked());
    EXPECT_EQ(main.extract_page.Extract_Horizontal_Tile_Gap_SpinEdit.Text(), L"0");
    main.Close();
    EXPECT_FALSE(IsWindow(main.Handle()));
    EXPECT_EQ(Read_File(Settings_File()), kWritten_From_Nothing);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SettingsTest, HandEditedValuesFollowTheRulesAndSurviveACloseAndAStart) {
    Write_File(Settings_File(),
               "; kept as it is\r\n"
               "[Other]\r\nwindow_Width=1\r\n"
               "[tilvane]\r\n"
               "  WINDOW_WIDTH = 0x300 \r\n"
               "window_Height=abc\r\n"
               "window_top_posn=30\r\n"
               "window_left_posn=$28\r\n"
               "WindowState_wsMaximized=1\r\n"
               "Always_on_Top_Option=-1\r\n"
               "Input_File_Name_Edit=\"" + kForeign_Name + "\"\r\n"
               "Tiles_Crop_To_Size_RadioButton=1\r\n"
               "Insert_Gap_Between_Tiles_CheckBox=yes\r\n"
               "Horizontal_Tile_Size_SpinEdit=5000\r\n"
               "Vertical_Tile_Gap_SpinEdit=-3\r\n"
               "Extract_Tile_Width_SpinEdit=0\r\n"
               "Extract_Image_Limits_RadioGroup=-5\r\n"
               "Last_Tile_Directory_Edit=C:\\Tiles\\\r\n"
               "Mosaic_Scale_Option=$4\r\nWrite_Placements_Option=2\r\nJPEG_Quality_Option=500\r\n"
               "Unknown_Key=stays\r\n");
    TMainForm1& main = Start();
    EXPECT_TRUE(IsZoomed(main.Handle()));
    EXPECT_TRUE(main.Always_On_Top_Option.Checked());
    EXPECT_TRUE(Topmost(main));
    EXPECT_EQ(win::To_Utf8(main.mosaic_page.Input_File_Name_Edit.Text()), kForeign_Name);
    EXPECT_TRUE(main.mosaic_page.Tiles_Crop_To_Size_RadioButton.Checked());
    EXPECT_FALSE(main.mosaic_page.Tiles_Shrink_Expand_To_Size_RadioButton.Checked());
    EXPECT_FALSE(main.mosaic_page.Insert_Gap_Between_Tiles_CheckBox.Checked()) << "not a number: the default";
    EXPECT_EQ(main.mosaic_page.Horizontal_Tile_Size_SpinEdit.Value(), 1000);
    EXPECT_EQ(main.mosaic_page.Vertical_Tile_Gap_SpinEdit.Value(), 0);
    EXPECT_EQ(main.extract_page.Extract_Tile_Width_SpinEdit.Value(), 1);
    EXPECT_EQ(main.extract_page.Extract_Image_Limits_RadioGroup.Item_Index(), -1);
    EXPECT_EQ(main.file_fields.Last_Tile_Directory_Edit, L"C:\\Tiles\\");

    main.extract_page.Extract_Gap_Between_Tiles_CheckBox.Set_Checked(true);
    main.extract_page.Extract_Horizontal_Tile_Gap_SpinEdit.Set_Value(5);
    main.mosaic_page.Output_File_Name_Edit.Set_Text(L"x.bmp");
    main.Close();
    const std::string written = Read_File(Settings_File());
    EXPECT_EQ(written.rfind("; kept as it is\r\n[Other]\r\nwindow_Width=1\r\n[tilvane]\r\n", 0), 0u) << written;
    EXPECT_NE(written.find("WindowState_wsMaximized=1\r\n"), std::string::npos) << "maximised, and";
    EXPECT_NE(written.find("WINDOW_WIDTH=768\r\n"), std::string::npos) << "the normal placement, in its line";
    EXPECT_NE(written.find("window_left_posn=40\r\n"), std::string::npos);
    EXPECT_NE(written.find("Input_File_Name_Edit=" + kForeign_Name + "\r\n"), std::string::npos) << "UTF-8";
    EXPECT_NE(written.find("Unknown_Key=stays\r\n"), std::string::npos);
    EXPECT_NE(written.find("Mosaic_Scale_Option=4\r\nWrite_Placements_Option=1\r\nJPEG_Quality_Option=100\r\n"),
              std::string::npos);
    EXPECT_EQ(written.find("Extract_Gap"), std::string::npos);

    TMainForm1& again = Start();
    EXPECT_TRUE(IsZoomed(again.Handle()));
    EXPECT_EQ(again.mosaic_page.Output_File_Name_Edit.Text(), L"x.bmp");
    EXPECT_EQ(win::To_Utf8(again.mosaic_page.Input_File_Name_Edit.Text()), kForeign_Name);
    EXPECT_FALSE(again.extract_page.Extract_Gap_Between_Tiles_CheckBox.Checked());
    EXPECT_EQ(again.extract_page.Extract_Horizontal_Tile_Gap_SpinEdit.Value(), 0);
    ShowWindow(again.Handle(), SW_RESTORE);
    const RECT normal = Placement(again);
    EXPECT_EQ(normal.left, 40);
    EXPECT_EQ(normal.top, 30);
    EXPECT_EQ(normal.right - normal.left, 768);
    EXPECT_EQ(normal.bottom - normal.top, 490);
}

TEST_F(SettingsTest, AnOlderFileInTheSystemsCodePageReadsAsItsLetters) {
    const unsigned code_page = testing_support::System_Code_Page();
    if (code_page != 1252) GTEST_SKIP() << "the system's code page is " << code_page;
    Write_File(Settings_File(), "; caf\xe9\r\n[Tilvane]\r\nInput_File_Name_Edit=C:\\caf\xe9.bmp\r\n");
    TMainForm1& main = Start();
    EXPECT_EQ(main.mosaic_page.Input_File_Name_Edit.Text(), L"C:\\caf\u00e9.bmp");
    main.Close();
    const std::string written = Read_File(Settings_File());
    EXPECT_EQ(written.rfind("; caf\xc3\xa9\r\n[Tilvane]\r\n", 0), 0u) << "every line kept, as UTF-8: " << written;
    EXPECT_NE(written.find("Input_File_Name_Edit=C:\\caf\xc3\xa9.bmp\r\n"), std::string::npos);
}

// On a screen of 150% the window, and with it every control, is half as large again; the file
// keeps the placement in design pixels, so a start at either scale opens the same pages.
TEST_F(SettingsTest, AScreenOfLargerScaleGrowsThePagesAndThePlacementIsKeptInDesignPixels) {
    TMainForm1& main = Start();
    const kit::Bounds design = main.mosaic_page.Make_Mosaic_BitBtn.Get_Bounds();
    RECT larger{30, 30, 30 + 891, 30 + 735};
    SendMessageW(main.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&larger));
    EXPECT_EQ(Placement(main).right, larger.right);
    EXPECT_GE(main.mosaic_page.Make_Mosaic_BitBtn.Get_Bounds().width, design.width * 3 / 2);
    EXPECT_GE(main.mosaic_page.Make_Mosaic_BitBtn.Get_Bounds().height, design.height * 3 / 2);
    EXPECT_GE(main.mosaic_page.Make_Mosaic_BitBtn.Font_Size(), 16);
    main.Close();
    EXPECT_EQ(Read_File(Settings_File()), kWritten_From_Nothing);
}

// A window whose title bar no monitor shows comes onto the nearest one; others stay as stored.
TEST_F(SettingsTest, AWindowLeftOnNoMonitorComesBackIntoView) {
    Write_File(Settings_File(), "[Tilvane]\r\nwindow_left_posn=-5000\r\nwindow_top_posn=-4000\r\n");
    RECT placed = Placement(Start());
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_EQ(placed.left, monitor.rcWork.left);
    EXPECT_EQ(placed.top, monitor.rcWork.top);
    EXPECT_EQ(placed.right - placed.left, 594);

    Write_File(Settings_File(), "[Tilvane]\r\nwindow_left_posn=-300\r\nwindow_top_posn=-5\r\n");
    placed = Placement(Start());
    EXPECT_EQ(placed.left, -300) << "part of the title bar shows";
    EXPECT_EQ(placed.top, -5);
}

TEST_F(SettingsTest, AnUnwritableFileIsReportedThenTheUserChoosesWhetherToClose) {
    TMainForm1& main = Start();
    Write_File(Settings_File(), "[Tilvane]\r\n");
    Held_File held(Settings_File());
    main.Close();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, win::To_Wide("Unable to write to " + Settings_File() + "."));
    EXPECT_EQ(boxes.shown[0].icon, desktop::Box_Icon::Error);
    EXPECT_EQ(boxes.shown[1].buttons, desktop::Box_Buttons::Yes_No);
    EXPECT_TRUE(IsWindow(main.Handle())) << "answered No: the window stays";

    boxes.answers = {Box_Answer::Ok, Box_Answer::Yes};
    main.Close();
    EXPECT_FALSE(IsWindow(main.Handle())) << "answered Yes: it closes";
    EXPECT_FALSE(desktop::File_Exists(List_File())) << "nothing else is written";
    EXPECT_EQ(Read_File(Settings_File()), "[Tilvane]\r\n");
}

// The photo formats are on before the fields are filled: a PNG mosaic kept in the file is
// previewed at start without a word.
TEST_F(SettingsTest, APngMosaicKeptWithThePhotoFormatsOnIsPreviewedAtStart) {
    Save_Picture(folder.Path() + "m.png", Raster_Image(7, 5));
    Write_File(Settings_File(),
               "[Tilvane]\r\nExtract_Mosaic_Bitmap_File_Name_Edit=" + folder.Path() + "m.png\r\nPhoto_Formats_Option=1\r\n");
    TMainForm1& main = Start();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(main.extract_page.Extract_Tile_Preview_Image.Shown().Size().cx, 7);
}

TEST_F(SettingsTest, FactoryResetAsksThenDeletesTheFileAndRestartsFromDefaults) {
    Write_File(Settings_File(),
               "[Tilvane]\r\nwindow_Width=700\r\nAlways_on_Top_Option=1\r\nTiles_Crop_To_Size_RadioButton=1\r\n"
               "Extract_Image_Limits_RadioGroup=1\r\nOutput_File_Name_Edit=m.bmp\r\nTile_Choice_Option=2\r\n"
               "Photo_Formats_Option=-1\r\n"
               "Mosaic_Scale_Option=3\r\nMinimum_Tile_Distance_Option=2\r\nMaximum_Tile_Uses_Option=9\r\n"
               "Tile_Colour_Option=1\r\nBlend_Original_Option=40\r\nMirror_Tiles_Option=1\r\n"
               "JPEG_Quality_Option=50\r\nWrite_Placements_Option=1\r\n");
    SetFileAttributesW(win::To_Wide(Settings_File()).c_str(), FILE_ATTRIBUTE_READONLY);
    Write_File(List_File(), "C:\\a.bmp\r\n");
    TMainForm1& main = Start();
    main.mosaic_page.Add_Chosen_Tiles({"C:\\b.bmp"});
    ShowWindow(main.Handle(), SW_MAXIMIZE);

    main.Restore_Factory_Defaults_OptionClick();  // answered No
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].icon, desktop::Box_Icon::Warning);
    EXPECT_EQ(boxes.shown[0].buttons, desktop::Box_Buttons::Yes_No);
    EXPECT_TRUE(desktop::File_Exists(Settings_File()));
    EXPECT_TRUE(IsZoomed(main.Handle()));
    EXPECT_TRUE(main.mosaic_page.Tiles_Crop_To_Size_RadioButton.Checked());
    EXPECT_TRUE(main.tile_choice_menu.Item(Tile_Choice::Best).Checked());
    EXPECT_TRUE(main.Photo_Formats_Option.Checked()) << "a switch is on when not 0";
    EXPECT_EQ(main.file_fields.Formats(), Picture_Formats::By_Extension);
    EXPECT_EQ(main.mosaic_page.Tiles().Count(), 2);

    {
        Held_File held(Settings_File());
        boxes.answers = {Box_Answer::Yes};
        main.Restore_Factory_Defaults_OptionClick();
        EXPECT_TRUE(desktop::File_Exists(Settings_File())) << "held by another program: it stays";
        EXPECT_EQ(main.mosaic_page.Output_File_Name_Edit.Text(), L"m.bmp") << "and its values come back";
    }

    SetFileAttributesW(win::To_Wide(Settings_File()).c_str(), FILE_ATTRIBUTE_READONLY);
    main.mosaic_page.Input_File_Name_Edit.Set_Text(L"typed.bmp");
    boxes.answers = {Box_Answer::Yes};
    main.Restore_Factory_Defaults_OptionClick();
    EXPECT_FALSE(desktop::File_Exists(Settings_File())) << "read-only, and deleted all the same";
    Expect_Factory_Values(main);
    EXPECT_EQ(main.mosaic_page.Tiles().Count(), 1) << "the list as its file holds it";
    EXPECT_EQ(main.Scaling_ListBox[0], "589 437 W/H Mainform1");
    main.Close();
    EXPECT_EQ(Read_File(Settings_File()), kWritten_From_Nothing) << "every option back at its factory value";
}

}  // namespace
}  // namespace tilvane::app
