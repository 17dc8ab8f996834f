#include "main_window/mosaic_options_dialog.h"

#include "kit/dialog_keys.h"
#include "main_window/number_fields.h"

namespace tilvane::app {
namespace {

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
kit::Control_Args Field_Caption(std::string_view name, int field_top, std::wstring_view caption) {
    return {name, {kCaption_Left, field_top + kText_Drop, kCaption_Width, kText_Height}, caption};
}
kit::Control_Args Field(std::string_view name, int top) { return {name, {kField_Left, top, kField_Width, kField_Height}}; }
kit::Control_Args Unit(std::string_view name, int field_top, std::wstring_view caption) {
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
      Mosaic_Scale_Label(Mosaic_Size_GroupBox, Field_Caption("Mosaic_Scale_Label", 20, L"&Output Size :")),
      Mosaic_Scale_SpinEdit(Mosaic_Size_GroupBox, Field("Mosaic_Scale_SpinEdit", 20), kMosaic_Scale_Range.minimum,
                            kMosaic_Scale_Range.maximum),
      Mosaic_Scale_Unit_Label(Mosaic_Size_GroupBox,
                              Unit("Mosaic_Scale_Unit_Label", 20, L"times the Original Image")),
      Repeated_Tiles_GroupBox(*this, Group("Repeated_Tiles_GroupBox", 66, 106, L" Repeating Tiles : ")),
      Minimum_Tile_Distance_Label(Repeated_Tiles_GroupBox, Field_Caption("Minimum_Tile_Distance_Label", 20,
                                                                   L"Minimum &Distance between Repeats :")),
      Minimum_Tile_Distance_SpinEdit(Repeated_Tiles_GroupBox, Field("Minimum_Tile_Distance_SpinEdit", 20),
                                     kMinimum_Distance_Range.minimum, kMinimum_Distance_Range.maximum),
      Minimum_Tile_Distance_Unit_Label(Repeated_Tiles_GroupBox, Unit("Minimum_Tile_Distance_Unit_Label", 20,
                                                                     L"Tiles apart (0 = no minimum)")),
      Maximum_Tile_Uses_Label(Repeated_Tiles_GroupBox,
                              Field_Caption("Maximum_Tile_Uses_Label", 48, L"Most &Uses of one Tile :")),
      Maximum_Tile_Uses_SpinEdit(Repeated_Tiles_GroupBox, Field("Maximum_Tile_Uses_SpinEdit", 48),
                                 kMaximum_Uses_Range.minimum, kMaximum_Uses_Range.maximum),
      Maximum_Tile_Uses_Unit_Label(Repeated_Tiles_GroupBox,
                                   Unit("Maximum_Tile_Uses_Unit_Label", 48, L"(0 = no limit)")),
      Mirror_Tiles_CheckBox(Repeated_Tiles_GroupBox,
                            Line("Mirror_Tiles_CheckBox", 78, L"Use &Mirrored Tiles as well (flipped left to right)")),
      Tile_Colour_GroupBox(*this, Group("Tile_Colour_GroupBox", 178, 106, L" Colours of the Tiles : ")),
      Shift_Tile_Colour_RadioButton(
          Tile_Colour_GroupBox,
          Line("Shift_Tile_Colour_RadioButton", 20, L"&Shift each Tile's Colours onto the Original's"), true),
      Transfer_Tile_Colour_RadioButton(
          Tile_Colour_GroupBox,
          Line("Transfer_Tile_Colour_RadioButton", 44, L"&Transfer the Original's Colours onto each Tile"), false),
      Blend_Original_Label(Tile_Colour_GroupBox, Field_Caption("Blend_Original_Label", 72, L"&Blend with the Original :")),
      Blend_Original_SpinEdit(Tile_Colour_GroupBox, Field("Blend_Original_SpinEdit", 72), kBlend_Range.minimum,
                              kBlend_Range.maximum),
      Blend_Original_Unit_Label(Tile_Colour_GroupBox, Unit("Blend_Original_Unit_Label", 72, L"%")),
      Output_Files_GroupBox(*this, Group("Output_Files_GroupBox", 290, 78, L" Files : ")),
      JPEG_Quality_Label(Output_Files_GroupBox, Field_Caption("JPEG_Quality_Label", 20, L"&JPEG Quality :")),
      JPEG_Quality_SpinEdit(Output_Files_GroupBox, Field("JPEG_Quality_SpinEdit", 20), kJpeg_Quality_Range.minimum,
                            kJpeg_Quality_Range.maximum),
      JPEG_Quality_Unit_Label(Output_Files_GroupBox,
                              Unit("JPEG_Quality_Unit_Label", 20, L"(1 - 100, for JPEG Mosaics)")),
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

bool TMosaic_Options_Dialog::Edit(Mosaic_Options& options, bool& write_placements) {
    Show_Options(options, write_placements);
    accepted_ = false;
    focus_first_field_ = true;
    Show_Modal(owner_);
    if (accepted_) Read_Options(options, write_placements);
    return accepted_;
}

void TMosaic_Options_Dialog::Show_Options(const Mosaic_Options& options, bool write_placements) {
    Mosaic_Scale_SpinEdit.Set_Value(options.scale);
    Minimum_Tile_Distance_SpinEdit.Set_Value(options.min_distance);
    Maximum_Tile_Uses_SpinEdit.Set_Value(options.max_uses);
    Mirror_Tiles_CheckBox.Set_Checked(options.mirror);
    Shift_Tile_Colour_RadioButton.Set_Checked(options.colour == Tile_Colour::Shift);
    Transfer_Tile_Colour_RadioButton.Set_Checked(options.colour == Tile_Colour::Transfer);
    Blend_Original_SpinEdit.Set_Value(options.blend);
    JPEG_Quality_SpinEdit.Set_Value(options.quality);
    const bool photos = options.formats != Picture_Formats::Bmp_Only;
    JPEG_Quality_Label.Set_Enabled(photos);
    JPEG_Quality_SpinEdit.Set_Enabled(photos);
    JPEG_Quality_Unit_Label.Set_Enabled(photos);
    Write_Placements_CheckBox.Set_Checked(write_placements);
}

void TMosaic_Options_Dialog::Read_Options(Mosaic_Options& options, bool& write_placements) const {
    options.scale = Mosaic_Scale_SpinEdit.Value();
    options.min_distance = Minimum_Tile_Distance_SpinEdit.Value();
    options.max_uses = Maximum_Tile_Uses_SpinEdit.Value();
    options.mirror = Mirror_Tiles_CheckBox.Checked();
    options.colour = Transfer_Tile_Colour_RadioButton.Checked() ? Tile_Colour::Transfer : Tile_Colour::Shift;
    options.blend = Blend_Original_SpinEdit.Value();
    options.quality = JPEG_Quality_SpinEdit.Value();
    write_placements = Write_Placements_CheckBox.Checked();
}

void TMosaic_Options_Dialog::FormActivate() {
    if (!focus_first_field_) return;  // back from another window: the focus stays where it was
    focus_first_field_ = false;
    kit::Focus_Control(Mosaic_Scale_SpinEdit.Handle());
}

void TMosaic_Options_Dialog::OKButtonClick() {
    // The quality field, greyed without the photo formats, holds the number it was shown with.
    if (!Check_Number_Fields(*this, {{Mosaic_Scale_SpinEdit, "Output Size"},
                                     {Minimum_Tile_Distance_SpinEdit, "Minimum Distance between Repeats"},
                                     {Maximum_Tile_Uses_SpinEdit, "Most Uses of one Tile"},
                                     {Blend_Original_SpinEdit, "Blend with the Original"},
                                     {JPEG_Quality_SpinEdit, "JPEG Quality"}}))
        return;  // the dialog stays open on the field
    accepted_ = true;
    Hide();
}

void TMosaic_Options_Dialog::CancelButtonClick() { Hide(); }

}  // namespace tilvane::app
