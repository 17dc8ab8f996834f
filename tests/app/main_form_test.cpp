#include "main_window/main_form.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "kit/application.h"
#include "main_window/program.h"
#include "shell/design_layout.h"
#include "test_support.h"

namespace tilvane::app {
namespace {


class MainFormTest : public ::testing::Test, protected testing_support::Test_Program {
protected:
    MainFormTest() { main.Show_Main_Window(); }
    ~MainFormTest() override { testing_support::Pump_And_Forget_Quit(); }

    void Resize_Client(int width, int height) { main.Set_Client_Size(width, height); }
    void Menu(const kit::Menu_Item& item) { SendMessageW(main.Handle(), WM_COMMAND, item.Command_Id(), 0); }
    static void Click(const kit::Control& button) { SendMessageW(button.Handle(), BM_CLICK, 0, 0); }

    TMainForm1& main = program.MainForm1;
};

TEST_F(MainFormTest, WindowShowRecordsTheDesignSizeThenTakesThePlacementTitleAndFirstPage) {
    EXPECT_EQ(main.Scaling_ListBox[0], "589 437 W/H Mainform1");
    RECT placed{};
    GetWindowRect(main.Handle(), &placed);
    EXPECT_EQ(placed.left, 20);
    EXPECT_EQ(placed.top, 20);
    EXPECT_EQ(placed.right - placed.left, 594) << "no settings file: the default placement";
    EXPECT_EQ(placed.bottom - placed.top, 490);
    EXPECT_EQ(main.Caption(), L"Tilvane v1.0f");
    EXPECT_EQ(kit::Current_Application().Title, L"Tilvane v1.0f");
    EXPECT_EQ(main.PageControl1.Active_Page_Index(), 0);
    EXPECT_TRUE(main.mosaic_page.Mosaic_TabSheet.Is_Visible());
    EXPECT_FALSE(main.extract_page.Extract_TabSheet.Is_Visible());
    EXPECT_TRUE(main.Is_Visible());
    EXPECT_FALSE(main.Always_On_Top_Option.Checked());
    EXPECT_FALSE(GetWindowLongPtrW(main.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainFormTest, ThreeWindowsAreCreatedAndTheAboutBoxSeedsTheGeneratorFromTheClock) {
    ASSERT_EQ(random.seeds.size(), 1u);
    EXPECT_EQ(random.seeds[0], static_cast<std::uint64_t>(std::llround(clock.now * progress::kMilliseconds_Per_Day)));
    EXPECT_EQ(program.AboutBox.Caption(), L"About Tilvane v1.0f ...");
    EXPECT_FALSE(program.AboutBox.Is_Visible());
    EXPECT_FALSE(program.Progress_Form.Is_Visible());
}

TEST_F(MainFormTest, LayoutListHoldsTheDesignSizeAndALinePerComponent) {
    const auto& lines = main.Scaling_ListBox;
    const auto& components = main.Components();
    ASSERT_EQ(lines.size(), components.size() + 1);
    EXPECT_EQ(lines[0], "589 437 W/H Mainform1");
    EXPECT_EQ(lines[1], "4 581 2 433 11 PageControl1");
    for (std::size_t i = 0; i < components.size(); ++i) {
        SCOPED_TRACE(components[i].name);
        if (components[i].control) {
            EXPECT_EQ(lines[i + 1].substr(lines[i + 1].rfind(' ') + 1), components[i].name);
        } else {
            EXPECT_EQ(lines[i + 1], "0");
        }
    }
    main.FormShow();
    EXPECT_EQ(main.Scaling_ListBox, lines) << "a second window-show sequence records nothing";
}

TEST_F(MainFormTest, ResizeRescalesEveryControlFromTheRecordedDesign) {
    struct Case {
        int width, height;
    };
    const Case cases[] = {{883, 437}, {294, 437}, {700, 600}, {589, 437}};
    const std::vector<std::string> design = main.Scaling_ListBox;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << 'x' << c.height);
        Resize_Client(c.width, c.height);
        const SIZE client = main.Client_Size();
        ASSERT_EQ(client.cx, c.width);
        ASSERT_EQ(client.cy, c.height);
        const shell::Layout_Ratios ratios = shell::Ratios_For(c.width, c.height, design[0]);
        const auto& components = main.Components();
        for (std::size_t i = 0; i < components.size(); ++i) {
            kit::Control* control = components[i].control;
            if (!control || control == &main.mosaic_page.Mosaic_TabSheet || control == &main.extract_page.Extract_TabSheet) continue;
            SCOPED_TRACE(components[i].name);
            const shell::Control_Geometry expected = shell::Scaled_Geometry(design[i + 1], ratios);
            const kit::Bounds actual = control->Get_Bounds();
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            EXPECT_EQ(control->Font_Size(), expected.font_size);
            if (control == &main.extract_page.Extract_Tile_Preview_Image) continue;  // the tile's size
            EXPECT_EQ(actual.width, expected.width);
            EXPECT_EQ(actual.height, expected.height);
        }
    }
}

TEST_F(MainFormTest, TheWindowsNumbersForAWideAndANarrowClientArea) {
    // The tile list's group box stands at left 6, width 561; the tab control at 4, 581.
    Resize_Client(883, 437);
    EXPECT_EQ(main.PageControl1.Get_Bounds().left, 5);
    EXPECT_EQ(main.PageControl1.Get_Bounds().width, 871);
    EXPECT_EQ(main.mosaic_page.Tile_List_GroupBox.Font_Size(), 11);
    Resize_Client(294, 437);
    EXPECT_EQ(main.mosaic_page.Tile_List_GroupBox.Get_Bounds().left, 2);
    EXPECT_EQ(main.mosaic_page.Tile_List_GroupBox.Get_Bounds().width, 280);
    EXPECT_EQ(main.mosaic_page.Tile_List_GroupBox.Get_Bounds().top, 54);
    EXPECT_EQ(main.mosaic_page.Tile_List_GroupBox.Font_Size(), 5);
}

TEST_F(MainFormTest, AnyResizeSequenceEndsInTheLayoutOfOneResize) {
    // Every control, and the radio group's own buttons, which it places under its caption.
    const auto layout = [this] {
        std::vector<std::pair<std::string, kit::Bounds>> result;
        for (const auto& component : main.Components()) {
            if (component.control) result.emplace_back(component.name, component.control->Get_Bounds());
        }
        const kit::Radio_Group& group = main.extract_page.Extract_Image_Limits_RadioGroup;
        for (int i = 0; i < 4; ++i) {
            RECT r;
            GetWindowRect(group.Item_Handle(i), &r);
            MapWindowPoints(HWND_DESKTOP, group.Handle(), reinterpret_cast<POINT*>(&r), 2);
            result.emplace_back("radio button " + std::to_string(i),
                                kit::Bounds{r.left, r.top, r.right - r.left, r.bottom - r.top});
        }
        return result;
    };
    Resize_Client(700, 500);
    const auto once = layout();
    // Maximised and restored; grown from the smallest size.
    ShowWindow(main.Handle(), SW_MAXIMIZE);
    ShowWindow(main.Handle(), SW_RESTORE);
    for (SIZE size : {SIZE{300, 200}, SIZE{1000, 700}, SIZE{1, 1}, SIZE{333, 777}, SIZE{700, 500}}) {
        Resize_Client(size.cx, size.cy);
    }
    const auto again = layout();
    ASSERT_EQ(again.size(), once.size());
    for (std::size_t i = 0; i < once.size(); ++i) {
        SCOPED_TRACE(once[i].first);
        EXPECT_EQ(again[i].second.left, once[i].second.left);
        EXPECT_EQ(again[i].second.top, once[i].second.top);
        EXPECT_EQ(again[i].second.width, once[i].second.width);
        EXPECT_EQ(again[i].second.height, once[i].second.height);
    }
}

TEST_F(MainFormTest, AlwaysOnTopTogglesTheCheckMarkAndTheStacking) {
    for (bool expected : {true, false, true}) {
        SCOPED_TRACE(expected);
        Menu(main.Always_On_Top_Option);
        EXPECT_EQ(main.Always_On_Top_Option.Checked(), expected);
        EXPECT_EQ((GetWindowLongPtrW(main.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, expected);
        const UINT state = GetMenuState(main.File1.Handle(), main.Always_On_Top_Option.Command_Id(), MF_BYCOMMAND);
        EXPECT_EQ((state & MF_CHECKED) != 0, expected);
    }
}

TEST_F(MainFormTest, StoredAlwaysOnTopSurvivesTheWindowShowSequence) {
    testing_support::Write_File(main.Settings_File_Path(), "[Tilvane]\r\nAlways_on_Top_Option=1\r\n");
    main.FormShow();
    EXPECT_TRUE(main.Always_On_Top_Option.Checked());
    EXPECT_TRUE(GetWindowLongPtrW(main.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    Menu(main.Always_On_Top_Option);
    EXPECT_FALSE(main.Always_On_Top_Option.Checked());
    EXPECT_FALSE(GetWindowLongPtrW(main.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainFormTest, TheProgressDialogStaysInFrontOfTheMainWindowWhetherOnTopOrNot) {
    TProgress_Form& dialog = program.Progress_Form;
    EXPECT_EQ(GetWindow(dialog.Handle(), GW_OWNER), main.Handle());
    const auto in_front_of_main = [&] {
        for (HWND above = GetWindow(main.Handle(), GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
            if (above == dialog.Handle()) return true;
        }
        return false;
    };
    for (bool on_top : {true, false}) {
        SCOPED_TRACE(on_top ? "Always On Top" : "normal");
        Menu(main.Always_On_Top_Option);
        ASSERT_EQ((GetWindowLongPtrW(main.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, on_top);
        dialog.Initialise_Processing(0, 0, 10);
        EXPECT_TRUE(in_front_of_main());
        main.Bring_To_Front_And_Focus();  // a click on the main window
        EXPECT_TRUE(in_front_of_main());
        dialog.End_Processing();
        SendMessageW(dialog.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

TEST_F(MainFormTest, TheKeyboardStartsInTheFirstFieldAndReachesBothPages) {
    // A key as the message loop meets it, with Ctrl and Shift held as asked.
    const auto press = [](WPARAM key, bool control = false, bool shift = false) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = control ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
        kit::Process_Pending_Messages();
        BYTE none[256] = {};
        SetKeyboardState(none);
    };
    const HWND tabs = main.PageControl1.Handle();
    EXPECT_EQ(GetFocus(), main.mosaic_page.Input_File_Name_Edit.Handle());
    press(VK_TAB, false, true);
    EXPECT_EQ(GetFocus(), tabs) << "Shift+Tab from the first field stops on the page tabs";
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), main.mosaic_page.Input_File_Name_Edit.Handle());
    main.mosaic_page.Exit_BitBtn.Focus();
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), tabs) << "Tab from the last button comes round to the page tabs";

    struct Step {
        WPARAM key;
        bool shift;
        int page;
    };
    for (const Step& step : {Step{VK_TAB, false, 1}, Step{VK_TAB, true, 0}, Step{VK_NEXT, false, 1},
                             Step{VK_NEXT, false, 0}, Step{VK_PRIOR, false, 1}, Step{VK_PRIOR, false, 0}}) {
        SCOPED_TRACE(testing::Message() << "key " << step.key << (step.shift ? " with Shift" : ""));
        press(step.key, true, step.shift);
        EXPECT_EQ(main.PageControl1.Active_Page_Index(), step.page);
        EXPECT_EQ(main.extract_page.Extract_TabSheet.Is_Visible(), step.page == 1);
        EXPECT_EQ(GetFocus(), tabs);
    }
    // From a field of the page that goes, the focus moves into the page that comes.
    main.mosaic_page.Output_File_Name_Edit.Focus();
    press(VK_TAB, true);
    EXPECT_EQ(main.PageControl1.Active_Page_Index(), 1);
    EXPECT_EQ(GetFocus(), main.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit.Handle());
    // Tab goes all the way round the shown page, never to a control of the hidden one.
    for (int i = 0; i < 40 && GetFocus() != tabs; ++i) {
        press(VK_TAB);
        EXPECT_TRUE(IsWindowVisible(GetFocus()));
    }
    EXPECT_EQ(GetFocus(), tabs);
}

TEST_F(MainFormTest, MenusHoldTheirItemsAndHideTheReadmeItem) {
    auto captions = [](HMENU menu) {
        std::vector<std::wstring> result;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[128] = L"";
            GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
            result.push_back(text);
        }
        return result;
    };
    const std::vector<std::wstring> file = {L"Always &On Top", L"&Auto-Run at Windows Startup",
                                            L"&Restore Factory Defaults", L"", L"Create Shortcut on Desktop",
                                            L"Create Shortcut on Start Menu", L"Create Shortcut on Start -> Programs Menu",
                                            L"Create Shortcut on SendTo Menu", L"Delete ALL Shortcuts", L"", L"E&xit"};
    const std::vector<std::wstring> help = {L"Help + Step by Step Guide", L"View &Shareware Catalog", L"", L"&About"};
    EXPECT_EQ(captions(main.File1.Handle()), file);
    EXPECT_EQ(captions(main.Help1.Handle()), help);
    EXPECT_EQ(captions(main.Options1.Handle()),
              (std::vector<std::wstring>{L"Draw Tiles at &Random", L"Use Every Tile &Before Repeating",
                                         L"Choose the Best-&Matching Tile", L"", L"&Photo Formats (JPEG, PNG, WebP, HEIC)",
                                         L"Mosaic &Options ..."}));
    MENUITEMINFOW radio{};
    radio.cbSize = sizeof radio;
    radio.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoW(main.Options1.Handle(), 0, TRUE, &radio);
    EXPECT_TRUE((radio.fType & MFT_RADIOCHECK) && (radio.fState & MFS_CHECKED)) << "a bullet, at random by default";
    EXPECT_EQ(captions(GetMenu(main.Handle())), (std::vector<std::wstring>{L"&File", L"&Options", L"&Help"}));
}

TEST_F(MainFormTest, PagesAndHintsCarryTheirTexts) {
    wchar_t text[128];
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    const wchar_t* const pages[] = {L" Make a New Mosaic     ", L" Extract Images from an Existing  Mosaic "};
    for (int i = 0; i < 2; ++i) {
        SendMessageW(main.PageControl1.Handle(), TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(std::wstring(text), pages[i]);
    }
    struct Case {
        const kit::Control& control;
        const wchar_t* hint;
    };
    const Case cases[] = {
        {main.mosaic_page.Exit_BitBtn, L"Exit this program"},
        {main.extract_page.Exit_BitBtn2, L"Exit this program"},
        {main.mosaic_page.Make_Mosaic_BitBtn, L"Build a Mosaic based on the above settings"},
        {main.extract_page.Extract_Mosaic_Tiles_BitBtn, L"Extract the Tiles from the Mosaic"},
        {main.mosaic_page.Help_BitBtn, L"Display the on-line help and step-by-step guide"},
        {main.extract_page.Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtn,
         L"Set the tile size to the current Mosaic Tile Size, in Step 3 on \"Make a New Mosaic\" tab."},
        {main.mosaic_page.Reset_Tile_List_SpeedButton, L"Remove all tiles from the list"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control.Name());
        EXPECT_EQ(main.Hint_Of(c.control.Handle()), c.hint);
    }
}

TEST(MainFormClose, MenuAndBothExitButtonsCloseTheWindowAndEndTheLoop) {
    struct Case {
        const char* how;
        void (*close)(TMainForm1&);
    };
    const Case cases[] = {
        {"E&xit", [](TMainForm1& f) { SendMessageW(f.Handle(), WM_COMMAND, f.ExitOption.Command_Id(), 0); }},
        {"Exit on the first page", [](TMainForm1& f) { SendMessageW(f.mosaic_page.Exit_BitBtn.Handle(), BM_CLICK, 0, 0); }},
        {"Exit on the second page", [](TMainForm1& f) { SendMessageW(f.extract_page.Exit_BitBtn2.Handle(), BM_CLICK, 0, 0); }},
        {"close box", [](TMainForm1& f) { SendMessageW(f.Handle(), WM_CLOSE, 0, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        testing_support::Test_Program test;
        Program& program = test.program;
        program.MainForm1.Show_Main_Window();
        c.close(program.MainForm1);
        EXPECT_EQ(program.MainForm1.Handle(), nullptr);
        MSG quit;
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
}

TEST_F(MainFormTest, ALongRunDisablesTheActionButtonsAndACloseWaitsForItsEnd) {
    {
        const Long_Runs::Run run(main.long_runs);
        program.Progress_Form.Initialise_Processing(0, 0, 100);
        EXPECT_FALSE(main.mosaic_page.Make_Mosaic_BitBtn.Is_Enabled());
        EXPECT_FALSE(main.extract_page.Extract_Mosaic_Tiles_BitBtn.Is_Enabled());
        Click(main.mosaic_page.Exit_BitBtn);
        EXPECT_TRUE(IsWindow(main.Handle())) << "the close waits for the run";
        EXPECT_TRUE(program.Progress_Form.Abort_Processing_CheckBox());
        program.Progress_Form.End_Processing();
    }
    EXPECT_TRUE(main.mosaic_page.Make_Mosaic_BitBtn.Is_Enabled());
    EXPECT_TRUE(main.extract_page.Extract_Mosaic_Tiles_BitBtn.Is_Enabled());
    kit::Process_Pending_Messages();
    EXPECT_EQ(main.Handle(), nullptr) << "the close follows the end of the run";
}

TEST_F(MainFormTest, NoHintOfTheWindowShowsWhileARunIsUnderWay) {
    HWND tip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM found) {
        wchar_t name[64] = L"";
        GetClassNameW(window, name, 64);
        if (std::wstring_view(name) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(found) = window;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip, nullptr);
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 10);  // so a hint due shows within the waits below
    const HWND button = main.mosaic_page.Make_Mosaic_BitBtn.Handle();
    // The mouse comes to rest on "Make Mosaic"; true when its hint shows.
    const auto rest_on_button = [&] {
        RECT bounds{};
        GetWindowRect(button, &bounds);
        SetCursorPos((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
        SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        for (int i = 0; i < 20 && !IsWindowVisible(tip); ++i) {
            Sleep(20);
            kit::Process_Pending_Messages();
        }
        return IsWindowVisible(tip) != FALSE;
    };
    ASSERT_TRUE(rest_on_button());
    {
        const Long_Runs::Run run(main.long_runs);
        EXPECT_FALSE(IsWindowVisible(tip)) << "the hint that showed is taken down";
        EXPECT_FALSE(rest_on_button());
    }
    EXPECT_TRUE(rest_on_button()) << "hints are back after the run";
}

TEST_F(MainFormTest, ARunThatFailsStillGivesTheButtonsBack) {
    main.mosaic_page.Make_Mosaic_BitBtn.On_Click = [this] {
        const Long_Runs::Run run(main.long_runs);
        throw std::runtime_error("Cannot open file \"C:\\x.bmp\"");
    };
    Click(main.mosaic_page.Make_Mosaic_BitBtn);
    EXPECT_TRUE(main.mosaic_page.Make_Mosaic_BitBtn.Is_Enabled());
    ASSERT_EQ(boxes.shown.size(), 1u);
}

TEST_F(MainFormTest, AnErrorEscapingAHandlerIsReportedAndTheProgramGoesOn) {
    struct Case {
        const char* error;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"Cannot open file", L"Cannot open file."},
        {"Bitmap image is not valid.", L"Bitmap image is not valid."},
        {"Out of range !", L"Out of range !"},
        {"Disk full (C:)", L"Disk full (C:)"},
        {"Key 42", L"Key 42."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        boxes.shown.clear();
        main.mosaic_page.Help_BitBtn.On_Click = [&c] { throw std::runtime_error(c.error); };
        Click(main.mosaic_page.Help_BitBtn);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, c.text);
        EXPECT_EQ(boxes.shown[0].caption, L"Tilvane v1.0f");
        EXPECT_EQ(boxes.shown[0].icon, desktop::Box_Icon::Error);
        EXPECT_EQ(boxes.shown[0].buttons, desktop::Box_Buttons::Ok);
    }
    EXPECT_TRUE(IsWindow(main.Handle()));
}

TEST_F(MainFormTest, AboutShowsTheAboutBoxModallyUntilOk) {
    PostMessageW(program.AboutBox.OKButton.Handle(), BM_CLICK, 0, 0);
    Menu(main.AboutOption);  // returns once the posted click has closed the box
    EXPECT_FALSE(program.AboutBox.Is_Visible());
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
}

}  // namespace
}  // namespace tilvane::app
