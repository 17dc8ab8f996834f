#include "about/about_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/about_pictures.h"
#include "about/free_resources.h"
#include "test_support.h"

namespace tilvane::app {
namespace {

class AboutBoxTest : public ::testing::Test, protected testing_support::Test_Program {
protected:
    AboutBoxTest() { program.MainForm1.Show_Main_Window(); }
    ~AboutBoxTest() override { testing_support::Pump_And_Forget_Quit(); }

    // As Help > About shows it: activation runs FormActivate.
    void Open() {
        about.Show();
        SetActiveWindow(about.Handle());
    }
    // What a static control sends its parent when clicked.
    static void Click(const kit::Control& control) {
        SendMessageW(GetParent(control.Handle()), WM_COMMAND, MAKEWPARAM(0, STN_CLICKED),
                     reinterpret_cast<LPARAM>(control.Handle()));
    }

    TAboutBox& about = program.AboutBox;
};

TEST_F(AboutBoxTest, TextsAreFilledByTheWindowShowAndTheNoticeEndsWithTheClocksYear) {
    EXPECT_EQ(about.Caption(), L"About Tilvane v1.0f ...");
    EXPECT_EQ(about.Product_Name_Label.Text(), L"Tilvane v1.0f");
    EXPECT_EQ(about.Author_and_Date_Label.Text(), L"Varnok, September 2007");
    EXPECT_TRUE(about.Copyright_Label.Text().ends_with(L"2024")) << "the fake clock's year";
    clock.now = progress::From_Calendar(2031, 1, 1, 0, 0, 0, 0);
    program.MainForm1.FormShow();
    EXPECT_TRUE(about.Copyright_Label.Text().ends_with(L"2031"));
    EXPECT_FALSE(about.Donation_Address_Label.Is_Visible());
    EXPECT_EQ(GetWindow(about.Handle(), GW_OWNER), program.MainForm1.Handle());
    const SIZE client = about.Client_Size();
    EXPECT_EQ(client.cx, 622);
    EXPECT_EQ(client.cy, 411);
    EXPECT_FALSE(GetWindowLongPtrW(about.Handle(), GWL_STYLE) & WS_SYSMENU) << "no border icons";
}

TEST_F(AboutBoxTest, AScreenOfTwiceTheScaleDoublesTheBoxAndItsText) {
    const kit::Bounds ok = about.OKButton.Get_Bounds();
    RECT suggested{0, 0, 1300, 900};
    SendMessageW(about.Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(about.Client_Size().cx, 2 * 622);
    EXPECT_EQ(about.Client_Size().cy, 2 * 411);
    const kit::Bounds doubled = about.OKButton.Get_Bounds();
    EXPECT_EQ(doubled.left, 2 * ok.left);
    EXPECT_EQ(doubled.width, 2 * ok.width);
    EXPECT_EQ(about.Product_Name_Label.Font_Size(), 28);
}

TEST_F(AboutBoxTest, ActivationShowsAQuoteAndTheFigureAtOnceAndPutsTheLinksInTheButtonsPlaces) {
    ASSERT_TRUE(about.Quote_From_Varnok_Label.Text().empty());
    Open();
    EXPECT_EQ(random.seeds.size(), 2u) << "re-seeded at activation";
    EXPECT_EQ(about.Quote_From_Varnok_Label.Text(), about.Quotes_From_Varnok_ListBox[0]);
    const std::wstring figure = about.Free_Resources_Label.Text();
    ASSERT_GE(figure.size(), 2u);
    EXPECT_EQ(figure.back(), L'%');
    EXPECT_TRUE(about.Quote_Change_Timer.Enabled());
    EXPECT_TRUE(about.Free_Resources_Timer.Enabled());
    EXPECT_TRUE(about.Logo_Animation_Timer.Enabled());
    EXPECT_EQ(about.Quote_Change_Timer.Interval(), 10000u);
    EXPECT_EQ(about.Free_Resources_Timer.Interval(), 500u);

    for (auto [label, button] : {std::pair{&about.Email_Address_Label, &about.Email_Button},
                                 std::pair{&about.WEB_Address_Label, &about.WEB_Button}}) {
        SCOPED_TRACE(label->Name());
        EXPECT_FALSE(button->Is_Visible());
        EXPECT_EQ(label->Text(), button->Text());
        EXPECT_EQ(label->Get_Bounds().top, button->Get_Bounds().top);
        EXPECT_EQ(about.Hint_Of(label->Handle()), about.Hint_Of(button->Handle()));
        EXPECT_TRUE(label->Has_Hand_Cursor());
    }
    EXPECT_EQ(about.Hint_Of(about.Email_Address_Label.Handle()), L"Click to send an E-Mail to Varnok.");
    EXPECT_EQ(about.Hint_Of(about.WEB_Address_Label.Handle()), L"Click to visit Varnok's WEB Page.");
    Open();  // a second showing: the same hints, not a second tip each
    EXPECT_EQ(about.Hint_Of(about.WEB_Address_Label.Handle()), L"Click to visit Varnok's WEB Page.");
}

// Escape, OK and Alt+F4 all stop the timers and the logo and hide the box, which lives on.
TEST_F(AboutBoxTest, EveryWayOfClosingStopsTheTimersAndKeepsTheBox) {
    const std::vector<std::pair<const char*, void (*)(TAboutBox&)>> ways = {
        {"Escape", [](TAboutBox& box) { SendMessageW(box.Handle(), WM_COMMAND, IDCANCEL, 0); }},
        {"OK", [](TAboutBox& box) { SendMessageW(box.OKButton.Handle(), BM_CLICK, 0, 0); }},
        {"Alt+F4", [](TAboutBox& box) { SendMessageW(box.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& [name, close] : ways) {
        SCOPED_TRACE(name);
        Open();
        ASSERT_TRUE(about.Is_Visible());
        close(about);
        EXPECT_TRUE(IsWindow(about.Handle()));
        EXPECT_FALSE(about.Is_Visible());
        EXPECT_FALSE(about.Quote_Change_Timer.Enabled());
        EXPECT_FALSE(about.Free_Resources_Timer.Enabled());
        EXPECT_FALSE(about.Logo_Animation_Timer.Enabled());
        Sleep(250);
        testing_support::Pump_And_Forget_Quit();
        const int stopped = about.Logo_Frame();
        Sleep(250);
        testing_support::Pump_And_Forget_Quit();
        EXPECT_EQ(about.Logo_Frame(), stopped) << "the logo stands still once closed";
    }
}

TEST_F(AboutBoxTest, LogoAdvancesWhileShownAndItsFramesDiffer) {
    Open();
    const int first = about.Logo_Frame();
    for (int i = 0; i < 20 && about.Logo_Frame() == first; ++i) {
        Sleep(50);
        testing_support::Pump_And_Forget_Quit();
    }
    EXPECT_NE(about.Logo_Frame(), first);

    // Two frames drawn off-screen must not be the same picture.
    HDC screen = GetDC(nullptr);
    const auto pixels_of = [&](int frame) {
        HDC dc = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        Paint_Logo(dc, {0, 0, 40, 40}, frame);
        GdiFlush();
        const auto* begin = static_cast<const std::uint32_t*>(bits);
        std::vector<std::uint32_t> copy(begin, begin + 40 * 40);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return copy;
    };
    EXPECT_NE(pixels_of(0), pixels_of(kLogo_Frames / 3));
    EXPECT_EQ(pixels_of(1), pixels_of(1 + kLogo_Frames)) << "the animation loops";
    ReleaseDC(nullptr, screen);
}

TEST_F(AboutBoxTest, LinksOpenThroughTheShellAndAnEmptyAddressDoesNothing) {
    Open();
    Click(about.Email_Address_Label);
    Click(about.WEB_Address_Label);
    Click(about.Varnok_Logo_Banner_Image);
    Click(about.Country_Logo_Label);
    Click(about.Donation_Image);
    const std::vector<std::string> expected = {
        "mailto:varnok@example.com?subject=Shareware: Tilvane.EXE",
        "https://www.example.com/varnok/",
        "https://www.example.com/varnok/",
        "https://www.example.com/varnok/",
        "https://www.example.org/donate/varnok",
    };
    EXPECT_EQ(shell.opened, expected);
    about.Donation_Address_Label.Set_Text(L"");
    Click(about.Donation_Label);
    EXPECT_EQ(shell.opened.size(), expected.size());
}

TEST(FreeResources, AddsPhysicalAndPageFileAndRoundsToAWholePercent) {
    constexpr DWORDLONG kGiB = 1ull << 30;
    struct Case {
        DWORDLONG total_physical, free_physical, total_page, free_page;
        const wchar_t* text;
    } cases[] = {
        {64 * kGiB, 48 * kGiB, 80 * kGiB, 50 * kGiB, L"68%"},  // far past what 32 bits hold
        {1000 * 1024, 575 * 1024, 1000 * 1024, 575 * 1024, L"58%"},  // 57.5 rounds up
        {2047, 1023, 1024, 1024, L"50%"},  // physical memory in whole KiB only: 1 and 0
        {0, 0, 0, 0, L"0%"},
        {4 * kGiB, 4 * kGiB, 8 * kGiB, 8 * kGiB, L"100%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof status;
        status.ullTotalPhys = c.total_physical;
        status.ullAvailPhys = c.free_physical;
        status.ullTotalPageFile = c.total_page;
        status.ullAvailPageFile = c.free_page;
        EXPECT_EQ(Free_Resources_Percent(status), c.text);
    }
}

}  // namespace
}  // namespace tilvane::app
