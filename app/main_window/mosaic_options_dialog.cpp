#include "main_window/mosaic_options_dialog.h"

#include <string>
#include <vector>

#include "kit/dialog_keys.h"
#include "main_window/number_fields.h"
#include "mosaic/mosaic_option_table.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

using Number_Member = int Mosaic_Options::*;

// "Output Size" of the caption "&Output Size :", as a message names the field.
std::string Field_Name(std::string_view caption) {
    std::string name;
    for (const char c : caption.substr(0, caption.rfind(" :")))
        if (c != '&') name += c;
    return name;
}

// The design, at 96 pixels an inch: four steps one under another, each row a caption, its field
// and the field's unit, with OK and Cancel below them on the right.
constexpr int kClient_Width = 560, kClient_Height = 416;
constexpr int kGroup_Left = 8, kGroup_Width = 544;
constexpr int kCaption_Left = 10, kCaption_Width = 248;
constexpr int kField_Left = 262, kField_Width = 76, kField_Height = 23;
constexpr int kUnit_Left = 346, kUnit_Width = 190;
constexpr int kText_Height = 20, kText_Drop = 3;  // a text beside a field sits on the field's line
constexpr int kButton_Top = 378, kButton_Width = 96, kButton_Height = 28;

kit::Control_Args Group(std::string_view name, int top, int height, std::wstring_view caption) {
    return {name, {kGroup_Left, top, kGroup_Width, height}, caption};
}
// A number's caption and unit come from its option's row, and so does the field's range. The
// texts live until the control that takes them is made.
kit::Control_Args Field_Caption(std::string_view name, int field_top, Number_Member member,
                                std::wstring&& caption = {}) {
    caption = win::To_Wide(Option_Row(member).caption);
    return {name, {kCaption_Left, field_top + kText_Drop, kCaption_Width, kText_Height}, caption};
}
kit::Control_Args Field(std::string_view name, int top) { return {name, {kField_Left, top, kField_Width, kField_Height}}; }
kit::Control_Args Unit(std::string_view name, int field_top, Number_Member member, std::wstring&& caption = {}) {
    caption = win::To_Wide(Option_Row(member).unit);
    return {name, {kUnit_Left, field_top + kText_Drop, kUnit_Width, kText_Height}, caption};
}
kit::Control_Args Line(std::string_view name, int top, std::wstring_view caption) {
    return {name, {kCaption_Left, top, kGroup_Width - 2 * kCaption_Left, kText_Height}, caption};
}

}  // namespace

TMosaic_Options_Dialog::TMosaic_Options_Dialog(HWND owner)
    : Form({L"TMosaic_Options_Dialog", L"Mosaic Options", kClient_Width, kClient_Height,
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, owner}),
      Mosaic_Size_GroupBox(*this, Group("Mosaic_Size_GroupBox", 8, 52, L" Size of the Mosaic : ")),
      Mosaic_Scale_Label(Mosaic_Size_GroupBox, Field_Caption("Mosaic_Scale_Label", 20, &Mosaic_Options::scale)),
      Mosaic_Scale_SpinEdit(Mosaic_Size_GroupBox, Field("Mosaic_Scale_SpinEdit", 20),
          Option_Row(&Mosaic_Options::scale).range.minimum, Option_Row(&Mosaic_Options::scale).range.maximum),
      Mosaic_Scale_Unit_Label(Mosaic_Size_GroupBox, Unit("Mosaic_Scale_Unit_Label", 20, &Mosaic_Options::scale)),
      Repeated_Tiles_GroupBox(*this, Group("Repeated_Tiles_GroupBox", 66, 106, L" Repeating Tiles : ")),
      Minimum_Tile_Distance_Label(Repeated_Tiles_GroupBox, Field_Caption("Minimum_Tile_Distance_Label", 20, &Mosaic_Options::min_distance)),
      Minimum_Tile_Distance_SpinEdit(Repeated_Tiles_GroupBox, Field("Minimum_Tile_Distance_SpinEdit", 20),
          Option_Row(&Mosaic_Options::min_distance).range.minimum, Option_Row(&Mosaic_Options::min_distance).range.maximum),
      Minimum_Tile_Distance_Unit_Label(Repeated_Tiles_GroupBox, Unit("Minimum_Tile_Distance_Unit_Label", 20, &Mosaic_Options::min_distance)),
      Maximum_Tile_Uses_Label(Repeated_Tiles_GroupBox, Field_Caption("Maximum_Tile_Uses_Label", 48, &Mosaic_Options::max_uses)),
      Maximum_Tile_Uses_SpinEdit(Repeated_Tiles_GroupBox, Field("Maximum_Tile_Uses_SpinEdit", 48),
          Option_Row(&Mosaic_Options::max_uses).range.minimum, Option_Row(&Mosaic_Options::max_uses).range.maximum),
      Maximum_Tile_Uses_Unit_Label(Repeated_Tiles_GroupBox, Unit("Maximum_Tile_Uses_Unit_Label", 48, &Mosaic_Options::max_uses)),
      Mirror_Tiles_CheckBox(Repeated_Tiles_GroupBox,
                            Line("Mirror_Tiles_CheckBox", 78, L"Use &Mirrored Tiles as well (flipped left to right)")),
      Tile_Colour_GroupBox(*this, Group("Tile_Colour_GroupBox", 178, 106, L" Colours of the Tiles : ")),
      Shift_Tile_Colour_RadioButton(
          Tile_Colour_GroupBox,
          Line("Shift_Tile_Colour_RadioButton", 20, L"&Shift each Tile's Colours onto the Original's"), true),
      Transfer_Tile_Colour_RadioButton(
          Tile_Colour_GroupBox,
          Line("Transfer_Tile_Colour_RadioButton", 44, L"&Transfer the Original's Colours onto each Tile"), false),
      Blend_Original_Label(Tile_Colour_GroupBox, Field_Caption("Blend_Original_Label", 72, &Mosaic_Options::blend)),
      Blend_Original_SpinEdit(Tile_Colour_GroupBox, Field("Blend_Original_SpinEdit", 72),
          Option_Row(&Mosaic_Options::blend).range.minimum, Option_Row(&Mosaic_Options::blend).range.maximum),
      Blend_Original_Unit_Label(Tile_Colour_GroupBox, Unit("Blend_Original_Unit_Label", 72, &Mosaic_Options::blend)),
      Output_Files_GroupBox(*this, Group("Output_Files_GroupBox", 290, 78, L" Files : ")),
      JPEG_Quality_Label(Output_Files_GroupBox, Field_Caption("JPEG_Quality_Label", 20, &Mosaic_Options::quality)),
      JPEG_Quality_SpinEdit(Output_Files_GroupBox, Field("JPEG_Quality_SpinEdit", 20),
          Option_Row(&Mosaic_Options::quality).range.minimum, Option_Row(&Mosaic_Options::quality).range.maximum),
      JPEG_Quality_Unit_Label(Output_Files_GroupBox, Unit("JPEG_Quality_Unit_Label", 20, &Mosaic_Options::quality)),
      Write_Placements_CheckBox(Output_Files_GroupBox, Line("Write_Placements_CheckBox", 50,
                                                            L"Write a &Placements File beside the Mosaic (.CSV)")),
      OKButton(*this, {"OKButton", {kClient_Width - 2 * (kButton_Width + 8), kButton_Top, kButton_Width, kButton_Height},
                       L"OK"}),
      CancelButton(*this, {"CancelButton", {kClient_Width - kButton_Width - 8, kButton_Top, kButton_Width, kButton_Height},
                           L"Cancel"}),
      owner_(owner) {
    Set_Client_Size(kClient_Width, kClient_Height);
    // Enter presses OK and Escape Cancel, as in a dialog box.
    SetWindowLongPtrW(OKButton.Handle(), GWLP_ID, IDOK);
    SendMessageW(OKButton.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    SetWindowLongPtrW(CancelButton.Handle(), GWLP_ID, IDCANCEL);
    OKButton.On_Click = [this] { OKButtonClick(); };
    CancelButton.On_Click = [this] { CancelButtonClick(); };
    On_Cancel = [this] { CancelButtonClick(); };
    On_Close = [this] { CancelButtonClick(); };  // the dialog lives as long as its owner
    On_Activate = [this] { FormActivate(); };
    Follow_Screen_Scale();
}

bool TMosaic_Options_Dialog::Edit(Mosaic_Options& options) {
    Show_Options(options);
    accepted_ = false;
    focus_first_field_ = true;
    Show_Modal(owner_);
    if (accepted_) Read_Options(options);
    return accepted_;
}

std::array<TMosaic_Options_Dialog::Option_Field, 5> TMosaic_Options_Dialog::Option_Fields() {
    return {{{&Mosaic_Scale_SpinEdit, &Mosaic_Options::scale},
             {&Minimum_Tile_Distance_SpinEdit, &Mosaic_Options::min_distance},
             {&Maximum_Tile_Uses_SpinEdit, &Mosaic_Options::max_uses},
             {&Blend_Original_SpinEdit, &Mosaic_Options::blend},
             {&JPEG_Quality_SpinEdit, &Mosaic_Options::quality}}};
}

void TMosaic_Options_Dialog::Show_Options(const Mosaic_Options& options) {
    for (const Option_Field& field : Option_Fields()) field.edit->Set_Value(options.*field.member);
    Mirror_Tiles_CheckBox.Set_Checked(options.mirror);
    Shift_Tile_Colour_RadioButton.Set_Checked(options.colour == Tile_Colour::Shift);
    Transfer_Tile_Colour_RadioButton.Set_Checked(options.colour == Tile_Colour::Transfer);
    const bool photos = options.formats != Picture_Formats::Bmp_Only;
    JPEG_Quality_Label.Set_Enabled(photos);
    JPEG_Quality_SpinEdit.Set_Enabled(photos);
    JPEG_Quality_Unit_Label.Set_Enabled(photos);
    Write_Placements_CheckBox.Set_Checked(options.write_placements);
}

void TMosaic_Options_Dialog::Read_Options(Mosaic_Options& options) {
    for (const Option_Field& field : Option_Fields()) options.*field.member = field.edit->Value();
    options.mirror = Mirror_Tiles_CheckBox.Checked();
    options.colour = Transfer_Tile_Colour_RadioButton.Checked() ? Tile_Colour::Transfer : Tile_Colour::Shift;
    options.write_placements = Write_Placements_CheckBox.Checked();
}

void TMosaic_Options_Dialog::FormActivate() {
    if (!focus_first_field_) return;  // back from another window: the focus stays where it was
    focus_first_field_ = false;
    kit::Focus_Control(Mosaic_Scale_SpinEdit.Handle());
}

void TMosaic_Options_Dialog::OKButtonClick() {
    // The quality field, greyed without the photo formats, holds the number it was shown with.
    std::vector<std::string> names;
    std::vector<Number_Field> checked;
    for (const Option_Field& field : Option_Fields()) names.push_back(Field_Name(Option_Row(field.member).caption));
    for (std::size_t i = 0; const Option_Field& field : Option_Fields()) checked.push_back({*field.edit, names[i++]});
    if (!Check_Number_Fields(*this, checked)) return;  // the dialog stays open on the field
    accepted_ = true;
    Hide();
}

void TMosaic_Options_Dialog::CancelButtonClick() { Hide(); }

}  // namespace tilvane::app
