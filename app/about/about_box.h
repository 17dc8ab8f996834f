#pragma once
// The About box: the product's name and version, the maker's lines, a quote that changes every
// ten seconds, the free-memory figure and three links. Created once at start (its creation seeds
// the program's one random generator), shown modally, hidden again by OK, Escape or Alt+F4.
#include <string>
#include <vector>

#include "desktop/desktop_shell.h"
#include "kit/controls.h"
#include "kit/form.h"
#include "kit/painted_box.h"
#include "kit/timer.h"
#include "progress/progress_clock.h"
#include "support/random_source.h"

namespace tilvane::app {

class TAboutBox final : public kit::Form {
public:
    // The e-mail link's subject names `program_file_name`.
    TAboutBox(HWND owner, progress::Clock& clock, Random_Source& random, desktop::Desktop_Shell& shell,
              std::string program_file_name);
    ~TAboutBox() override { Destroy_Window(); }

    // The texts, refilled by every window-show sequence of the main window; the rights notice
    // ends with `year`.
    void Fill_Texts(int year);

    void FormActivate();
    void OKButtonClick();
    void Quote_Change_TimerTimer();
    void Free_Resources_TimerTimer();
    void Email_ButtonClick();
    void WEB_ButtonClick();
    void Donation_Click();
    // Opens `text` (an address or a file) with the shell; empty text does nothing, and a failure
    // shows nothing.
    void Open_With_Shell(const std::string& text);

    int Logo_Frame() const { return logo_frame_; }

    kit::Painted_Box Varnok_Logo_Banner_Image;
    kit::Painted_Box Logo_Bevel;
    kit::Painted_Box Varnok_Logo_GIFImage;
    kit::Label Quote_From_Varnok_Label;
    kit::Painted_Box Country_Bevel;
    kit::Painted_Box Country_Logo_Image;
    kit::Painted_Box Country_Logo_Label;
    kit::Label Product_Name_Label;
    kit::Label Author_and_Date_Label;
    kit::Label Developed_Using_Label;
    kit::Label Copyright_Label;
    kit::Label Software_Status_Label;
    kit::Label Comments_Label;
    kit::Push_Button Email_Button;
    kit::Painted_Box Email_Address_Label;
    kit::Label WEB_Page_Label;
    kit::Push_Button WEB_Button;
    kit::Painted_Box WEB_Address_Label;
    kit::Label Free_Resources_Caption_Label;
    kit::Label Free_Resources_Label;
    kit::Painted_Box Donation_Image;
    kit::Painted_Box Donation_Label;
    kit::Label Donation_Address_Label;
    kit::Push_Button OKButton;

    std::vector<std::wstring> Quotes_From_Varnok_ListBox;
    kit::Timer Quote_Change_Timer;
    kit::Timer Free_Resources_Timer;
    kit::Timer Logo_Animation_Timer;

private:
    void Seed_From_Clock();
    void Take_Over_Button(kit::Painted_Box& label, const kit::Push_Button& button);

    progress::Clock& clock_;
    Random_Source& random_;
    desktop::Desktop_Shell& shell_;
    std::string program_file_name_;
    int logo_frame_ = 0;
};

}  // namespace tilvane::app
