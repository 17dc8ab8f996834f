#include "main_window/mosaic_options_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "main_window/main_form.h"
#include "test_support.h"

namespace tilvane::app {
namespace {

class MosaicOptionsDialogTest : public ::testing::Test, protected testing_support::Test_Program {
protected:
    MosaicOptionsDialogTest() { main.Show_Main_Window(); }
    ~MosaicOptionsDialogTest() override { testing_support::Pump_And_Forget_Quit(); }

    // Options > "Mosaic Options ...", with `answer` run inside the dialog's modal loop once it shows.
    void Open_And(std::function<void()> answer) {
        PostMessageW(dialog.Handle(), WM_COMMAND, dialog.Register_Command(std::move(answer)), 0);
        SendMessageW(main.Handle(), WM_COMMAND, main.Mosaic_Options_Option.Command_Id(), 0);
        EXPECT_FALSE(dialog.Is_Visible());
        EXPECT_TRUE(IsWindowEnabled(main.Handle()));
    }
    // A key as the message loop meets it, at the control with the focus.
    static void Press(UINT message, WPARAM key) {
        PostMessageW(GetFocus(), message, key, message == WM_SYSCHAR ? 1 << 29 : 0);
        kit::Process_Pending_Messages();
    }
    Mosaic_Settings Built() const { return main.mosaic_page.Mosaic_Page_Settings(); }

    TMainForm1& main = program.MainForm1;
    TMosaic_Options_Dialog& dialog = main.Mosaic_Options_Dialog;
};

// Every field's way into the build is checked by the test that the program and the command line
// build the same files; here, which ways out keep what the dialog shows.
TEST_F(MosaicOptionsDialogTest, OkAndEnterKeepWhatItShowsEveryOtherWayOutWhatItWasGiven) {
    const struct {
        const char* name;
        std::function<void()> leave;
        int scale_after;
    } ways[] = {
        {"OK", [&] { SendMessageW(dialog.OKButton.Handle(), BM_CLICK, 0, 0); }, 2},
        {"Escape", [] { Press(WM_KEYDOWN, VK_ESCAPE); }, 2},
        {"Enter on Cancel", [&] { dialog.CancelButton.Focus(); Press(WM_KEYDOWN, VK_RETURN); }, 2},
        {"the close box", [&] { SendMessageW(dialog.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, 2},
        {"Enter in a field", [] { Press(WM_KEYDOWN, VK_RETURN); }, 3},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        Open_And([&] {
            EXPECT_FALSE(IsWindowEnabled(main.Handle())) << "modal";
            dialog.Mosaic_Scale_SpinEdit.Set_Value(Built().scale + 1);
            way.leave();
        });
        EXPECT_EQ(Built().scale, way.scale_after);
    }
    EXPECT_EQ(GetWindow(dialog.Handle(), GW_OWNER), main.Handle());
    EXPECT_TRUE(IsWindow(dialog.Handle())) << "closed, never destroyed";
}

TEST_F(MosaicOptionsDialogTest, TheKeyboardReachesEveryFieldByTabAndByItsUnderlinedLetter) {
    Open_And([&] {
        const HWND scale = dialog.Mosaic_Scale_SpinEdit.Handle();
        EXPECT_EQ(GetFocus(), scale) << "every showing starts in the first field";
        std::vector<HWND> order;
        do {
            order.push_back(GetFocus());
            Press(WM_KEYDOWN, VK_TAB);
        } while (GetFocus() != scale && order.size() < 20);
        // The JPEG quality is passed over: the photo formats are off.
        EXPECT_EQ(order, (std::vector<HWND>{scale, dialog.Minimum_Tile_Distance_SpinEdit.Handle(),
                                            dialog.Maximum_Tile_Uses_SpinEdit.Handle(), dialog.Mirror_Tiles_CheckBox.Handle(),
                                            dialog.Shift_Tile_Colour_RadioButton.Handle(),
                                            dialog.Blend_Original_SpinEdit.Handle(), dialog.Write_Placements_CheckBox.Handle(),
                                            dialog.OKButton.Handle(), dialog.CancelButton.Handle()}));
        Press(WM_SYSCHAR, 'u');
        EXPECT_EQ(GetFocus(), dialog.Maximum_Tile_Uses_SpinEdit.Handle());
        Press(WM_SYSCHAR, 'b');
        EXPECT_EQ(GetFocus(), dialog.Blend_Original_SpinEdit.Handle());
        Press(WM_SYSCHAR, 'j');
        EXPECT_EQ(GetFocus(), dialog.Blend_Original_SpinEdit.Handle()) << "the quality is off";
        Press(WM_SYSCHAR, 'm');
        EXPECT_TRUE(dialog.Mirror_Tiles_CheckBox.Checked());
        Press(WM_SYSCHAR, 't');
        EXPECT_TRUE(dialog.Transfer_Tile_Colour_RadioButton.Checked());
        EXPECT_FALSE(dialog.Shift_Tile_Colour_RadioButton.Checked());
        Press(WM_KEYDOWN, VK_ESCAPE);
    });
}

// Enter in a field that holds no number refuses OK, names the field and leaves the focus in it;
// the options keep what they were rather than take the field's minimum.
TEST_F(MosaicOptionsDialogTest, AFieldWithoutANumberIsRefusedByName) {
    SendMessageW(main.Handle(), WM_COMMAND, main.Photo_Formats_Option.Command_Id(), 0);
    const struct {
        kit::Spin_Edit& field;
        std::wstring message;
    } cases[] = {{dialog.Mosaic_Scale_SpinEdit, L"Error: The Output Size must be a number from 1 to 16."},
                 {dialog.JPEG_Quality_SpinEdit, L"Error: The JPEG Quality must be a number from 1 to 100."}};
    for (const auto& c : cases) {
        Open_And([&] {
            c.field.Set_Text(L"");
            c.field.Focus();
            Press(WM_KEYDOWN, VK_RETURN);
            EXPECT_TRUE(dialog.Is_Visible()) << c.message;
            EXPECT_EQ(GetFocus(), c.field.Handle()) << c.message;
            Press(WM_KEYDOWN, VK_ESCAPE);
        });
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, c.message);
        boxes.shown.clear();
    }
    EXPECT_EQ(Built().scale, 1);
    EXPECT_EQ(Built().quality, 92);
}

TEST_F(MosaicOptionsDialogTest, TheQualityCountsOnlyWithPhotoFormats) {
    Mosaic_Options options;
    for (const Picture_Formats formats : {Picture_Formats::By_Extension, Picture_Formats::Bmp_Only}) {
        options.formats = formats;
        dialog.Show_Options(options);
        const bool photos = formats == Picture_Formats::By_Extension;
        EXPECT_EQ(dialog.JPEG_Quality_SpinEdit.Is_Enabled(), photos);
        EXPECT_EQ(IsWindowEnabled(GetWindow(dialog.JPEG_Quality_SpinEdit.Handle(), GW_HWNDNEXT)) != FALSE, photos)
            << "its arrows with it";
        EXPECT_EQ(dialog.JPEG_Quality_Label.Is_Enabled(), photos);
    }
}

}  // namespace
}  // namespace tilvane::app
