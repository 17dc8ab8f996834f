#include <gtest/gtest.h>

#include <string>

#include "main_window/main_form.h"
#include "test_support.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

class HelpHandlersTest : public ::testing::Test, protected testing_support::Test_Program {
protected:
    HelpHandlersTest() { main.Show_Main_Window(); }
    ~HelpHandlersTest() override { testing_support::Pump_And_Forget_Quit(); }

    void Menu(const kit::Menu_Item& item) { SendMessageW(main.Handle(), WM_COMMAND, item.Command_Id(), 0); }
    static void Click(const kit::Control& button) { SendMessageW(button.Handle(), BM_CLICK, 0, 0); }

    TMainForm1& main = program.MainForm1;
};

TEST_F(HelpHandlersTest, BothHelpButtonsAndTheMenuOpenTheGuideBesideTheProgram) {
    Click(main.mosaic_page.Help_BitBtn);
    Click(main.extract_page.BitBtn1);
    Menu(main.Help_and_StepbyStepGuide_Option);
    const std::string guide = folder.Path() + "Tilvane.pdf";
    EXPECT_EQ(shell.opened, (std::vector<std::string>{guide, guide, guide}));
    EXPECT_TRUE(boxes.shown.empty()) << "a missing guide shows nothing";
    EXPECT_FALSE(main.View_Readme_file_Option.Visible());
}

TEST_F(HelpHandlersTest, AMissingCatalogGivesOneParagraphNamingTheProduct) {
    Menu(main.View_Shareware_Catalog_Option);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              L"Varnok's Shareware Catalog is not in the same directory as Tilvane v1.0f.  The required file "
              L"'catalog.txt' was included in the distribution ZIP file.  Please unzip this file and try again.");
    EXPECT_EQ(boxes.shown[0].icon, desktop::Box_Icon::Information);
    EXPECT_TRUE(shell.started.empty());
}

TEST_F(HelpHandlersTest, TheCatalogOpensInNotepadWithTheWholePathUnquoted) {
    testing_support::Temporary_Folder windows;
    shell.windows_directory = windows.Path().substr(0, windows.Path().size() - 1);
    testing_support::Write_File(folder.Path() + "catalog.txt", "catalog");

    Menu(main.View_Shareware_Catalog_Option);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, L"Windows Notepad could not be found.");
    EXPECT_TRUE(shell.started.empty());

    testing_support::Write_File(windows.Path() + "notepad.exe", "");
    main.View_Catalog_Text(L"Tilvane v1.0f");
    // A long path with spaces: never cut short, never quoted.
    const std::string long_path = folder.Path() + std::string(150, 'x') + " with spaces.txt";
    testing_support::Write_File(long_path, "text");
    main.View_Text_File(long_path);
    EXPECT_EQ(shell.started,
              (std::vector<std::string>{"Notepad.exe " + folder.Path() + "catalog.txt", "Notepad.exe " + long_path}));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

}  // namespace
}  // namespace tilvane::app
