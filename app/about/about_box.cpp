#include "about/about_box.h"

#include <cmath>
#include <utility>

#include "about/about_pictures.h"
#include "about/free_resources.h"
#include "kit/fonts.h"
#include "win/handles.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

constexpr int kClient_Width = 622, kClient_Height = 411;
constexpr int kLeft_Column = 10, kLeft_Width = 164;
constexpr int kText_Left = 190, kText_Width = 420, kLine = 20;
constexpr int kLink_Left = 206, kLink_Width = 300;
constexpr int kProduct_Points = 14;
constexpr UINT kLogo_Frame_Ms = 110;

const wchar_t* const kMaker = L"Varnok";
const wchar_t* const kEmail_Address = L"varnok@example.com";
const wchar_t* const kWeb_Address = L"https://www.example.com/varnok/";
const wchar_t* const kDonation_Address = L"https://www.example.org/donate/varnok";

kit::Control_Args Text_Line(std::string_view name, int top, bool bold = false) {
    return {name, {kText_Left, top, kText_Width, kLine}, {}, {}, bold};
}

// Link text: blue and underlined, bold where asked.
void Paint_Link(const kit::Painted_Box& box, HDC dc, const RECT& area, bool bold) {
    const win::Selected font(dc, kit::Times_Font(box.Font_Size(), bold, true));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 255));
    RECT text = area;
    DrawTextW(dc, box.Text().c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

TAboutBox::TAboutBox(HWND owner, progress::Clock& clock, Random_Source& random, desktop::Desktop_Shell& shell,
                     std::string program_file_name)
    : Form({L"TAboutBox", L"About Tilvane v1.0f ...", kClient_Width, kClient_Height,
            WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, owner}),
      Varnok_Logo_Banner_Image(*this, {"Varnok_Logo_Banner_Image", {0, 0, kClient_Width, 64}}),
      Logo_Bevel(*this, {"Logo_Bevel", {kLeft_Column, 74, kLeft_Width, kLeft_Width}}),
      Varnok_Logo_GIFImage(*this, {"Varnok_Logo_GIFImage", {kLeft_Column + 8, 82, kLeft_Width - 16, kLeft_Width - 16}}),
      Quote_From_Varnok_Label(*this, {"Quote_From_Varnok_Label", {kLeft_Column, 244, kLeft_Width, 76}},
                              kit::Alignment::Centre),
      Country_Bevel(*this, {"Country_Bevel", {kLeft_Column, 326, kLeft_Width, 76}}),
      Country_Logo_Image(*this, {"Country_Logo_Image", {kLeft_Column + 8, 344, 55, 40}}),
      Country_Logo_Label(*this, {"Country_Logo_Label", {kLeft_Column + 68, 334, kLeft_Width - 74, 60},
                                 L"Proudly made in Norway"}),
      Product_Name_Label(*this, {"Product_Name_Label", {kText_Left, 72, kText_Width, 26}, {}, {}, true}),
      Author_and_Date_Label(*this, Text_Line("Author_and_Date_Label", 100, true)),
      Developed_Using_Label(*this, Text_Line("Developed_Using_Label", 124)),
      Copyright_Label(*this, Text_Line("Copyright_Label", 144)),
      Software_Status_Label(*this, Text_Line("Software_Status_Label", 168)),
      Comments_Label(*this, Text_Line("Comments_Label", 198)),
      Email_Button(*this, {"Email_Button", {kLink_Left, 218, kLink_Width, 24}}),
      Email_Address_Label(*this, {"Email_Address_Label", {kLink_Left, 0, kLink_Width, kLine}}),
      WEB_Page_Label(*this, Text_Line("WEB_Page_Label", 248)),
      WEB_Button(*this, {"WEB_Button", {kLink_Left, 268, kLink_Width, 24}}),
      WEB_Address_Label(*this, {"WEB_Address_Label", {kLink_Left, 0, kLink_Width, kLine}}),
      Free_Resources_Caption_Label(*this, {"Free_Resources_Caption_Label", {kText_Left, 302, 160, kLine},
                                           L"Free System Resources :"}),
      Free_Resources_Label(*this, {"Free_Resources_Label", {kText_Left + 164, 302, 80, kLine}, {}, {}, true}),
      Donation_Image(*this, {"Donation_Image", {kText_Left, 330, 28, 26}}),
      Donation_Label(*this, {"Donation_Label", {kText_Left + 36, 333, kText_Width - 36, kLine},
                             L"Like this program?  Click here to make a donation."}),
      Donation_Address_Label(*this, {"Donation_Address_Label", {kText_Left, 360, kText_Width, kLine}}),
      OKButton(*this, {"OKButton", {kClient_Width - 110, kClient_Height - 40, 96, 28}, L"OK"}),
      Quotes_From_Varnok_ListBox{
          L"I hope this program makes your work a little easier.",
          L"Comments and ideas are always welcome: send me an E-Mail!",
          L"Useful software need not be big software.",
          L"If this program serves you well, please consider a small donation.",
      },
      Quote_Change_Timer(*this, 10000),
      Free_Resources_Timer(*this, 500),
      Logo_Animation_Timer(*this, kLogo_Frame_Ms),
      clock_(clock),
      random_(random),
      shell_(shell),
      program_file_name_(std::move(program_file_name)) {
    Set_Client_Size(kClient_Width, kClient_Height);
    Seed_From_Clock();
    Product_Name_Label.Set_Font_Size(kProduct_Points);
    Donation_Address_Label.Set_Visible(false);
    // Enter anywhere in the box presses OK, as in a dialog box.
    SetWindowLongPtrW(OKButton.Handle(), GWLP_ID, IDOK);
    SendMessageW(OKButton.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);

    Varnok_Logo_Banner_Image.Paint = Paint_Banner;
    Logo_Bevel.Paint = Paint_Bevel;
    Country_Bevel.Paint = Paint_Bevel;
    Varnok_Logo_GIFImage.Paint = [this](HDC dc, const RECT& area) { Paint_Logo(dc, area, logo_frame_); };
    Country_Logo_Image.Paint = Paint_Flag;
    Donation_Image.Paint = Paint_Heart;
    Country_Logo_Label.Paint = [this](HDC dc, const RECT& area) {
        RECT text = area;
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, Country_Logo_Label.Text().c_str(), -1, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    };
    Email_Address_Label.Paint = [this](HDC dc, const RECT& area) { Paint_Link(Email_Address_Label, dc, area, true); };
    WEB_Address_Label.Paint = [this](HDC dc, const RECT& area) { Paint_Link(WEB_Address_Label, dc, area, true); };
    Donation_Label.Paint = [this](HDC dc, const RECT& area) { Paint_Link(Donation_Label, dc, area, false); };

    for (kit::Painted_Box* web : {&Varnok_Logo_Banner_Image, &Varnok_Logo_GIFImage, &Country_Logo_Image,
                                  &Country_Logo_Label, &WEB_Address_Label}) {
        web->On_Click = [this] { WEB_ButtonClick(); };
    }
    WEB_Button.On_Click = [this] { WEB_ButtonClick(); };
    Email_Address_Label.On_Click = [this] { Email_ButtonClick(); };
    Email_Button.On_Click = [this] { Email_ButtonClick(); };
    Donation_Label.On_Click = [this] { Donation_Click(); };
    Donation_Image.On_Click = [this] { Donation_Click(); };

    Quote_Change_Timer.On_Timer = [this] { Quote_Change_TimerTimer(); };
    Free_Resources_Timer.On_Timer = [this] { Free_Resources_TimerTimer(); };
    Logo_Animation_Timer.On_Timer = [this] {
        logo_frame_ = (logo_frame_ + 1) % kLogo_Frames;
        Varnok_Logo_GIFImage.Redraw();
    };
    OKButton.On_Click = [this] { OKButtonClick(); };
    On_Cancel = [this] { OKButtonClick(); };
    // The box lives until the program ends: Alt+F4 closes it like OK and never destroys it.
    On_Close = [this] { OKButtonClick(); };
    On_Activate = [this] { FormActivate(); };
    Follow_Screen_Scale();
}

void TAboutBox::Seed_From_Clock() {
    random_.Seed(static_cast<std::uint64_t>(std::llround(clock_.Now() * progress::kMilliseconds_Per_Day)));
}

void TAboutBox::Fill_Texts(int year) {
    Set_Caption(L"About Tilvane v1.0f ...");
    Product_Name_Label.Set_Text(L"Tilvane v1.0f");
    Author_and_Date_Label.Set_Text(std::wstring(kMaker) + L", " + L"September 2007");
    Developed_Using_Label.Set_Text(L"Written in C++ against the plain Win32 API.");
    Copyright_Label.Set_Text(L"Copyright \u00a9 Varnok, 2007-" + std::to_wstring(year));
    Software_Status_Label.Set_Text(L"Shareware: try it freely, and register if you keep using it.");
    Comments_Label.Set_Text(L"Please send your comments and suggestions to :");
    WEB_Page_Label.Set_Text(L"Visit Varnok's WEB page for news and more programs :");
    Email_Button.Set_Text(kEmail_Address);
    WEB_Button.Set_Text(kWeb_Address);
    Donation_Address_Label.Set_Text(kDonation_Address);
}

void TAboutBox::FormActivate() {
    Seed_From_Clock();
    Quote_Change_Timer.Set_Enabled(true);
    Free_Resources_Timer.Set_Enabled(true);
    Logo_Animation_Timer.Set_Enabled(true);
    Quote_Change_TimerTimer();
    Free_Resources_TimerTimer();
    Add_Hint(Email_Button.Handle(), L"Click to send an E-Mail to Varnok.");
    Add_Hint(WEB_Button.Handle(), L"Click to visit Varnok's WEB Page.");
    Email_Button.Set_Visible(false);
    WEB_Button.Set_Visible(false);
    Take_Over_Button(Email_Address_Label, Email_Button);
    Take_Over_Button(WEB_Address_Label, WEB_Button);
    for (kit::Painted_Box* box : {&Email_Address_Label, &WEB_Address_Label, &Country_Logo_Image, &Country_Logo_Label,
                                  &Varnok_Logo_GIFImage, &Varnok_Logo_Banner_Image, &Logo_Bevel, &Country_Bevel,
                                  &Donation_Label, &Donation_Image}) {
        box->Set_Hand_Cursor(true);
    }
    for (const kit::Painted_Box* bevel : {&Logo_Bevel, &Country_Bevel}) {
        SetWindowPos(bevel->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    OKButton.Focus();
}

void TAboutBox::Take_Over_Button(kit::Painted_Box& label, const kit::Push_Button& button) {
    Add_Hint(label.Handle(), Hint_Of(button.Handle()));
    kit::Bounds bounds = label.Get_Bounds();
    bounds.top = button.Get_Bounds().top;
    label.Set_Bounds(bounds);
    label.Set_Text(button.Text());
}

void TAboutBox::OKButtonClick() {
    Quote_Change_Timer.Set_Enabled(false);
    Free_Resources_Timer.Set_Enabled(false);
    Logo_Animation_Timer.Set_Enabled(false);
    Hide();
}

void TAboutBox::Quote_Change_TimerTimer() {
    const int count = static_cast<int>(Quotes_From_Varnok_ListBox.size());
    if (count == 0) return;
    Quote_From_Varnok_Label.Set_Text(Quotes_From_Varnok_ListBox[static_cast<std::size_t>(random_.Uniform_Below(count))]);
}

void TAboutBox::Free_Resources_TimerTimer() { Free_Resources_Label.Set_Text(Free_Resources_Percent()); }

void TAboutBox::Email_ButtonClick() {
    Open_With_Shell("mailto:" + win::To_Utf8(Email_Button.Text()) + "?subject=Shareware: " +
                    program_file_name_);
}

void TAboutBox::WEB_ButtonClick() { Open_With_Shell(win::To_Utf8(WEB_Button.Text())); }
void TAboutBox::Donation_Click() { Open_With_Shell(win::To_Utf8(Donation_Address_Label.Text())); }

void TAboutBox::Open_With_Shell(const std::string& text) {
    if (!text.empty()) shell_.Shell_Open_File(text);
}

}  // namespace tilvane::app
