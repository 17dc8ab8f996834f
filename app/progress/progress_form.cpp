#include "progress/progress_form.h"

#include "desktop/local_clock.h"
#include "kit/application.h"
#include "shell/progress_text.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

using kit::Alignment;
using kit::Bounds;

constexpr int kLabel_Points = 11;  // 15 pixels
constexpr int kGroup_Points = 12;  // 16 pixels, bold
constexpr int kMargin = 8;
constexpr int kRow_Height = 19;
constexpr int kCaption_Right = 230;  // the captions' column ends here, the values start after it
constexpr int kValue_Width = 190;
constexpr int kButton_Width = 100;
constexpr int kButton_Height = 28;

// Rows of the dialog, top to bottom, in the group box's coordinates.
constexpr int kMajor_Top = 22, kBar_Top = 44, kMinor_Top = 70, kFirst_Time_Row = 96, kButton_Top = 180;

int Time_Row(int index) { return kFirst_Time_Row + index * (kRow_Height + 2); }

kit::Control_Args Label_At(std::string_view name, int row, std::wstring_view caption = {}) {
    return {name, {kMargin, Time_Row(row), kCaption_Right - kMargin, kRow_Height}, caption};
}

}  // namespace

std::wstring Format_Date_Time_With_Day(progress::Day_Time time) {
    const SYSTEMTIME st = desktop::To_System_Time(time);
    wchar_t date[128] = L"", clock_time[128] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, static_cast<int>(std::size(date)));
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, clock_time, static_cast<int>(std::size(clock_time)));
    return win::To_Wide(progress::Short_Day_Names[static_cast<std::size_t>(st.wDayOfWeek)]) + L" " + date + L", " +
           clock_time;
}

TProgress_Form::TProgress_Form(progress::Clock& clock, HWND owner)
    : Form({L"TProgress_Form", L"Processing Progress ...", 605, 279, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, owner}),
      Progress_GroupBox(*this, {"Progress_GroupBox", {0, 0, 589, 240}, {}, {}, true}),
      Major_Item_Label(Progress_GroupBox, {"Major_Item_Label", {kMargin, kMajor_Top, 573, kRow_Height}}),
      Progress_Bar(Progress_GroupBox, {"Progress_Bar", {kMargin, kBar_Top, 573, 20}}),
      Minor_Item_Label(Progress_GroupBox, {"Minor_Item_Label", {kMargin, kMinor_Top, 573, kRow_Height}},
                       Alignment::Centre),
      Start_Date_Time_Caption_Label(Progress_GroupBox, Label_At("Start_Date_Time_Caption_Label", 0, L"Start Date / Time :"),
                                    Alignment::Right),
      Start_Date_Time_Label(Progress_GroupBox, Label_At("Start_Date_Time_Label", 0)),
      Elapsed_Time_Caption_Label(Progress_GroupBox, Label_At("Elapsed_Time_Caption_Label", 1, L"Elapsed Time :"),
                                 Alignment::Right),
      Elapsed_Time_Label(Progress_GroupBox, Label_At("Elapsed_Time_Label", 1)),
      Elapsed_Time_Format_Label(Progress_GroupBox, Label_At("Elapsed_Time_Format_Label", 1, L"(HH:MM:SS)")),
      Remaining_Time_Caption_Label(Progress_GroupBox,
                                   Label_At("Remaining_Time_Caption_Label", 2, L"Estimated Remaining Time :"),
                                   Alignment::Right),
      Remaining_Date_Time_Label(Progress_GroupBox, Label_At("Remaining_Date_Time_Label", 2)),
      Remaining_Time_Format_Label(Progress_GroupBox, Label_At("Remaining_Time_Format_Label", 2, L"(HH:MM:SS)")),
      Time_To_Completion_Caption_Label(Progress_GroupBox,
                                       Label_At("Time_To_Completion_Caption_Label", 3, L"Estimated End Date / Time :"),
                                       Alignment::Right),
      Time_To_Completion_Label(Progress_GroupBox, Label_At("Time_To_Completion_Label", 3)),
      Abort_Processing_BitBtn(Progress_GroupBox, {"Abort_Processing_BitBtn", {0, kButton_Top, kButton_Width, kButton_Height},
                                                  L"Abort"}),
      clock_(clock) {
    Progress_GroupBox.Set_Font_Size(kGroup_Points);
    for (const Component& component : Components()) {
        if (component.control != &Progress_GroupBox) component.control->Set_Font_Size(kLabel_Points);
    }
    Progress_GroupBox.Set_Visible(false);
    Arrange();
    On_Resize = [this] { Arrange(); };
    Follow_Screen_Scale();
    On_Close = [this] { Hide(); };  // the close box only hides: the run goes on
    On_Cancel = [this] { Abort_Processing_BitBtnKeyDown(VK_ESCAPE); };
    Abort_Processing_BitBtn.On_Click = [this] { Abort_Processing_BitBtnClick(); };
    Abort_Processing_BitBtn.On_Key_Down = [this](WPARAM key) { Abort_Processing_BitBtnKeyDown(key); };
}

void TProgress_Form::Arrange() {
    const SIZE client = Client_Size();
    const int margin = Scaled(kMargin), row_height = Scaled(kRow_Height);
    const int width = static_cast<int>(client.cx), full = std::max(0, width - 2 * margin);
    const auto row_top = [this](int row) { return Scaled(Time_Row(row)); };
    Progress_GroupBox.Set_Bounds({0, 0, width, static_cast<int>(client.cy)});
    Major_Item_Label.Set_Bounds({margin, Scaled(kMajor_Top), full, row_height});
    Progress_Bar.Set_Bounds({margin, Scaled(kBar_Top), full, Scaled(20)});
    Minor_Item_Label.Set_Bounds({margin, Scaled(kMinor_Top), full, row_height});
    const int value_left = Scaled(kCaption_Right + kMargin);
    kit::Label* captions[] = {&Start_Date_Time_Caption_Label, &Elapsed_Time_Caption_Label,
                              &Remaining_Time_Caption_Label, &Time_To_Completion_Caption_Label};
    kit::Label* values[] = {&Start_Date_Time_Label, &Elapsed_Time_Label, &Remaining_Date_Time_Label,
                            &Time_To_Completion_Label};
    for (int row = 0; row < 4; ++row) {
        const bool has_note = row == 1 || row == 2;
        captions[row]->Set_Bounds({margin, row_top(row), Scaled(kCaption_Right - kMargin), row_height});
        values[row]->Set_Bounds({value_left, row_top(row),
                                 has_note ? Scaled(70) : std::max(0, width - value_left - margin), row_height});
    }
    Elapsed_Time_Format_Label.Set_Bounds({value_left + Scaled(76), row_top(1), Scaled(100), row_height});
    Remaining_Time_Format_Label.Set_Bounds({value_left + Scaled(76), row_top(2), Scaled(100), row_height});
    const int button_width = Scaled(kButton_Width);
    Abort_Processing_BitBtn.Set_Bounds({(width - button_width) / 2, Scaled(kButton_Top), button_width,
                                        Scaled(kButton_Height)});
}

void TProgress_Form::Initialise_Processing(int start, int minimum, int maximum) {
    for (kit::Label* label : {&Major_Item_Label, &Minor_Item_Label, &Start_Date_Time_Label, &Elapsed_Time_Label,
                              &Remaining_Date_Time_Label, &Time_To_Completion_Label}) {
        label->Set_Text(L"");
    }
    last_major_.clear();
    last_minor_.clear();
    run_.Initialise(start, minimum, maximum, clock_.Now());
    Start_Date_Time_Label.Set_Text(Format_Date_Time_With_Day(run_.Start_Time()));
    Progress_Bar.Set_Range(minimum, maximum);
    Progress_Bar.Set_Position(run_.Position());
    Progress_GroupBox.Set_Visible(true);
    Abort_Processing_BitBtn.Set_Text(L"Abort");
    if (!Is_Visible()) Centre_On_Screen();
    Show();
    Bring_To_Front_And_Focus();
    kit::Process_Pending_Messages();
}

void TProgress_Form::Begin_Stage(int minimum, int maximum) {
    run_.Begin_Stage(minimum, maximum);
    Progress_Bar.Set_Range(minimum, maximum);
    Progress_Bar.Set_Position(run_.Position());
}

bool TProgress_Form::Is_It_Time_For_An_Update(int current) {
    return progress::Is_It_Time_For_An_Update(clock_.Now(), run_.Last_Update_Time(), current, run_.Maximum());
}

void TProgress_Form::Update_Processing(const std::wstring& major, const std::wstring& minor, int current) {
    using Kind = progress::Update_Outcome::Kind;
    const progress::Update_Outcome outcome = run_.Update(current, clock_.Now());
    switch (outcome.kind) {
        case Kind::Not_Initialised:
        case Kind::Above_Maximum:
            Show_Error(shell::Progress_Error_Text(outcome));
            return;
        case Kind::Shown:
        case Kind::Dropped:
            // A dropped row may be the run's last, which End_Processing then shows.
            last_major_ = major;
            last_minor_ = minor;
            if (outcome.kind == Kind::Shown) Show_Figures(outcome);
            return;
        default:
            return;
    }
}

void TProgress_Form::Show_Figures(const progress::Update_Outcome& outcome) {
    Major_Item_Label.Set_Text(last_major_);
    Minor_Item_Label.Set_Text(last_minor_);
    Progress_Bar.Set_Position(run_.Position());
    Elapsed_Time_Label.Set_Text(win::To_Wide(progress::Format_Duration(outcome.elapsed)));
    if (outcome.end_time) Time_To_Completion_Label.Set_Text(Format_Date_Time_With_Day(*outcome.end_time));
    if (outcome.remaining) Remaining_Date_Time_Label.Set_Text(win::To_Wide(progress::Format_Duration(*outcome.remaining)));
    kit::Process_Pending_Messages();
}

void TProgress_Form::End_Processing() {
    const std::optional<progress::Update_Outcome> last_row = run_.End(clock_.Now());
    Abort_Processing_BitBtn.Set_Text(L"OK");
    if (last_row) {
        Show_Figures(*last_row);
    } else {
        Progress_Bar.Set_Position(run_.Position());
    }
    if (Is_Visible()) {
        Bring_To_Front_And_Focus();
        Abort_Processing_BitBtn.Focus();
    }
}

void TProgress_Form::Stop_Processing_On_Error() {
    if (!run_.Has_Started_CheckBox) return;  // refused before the run started: nothing to end
    run_.Abort();
    run_.End(clock_.Now());
    Hide();
}

void TProgress_Form::Abort_Processing_BitBtnClick() {
    run_.Abort();
    Hide();
}

void TProgress_Form::Abort_Processing_BitBtnKeyDown(WPARAM key) {
    if (key == VK_ESCAPE && !run_.Has_Started_CheckBox) Hide();
}

}  // namespace tilvane::app
