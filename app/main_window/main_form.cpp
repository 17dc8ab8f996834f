#include "main_window/main_form.h"

#include <exception>

#include "desktop/file_system.h"
#include "grid/tile_grid.h"
#include "kit/application.h"
#include "main_window/program.h"
#include "shell/design_layout.h"
#include "shell/error_report.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

using kit::Alignment;
using kit::Item_Kind;

constexpr int kWindow_Points = 11;  // Times New Roman, 15 pixels high

// The page's common layout: group boxes across the page, a row of three buttons at the bottom.
constexpr int kGroup_Left = 6, kGroup_Width = 561;
constexpr int kButton_Top = 370, kButton_Width = 110, kButton_Height = 28;
constexpr int kHelp_Left = 60, kAction_Left = 231, kExit_Left = 402;

kit::Control_Args Step(std::string_view name, int top, int height, std::wstring_view caption) {
    return {name, {kGroup_Left, top, kGroup_Width, height}, caption};
}

const wchar_t* const kExit_Hint = L"Exit this program";
const wchar_t* const kHelp_Hint = L"Display the on-line help and step-by-step guide";

}  // namespace

// The size and gap fields of both pages take their ranges from the grid's (grid/tile_grid.h) and
// count a typed number past them as the nearest value in them.
TMainForm1::TMainForm1(Program& program)
    : Form({L"TMainForm1", L"Tilvane"}),
      PageControl1(*this, {"PageControl1", {4, 2, 581, 433}}),

      Mosaic_TabSheet(PageControl1, {"Mosaic_TabSheet", {}, L" Make a New Mosaic     "}),
      Original_Image_GroupBox(Mosaic_TabSheet, Step("Original_Image_GroupBox", 2, 50,
                                                    L" Step 1 - Select the Original Image File Name : ")),
      Input_File_Name_Edit(Original_Image_GroupBox, {"Input_File_Name_Edit", {10, 20, 455, 23}}),
      Input_File_Name_SpeedButton(Original_Image_GroupBox, {"Input_File_Name_SpeedButton", {469, 19, 30, 25}, L"...",
                                                            L"Select the original image"}),
      View_Original_Image_SpeedButton(Original_Image_GroupBox, {"View_Original_Image_SpeedButton", {503, 19, 50, 25},
                                                                L"View", L"View the original image"}),
      Tile_List_GroupBox(Mosaic_TabSheet, Step("Tile_List_GroupBox", 54, 128,
                                               L" Step 2 - List of Tiles to use to make the Mosaic : ")),
      Tiles_ListBox(Tile_List_GroupBox, {"Tiles_ListBox", {10, 20, 420, 100}}),
      Add_Original_Picture_To_Tile_List_SpeedButton(
          Tile_List_GroupBox, {"Add_Original_Picture_To_Tile_List_SpeedButton", {438, 20, 115, 23}, L"Add Original",
                               L"Add the Original Image to the list of tiles"}),
      Add_Selected_Tiles_To_List_SpeedButton(Tile_List_GroupBox, {"Add_Selected_Tiles_To_List_SpeedButton",
                                                                  {438, 45, 115, 23}, L"Add Tiles ...", L"Add tiles"}),
      Delete_Selected_Tiles_From_List_SpeedButton(
          Tile_List_GroupBox, {"Delete_Selected_Tiles_From_List_SpeedButton", {438, 70, 115, 23}, L"Remove",
                               L"Remove selected tile(s)"}),
      Reset_Tile_List_SpeedButton(Tile_List_GroupBox, {"Reset_Tile_List_SpeedButton", {438, 95, 115, 23},
                                                       L"Remove All", L"Remove all tiles from the list"}),
      Tile_Size_GroupBox(Mosaic_TabSheet,
                         Step("Tile_Size_GroupBox", 184, 78, L" Step 3 - Specify the Tile Size (in pixels) : ")),
      Horizontal_Tile_Size_Label(Tile_Size_GroupBox, {"Horizontal_Tile_Size_Label", {10, 23, 80, 20}, L"Tile Width :"}),
      Horizontal_Tile_Size_SpinEdit(Tile_Size_GroupBox, {"Horizontal_Tile_Size_SpinEdit", {92, 20, 60, 23}},
                                    kMosaic_Tile_Size_Range.minimum, kMosaic_Tile_Size_Range.maximum),
      Vertical_Tile_Size_Label(Tile_Size_GroupBox, {"Vertical_Tile_Size_Label", {164, 23, 84, 20}, L"Tile Height :"}),
      Vertical_Tile_Size_SpinEdit(Tile_Size_GroupBox, {"Vertical_Tile_Size_SpinEdit", {250, 20, 60, 23}},
                                  kMosaic_Tile_Size_Range.minimum, kMosaic_Tile_Size_Range.maximum),
      Set_Height_Width_To_Selected_Tile_BitBtn(
          Tile_Size_GroupBox,
          {"Set_Height_Width_To_Selected_Tile_BitBtn", {324, 19, 90, 25}, L"Set Select",
           L"Set the tile size to the actual size of the currently selected tile (in the list above)."}),
      Tiles_Shrink_Expand_To_Size_RadioButton(
          Tile_Size_GroupBox,
          {"Tiles_Shrink_Expand_To_Size_RadioButton", {10, 50, 265, 20}, L"Expand / Shrink Tiles to specified size"},
          true),
      Tiles_Crop_To_Size_RadioButton(
          Tile_Size_GroupBox,
          {"Tiles_Crop_To_Size_RadioButton", {280, 50, 275, 20}, L"Truncate / Crop tiles to specified size"}, false),
      Tile_Gap_GroupBox(Mosaic_TabSheet, Step("Tile_Gap_GroupBox", 264, 50,
                                              L" Step 4 - Allow for a Gap (in pixels) between the Mosaic Tiles : ")),
      Insert_Gap_Between_Tiles_CheckBox(Tile_Gap_GroupBox, {"Insert_Gap_Between_Tiles_CheckBox", {10, 22, 240, 20},
                                                            L"Leave a Gap between Mosaic Tiles"}),
      Horizontal_Tile_Gap_Label(Tile_Gap_GroupBox, {"Horizontal_Tile_Gap_Label", {256, 23, 80, 20}, L"Horizontal :"}),
      Horizontal_Tile_Gap_SpinEdit(Tile_Gap_GroupBox, {"Horizontal_Tile_Gap_SpinEdit", {338, 20, 60, 23}},
                                   kTile_Gap_Range.minimum, kTile_Gap_Range.maximum),
      Vertical_Tile_Gap_Label(Tile_Gap_GroupBox, {"Vertical_Tile_Gap_Label", {410, 23, 64, 20}, L"Vertical :"}),
      Vertical_Tile_Gap_SpinEdit(Tile_Gap_GroupBox, {"Vertical_Tile_Gap_SpinEdit", {476, 20, 60, 23}},
                                 kTile_Gap_Range.minimum, kTile_Gap_Range.maximum),
      Output_File_GroupBox(Mosaic_TabSheet,
                           Step("Output_File_GroupBox", 316, 50, L" Step 5 - Specify the Mosaic's File Name : ")),
      Output_File_Name_Edit(Output_File_GroupBox, {"Output_File_Name_Edit", {10, 20, 455, 23}}),
      Output_File_Name_SpeedButton(Output_File_GroupBox, {"Output_File_Name_SpeedButton", {469, 19, 30, 25}, L"...",
                                                          L"Select the Mosaic's file name"}),
      View_Mosaic_SpeedButton(Output_File_GroupBox,
                              {"View_Mosaic_SpeedButton", {503, 19, 50, 25}, L"View", L"View the mosaic image"}),
      Help_BitBtn(Mosaic_TabSheet, {"Help_BitBtn", {kHelp_Left, kButton_Top, kButton_Width, kButton_Height}, L"Help",
                                    kHelp_Hint}),
      Make_Mosaic_BitBtn(Mosaic_TabSheet, {"Make_Mosaic_BitBtn", {kAction_Left, kButton_Top, kButton_Width, kButton_Height},
                                           L"Make Mosaic", L"Build a Mosaic based on the above settings"}),
      Exit_BitBtn(Mosaic_TabSheet,
                  {"Exit_BitBtn", {kExit_Left, kButton_Top, kButton_Width, kButton_Height}, L"Exit", kExit_Hint}),

      Extract_TabSheet(PageControl1, {"Extract_TabSheet", {}, L" Extract Images from an Existing  Mosaic "}),
      Extract_Mosaic_GroupBox(Extract_TabSheet,
                              Step("Extract_Mosaic_GroupBox", 2, 50, L" Step 1 - Select the Mosaic's File Name : ")),
      Extract_Mosaic_Bitmap_File_Name_Edit(Extract_Mosaic_GroupBox,
                                           {"Extract_Mosaic_Bitmap_File_Name_Edit", {10, 20, 455, 23}}),
      Extract_Mosaic_Bitmap_File_Name_SpeedButton(Extract_Mosaic_GroupBox,
                                                  {"Extract_Mosaic_Bitmap_File_Name_SpeedButton", {469, 19, 30, 25},
                                                   L"...", L"Select the Mosaic"}),
      View_Mosaic_2_SpeedButton(Extract_Mosaic_GroupBox,
                                {"View_Mosaic_2_SpeedButton", {503, 19, 50, 25}, L"View", L"View the mosaic image"}),
      Extract_Tile_Size_GroupBox(Extract_TabSheet, Step("Extract_Tile_Size_GroupBox", 54, 104,
                                                        L" Step 2 - Specify the Tile Size (in pixels) : ")),
      Extract_Tile_Width_Label(Extract_Tile_Size_GroupBox, {"Extract_Tile_Width_Label", {10, 25, 84, 20}, L"Tile Width :"}),
      Extract_Tile_Width_SpinEdit(Extract_Tile_Size_GroupBox, {"Extract_Tile_Width_SpinEdit", {96, 22, 60, 23}},
                                  kExtract_Tile_Size_Range.minimum, kExtract_Tile_Size_Range.maximum),
      Extract_Tile_Height_Label(Extract_Tile_Size_GroupBox,
                                {"Extract_Tile_Height_Label", {10, 61, 84, 20}, L"Tile Height :"}),
      Extract_Tile_Height_SpinEdit(Extract_Tile_Size_GroupBox, {"Extract_Tile_Height_SpinEdit", {96, 58, 60, 23}},
                                   kExtract_Tile_Size_Range.minimum, kExtract_Tile_Size_Range.maximum),
      Test_Show_Image_Preview_BitBtn(Extract_Tile_Size_GroupBox,
                                     {"Test_Show_Image_Preview_BitBtn", {168, 21, 90, 25}, L"Test / Show"}),
      Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtn(
          Extract_Tile_Size_GroupBox,
          {"Set_Height_Width_To_Selected_Tile_Mosaic_Tab_BitBtn", {168, 57, 90, 25}, L"Set Select",
           L"Set the tile size to the current Mosaic Tile Size, in Step 3 on \"Make a New Mosaic\" tab."}),
      Extract_Tile_Preview_Image(Extract_Tile_Size_GroupBox, {"Extract_Tile_Preview_Image", {272, 20, 80, 76}}),
      Extract_Tile_Gap_GroupBox(Extract_TabSheet,
                                Step("Extract_Tile_Gap_GroupBox", 160, 50,
                                     L" Step 3 - Allow for a Gap (in pixels) between the Tiles in the Mosaic : ")),
      Extract_Gap_Between_Tiles_CheckBox(Extract_Tile_Gap_GroupBox, {"Extract_Gap_Between_Tiles_CheckBox",
                                                                     {10, 22, 240, 20}, L"Allow a Gap between Mosaic Tiles"}),
      Extract_Horizontal_Tile_Gap_Label(Extract_Tile_Gap_GroupBox,
                                        {"Extract_Horizontal_Tile_Gap_Label", {256, 23, 80, 20}, L"Horizontal :"}),
      Extract_Horizontal_Tile_Gap_SpinEdit(Extract_Tile_Gap_GroupBox,
                                           {"Extract_Horizontal_Tile_Gap_SpinEdit", {338, 20, 60, 23}},
                                           kTile_Gap_Range.minimum, kTile_Gap_Range.maximum),
      Extract_Vertical_Tile_Gap_Label(Extract_Tile_Gap_GroupBox,
                                      {"Extract_Vertical_Tile_Gap_Label", {410, 23, 64, 20}, L"Vertical :"}),
      Extract_Vertical_Tile_Gap_SpinEdit(Extract_Tile_Gap_GroupBox,
                                         {"Extract_Vertical_Tile_Gap_SpinEdit", {476, 20, 60, 23}},
                                         kTile_Gap_Range.minimum, kTile_Gap_Range.maximum),
      Extract_Image_Limits_RadioGroup(Extract_TabSheet,
                                      Step("Extract_Image_Limits_RadioGroup", 212, 102,
                                           L" Step 4 - Extract Tile Processing Limits : "),
                                      {L"Extract the first image only.  i.e. at row 1, column 1.",
                                       L"Extract all images from the first row only.",
                                       L"Extract all images from the first column only.",
                                       L"Extract all images from all rows and columns."}),
      Extracted_Tile_Directory_GroupBox(
          Extract_TabSheet, Step("Extracted_Tile_Directory_GroupBox", 316, 50,
                                 L" Step 5 - Specify the Directory to hold the Extracted Tiles : ")),
      Extracted_Tile_Directory_Edit(Extracted_Tile_Directory_GroupBox, {"Extracted_Tile_Directory_Edit", {10, 20, 489, 23}}),
      Extracted_Tile_Directory_SpeedButton(Extracted_Tile_Directory_GroupBox,
                                           {"Extracted_Tile_Directory_SpeedButton", {503, 19, 50, 25}, L"...",
                                            L"Select the target directory for the extracted tiles"}),
      BitBtn1(Extract_TabSheet, {"BitBtn1", {kHelp_Left, kButton_Top, kButton_Width, kButton_Height}, L"Help", kHelp_Hint}),
      Extract_Mosaic_Tiles_BitBtn(Extract_TabSheet,
                                  {"Extract_Mosaic_Tiles_BitBtn", {kAction_Left, kButton_Top, kButton_Width, kButton_Height},
                                   L"Extract Tiles", L"Extract the Tiles from the Mosaic"}),
      Exit_BitBtn2(Extract_TabSheet,
                   {"Exit_BitBtn2", {kExit_Left, kButton_Top, kButton_Width, kButton_Height}, L"Exit", kExit_Hint}),

      MainMenu1(*this, "MainMenu1"),
      File1(MainMenu1, "File1", L"&File"),
      Always_On_Top_Option(File1, "Always_On_Top_Option", L"Always &On Top", Item_Kind::Check),
      Auto_Run_at_Windows_Startup_Option(File1, "Auto_Run_at_Windows_Startup_Option", L"&Auto-Run at Windows Startup",
                                         Item_Kind::Check),
      Restore_Factory_Defaults_Option(File1, "Restore_Factory_Defaults_Option", L"&Restore Factory Defaults"),
      N1(File1, "N1", {}, Item_Kind::Separator),
      Create_Shortcut_on_Desktop_Option(File1, "Create_Shortcut_on_Desktop_Option", L"Create Shortcut on Desktop"),
      Create_Shortcut_on_Start_Menu_Option(File1, "Create_Shortcut_on_Start_Menu_Option",
                                           L"Create Shortcut on Start Menu"),
      Create_Shortcut_on_Start_Programs_Menu_Option(File1, "Create_Shortcut_on_Start_Programs_Menu_Option",
                                                    L"Create Shortcut on Start -> Programs Menu"),
      Create_Shortcut_on_SendTo_Menu_Option(File1, "Create_Shortcut_on_SendTo_Menu_Option",
                                            L"Create Shortcut on SendTo Menu"),
      Delete_All_Shortcuts_Option(File1, "Delete_All_Shortcuts_Option", L"Delete ALL Shortcuts"),
      N2(File1, "N2", {}, Item_Kind::Separator),
      ExitOption(File1, "ExitOption", L"E&xit"),
      Options1(MainMenu1, "Options1", L"&Options"),
      Draw_Tiles_at_Random_Option(Options1, "Draw_Tiles_at_Random_Option", L"Draw Tiles at &Random", Item_Kind::Radio),
      Use_Every_Tile_Before_Repeating_Option(Options1, "Use_Every_Tile_Before_Repeating_Option",
                                             L"Use Every Tile &Before Repeating", Item_Kind::Radio),
      Choose_Best_Matching_Tile_Option(Options1, "Choose_Best_Matching_Tile_Option", L"Choose the Best-&Matching Tile",
                                       Item_Kind::Radio),
      Help1(MainMenu1, "Help1", L"&Help"),
      View_Readme_file_Option(Help1, "View_Readme_file_Option", L"&View Readme file"),
      Help_and_StepbyStepGuide_Option(Help1, "Help_and_StepbyStepGuide_Option", L"Help + Step by Step Guide"),
      View_Shareware_Catalog_Option(Help1, "View_Shareware_Catalog_Option", L"View &Shareware Catalog"),
      N3(Help1, "N3", {}, Item_Kind::Separator),
      AboutOption(Help1, "AboutOption", L"&About"),
      program_(program),
      tile_list_(desktop::Locale_Sort_Key) {
    for (const Component& component : Components()) {
        if (component.control) component.control->Set_Font_Size(kWindow_Points);
    }
    Tiles_Shrink_Expand_To_Size_RadioButton.Set_Checked(true);
    Extract_Image_Limits_RadioGroup.Set_Item_Index(3);

    On_Close_Query = [this] { return FormCloseQuery(); };
    On_Resize = [this] { FormResize(); };
    On_Destroy = [] { PostQuitMessage(0); };  // closing the main window ends the program
    // The layout follows the client area, so the frame Windows suggests scales the pages too.
    Window_Dpi = kit::Screen_Dpi();
    On_Dpi_Changed = [this](int dpi, const RECT& frame) {
        Window_Dpi = dpi;
        SetWindowPos(Handle(), nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    ExitOption.On_Click = [this] { ExitOptionClick(); };
    Exit_BitBtn.On_Click = [this] { Exit_BitBtnClick(); };
    Exit_BitBtn2.On_Click = [this] { Exit_BitBtn2Click(); };
    Always_On_Top_Option.On_Click = [this] { Always_On_Top_OptionClick(); };
    AboutOption.On_Click = [this] { AboutOptionClick(); };
    Connect_File_Name_Handlers();
    Connect_Tile_List_Handlers();
    Connect_Mosaic_Handler();
    Connect_Extract_Handlers();
    Connect_Windows_Integration_Handlers();
    Connect_Help_Handlers();
    Connect_Settings_Handlers();
    Connect_Tile_Choice_Options();
}

void TMainForm1::Show_Main_Window() {
    FormShow();
    if (!Is_Visible()) Show();
    Input_File_Name_Edit.Focus();  // typing at once lands in the first field
}

void TMainForm1::FormShow() {
    const kit::Bounds tabs = PageControl1.Get_Bounds();
    Set_Client_Size(2 * tabs.left + tabs.width, 2 * tabs.top + tabs.height);
    Record_Design_Layout();
    Load_Settings();
    kit::Current_Application().Title = kApplication_Title;
    Set_Caption(kApplication_Title);
    program_.AboutBox.Fill_Texts(progress::To_Calendar(program_.Services.clock.Now()).year);
    Apply_Startup_Show_Mode();
    if (WindowState_wsMaximized) ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    // Inverted and toggled back: the stored check mark stays and the stacking follows it.
    Always_On_Top_Option.Set_Checked(!Always_On_Top_Option.Checked());
    Toggle_Always_On_Top();
    // The registry decides the check mark; the copy in the settings file has no lasting effect.
    Auto_Run_at_Windows_Startup_Option.Set_Checked(Check_Auto_Run_Location());
    Load_Tile_List_File();
    PageControl1.Set_Active_Page_Index(0);
    View_Readme_file_Option.Set_Visible(false);
}

bool TMainForm1::FormCloseQuery() {
    if (long_runs_ > 0) {
        // The run ends at its next look at the abort flag; the close follows then.
        close_after_run_ = true;
        program_.Progress_Form.Abort_Processing_BitBtnClick();
        return false;
    }
    try {
        Save_Settings();
    } catch (const std::exception& error) {
        return Close_Without_Saving(shell::Error_Text(error));  // an unwritable file must not trap the user
    }
    return true;
}

void TMainForm1::FormResize() { Rescale_Controls(); }
void TMainForm1::ExitOptionClick() { Close(); }
void TMainForm1::Exit_BitBtnClick() { Close(); }
void TMainForm1::Exit_BitBtn2Click() { Close(); }
void TMainForm1::Always_On_Top_OptionClick() { Toggle_Always_On_Top(); }
void TMainForm1::AboutOptionClick() { program_.AboutBox.Show_Modal(Handle()); }

void TMainForm1::Record_Design_Layout() {
    if (!Scaling_ListBox.empty()) return;
    ShowScrollBar(Handle(), SB_BOTH, FALSE);
    const SIZE client = Client_Size();
    Scaling_ListBox.push_back(shell::Design_Size_Line(client.cx, client.cy));
    for (const Component& component : Components()) {
        if (!component.control) {
            Scaling_ListBox.emplace_back(shell::kNon_Visual_Line);
            continue;
        }
        const kit::Bounds b = component.control->Get_Bounds();
        Scaling_ListBox.push_back(
            shell::Control_Line({b.left, b.width, b.top, b.height, component.control->Font_Size()}, component.name));
    }
}

void TMainForm1::Rescale_Controls() {
    if (Scaling_ListBox.empty()) return;
    const SIZE client = Client_Size();
    const shell::Layout_Ratios ratios = shell::Ratios_For(client.cx, client.cy, Scaling_ListBox[0]);
    const std::vector<Component>& components = Components();
    for (std::size_t i = 0; i < components.size() && i + 1 < Scaling_ListBox.size(); ++i) {
        const std::string& line = Scaling_ListBox[i + 1];
        if (line.size() <= 1 || !components[i].control) continue;
        const shell::Control_Geometry g = shell::Scaled_Geometry(line, ratios);
        components[i].control->Set_Bounds({g.left, g.top, g.width, g.height});
        components[i].control->Set_Font_Size(g.font_size);
    }
    // The preview box shows the first tile at its true size, whatever the window's size.
    Extract_Tile_Width_SpinEditChange();
    Extract_Tile_Height_SpinEditChange();
}

void TMainForm1::Toggle_Always_On_Top() {
    const bool topmost = !Always_On_Top_Option.Checked();
    Always_On_Top_Option.Set_Checked(topmost);
    SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TMainForm1::Apply_Startup_Show_Mode() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    if (startup.dwFlags & STARTF_USESHOWWINDOW) ShowWindow(Handle(), startup.wShowWindow);
}

bool TMainForm1::Ask(std::string_view question) {
    kit::Application& application = kit::Current_Application();
    return application.Boxes().Show(Handle(), {win::To_Wide(question), application.Title,
                                               desktop::Box_Icon::Question, desktop::Box_Buttons::Yes_No}) ==
           desktop::Box_Answer::Yes;
}

const std::string& TMainForm1::Program_Directory() const { return program_.Services.program_directory; }

void TMainForm1::Set_Action_Buttons_Enabled(bool enabled) {
    Make_Mosaic_BitBtn.Set_Enabled(enabled);
    Extract_Mosaic_Tiles_BitBtn.Set_Enabled(enabled);
}

TMainForm1::Long_Run::Long_Run(TMainForm1& form) : form_(form) {
    if (form_.long_runs_++ == 0) form_.Set_Action_Buttons_Enabled(false);
}

TMainForm1::Long_Run::~Long_Run() {
    if (--form_.long_runs_ > 0) return;
    form_.Set_Action_Buttons_Enabled(true);
    if (form_.close_after_run_) {
        form_.close_after_run_ = false;
        PostMessageW(form_.Handle(), WM_CLOSE, 0, 0);
    }
}

}  // namespace tilvane::app
