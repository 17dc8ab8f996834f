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

TEST_F(MosaicOptionsDialogTest, OkAndEnterKeepWhatItShowsEveryOtherWayOutWhatItWasGiven) {
    Open_And([&] {
        EXPECT_EQ(GetWindow(dialog.Handle(), GW_OWNER), main.Handle());
        EXPECT_FALSE(IsWindowEnabled(main.Handle())) << "modal";
        dialog.Mosaic_Scale_SpinEdit.Set_Value(3);
        dialog.Minimum_Tile_Distance_SpinEdit.Set_Value(2);
        dialog.Maximum_Tile_Uses_SpinEdit.Set_Text(L"5");
        dialog.Mirror_Tiles_CheckBox.Set_Checked(true);
        dialog.Shift_Tile_Colour_RadioButton.Set_Checked(false);
        dialog.Transfer_Tile_Colour_RadioButton.Set_Checked(true);
        dialog.Blend_Original_SpinEdit.Set_Text(L"250");  // typed past the range: its end
        SendMessageW(dialog.OKButton.Handle(), BM_CLICK, 0, 0);
    });
    Mosaic_Settings built = Built();
    EXPECT_EQ(built.scale, 3);
    EXPECT_EQ(built.min_distance, 2);
    EXPECT_EQ(built.max_uses, 5);
    EXPECT_TRUE(built.mirror);
    EXPECT_EQ(built.colour, Tile_Colour::Transfer);
    EXPECT_EQ(built.blend, 100);
    EXPECT_EQ(built.quality, 92);

    struct Way_Out {
        const char* name;
        std::function<void()> leave;
        bool kept;
    };
    const Way_Out ways[] = {
        {"Escape", [] { Press(WM_KEYDOWN, VK_ESCAPE); }, false},
        {"Enter on Cancel", [&] { dialog.CancelButton.Focus(); Press(WM_KEYDOWN, VK_RETURN); }, false},
        {"the close box", [&] { SendMessageW(dialog.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
        {"Enter in a field", [] { Press(WM_KEYDOWN, VK_RETURN); }, true},
    };
    for (const Way_Out& way : ways) {
        SCOPED_TRACE(way.name);
        Open_And([&] {
            EXPECT_EQ(dialog.Mosaic_Scale_SpinEdit.Value(), Built().scale) << "it shows what the build would take";
            dialog.Mosaic_Scale_SpinEdit.Set_Value(Built().scale + 1);
            way.leave();
        });
        EXPECT_EQ(Built().scale, built.scale + (way.kept ? 1 : 0));
    }
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
        Press(WM_SYSCHAR, 'p');
        Press(WM_KEYDOWN, VK_RETURN);
    });
    EXPECT_TRUE(Built().mirror);
    EXPECT_EQ(Built().colour, Tile_Colour::Transfer);
}

TEST_F(MosaicOptionsDialogTest, TheQualityCountsOnlyWithPhotoFormatsAndTheDialogFollowsTheScreensScale) {
    Mosaic_Options options;
    bool write_placements = false;
    for (const Picture_Formats formats : {Picture_Formats::By_Extension, Picture_Formats::Bmp_Only}) {
        options.formats = formats;
        dialog.Show_Options(options, true);
        const bool photos = formats == Picture_Formats::By_Extension;
        EXPECT_EQ(dialog.JPEG_Quality_SpinEdit.Is_Enabled(), photos);
        EXPECT_EQ(IsWindowEnabled(GetWindow(dialog.JPEG_Quality_SpinEdit.Handle(), GW_HWNDNEXT)) != FALSE, photos)
            << "its arrows with it";
        EXPECT_EQ(dialog.JPEG_Quality_Label.Is_Enabled(), photos);
    }
    dialog.Read_Options(options, write_placements);
    EXPECT_TRUE(write_placements);
    EXPECT_EQ(options.formats, Picture_Formats::Bmp_Only) << "what the dialog does not show stays";

    const SIZE design = dialog.Client_Size();
    const kit::Bounds ok = dialog.OKButton.Get_Bounds();
    RECT suggested{0, 0, 900, 700};
    SendMessageW(dialog.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(dialog.Client_Size().cx, design.cx * 3 / 2);
    EXPECT_EQ(dialog.Client_Size().cy, design.cy * 3 / 2);
    EXPECT_EQ(dialog.OKButton.Get_Bounds().left, ok.left * 3 / 2);
    EXPECT_EQ(dialog.Mosaic_Scale_Label.Font_Size(), 17) << "16.5 points, rounded";
}

}  // namespace
}  // namespace tilvane::app
