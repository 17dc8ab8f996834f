#pragma once
// The Options menu's "Mosaic Options ..." dialog: the mosaic's size, how near and how often a tile
// may come again, mirrored tiles, how the tiles take the original's colours, the JPEG quality and
// the record of placements. Made once with the main window, which owns it, and shown modally; OK
// (or Enter) keeps what it shows once every field holds a number, Cancel, Escape and the close
// box what it was given.
#include <array>

#include "kit/containers.h"
#include "kit/controls.h"
#include "kit/form.h"
#include "mosaic/mosaic_options.h"

namespace tilvane::app {

class TMosaic_Options_Dialog final : public kit::Form {
public:
    explicit TMosaic_Options_Dialog(HWND owner);
    ~TMosaic_Options_Dialog() override { Destroy_Window(); }

    // Shows `options` over the owner until OK or Cancel; after OK they hold what the dialog
    // showed, and the result is true.
    [[nodiscard]] bool Edit(Mosaic_Options& options);

    // The fields from `options`: the JPEG quality only counts, and can only be changed, while
    // the photo formats are on.
    void Show_Options(const Mosaic_Options& options);
    // The fields into `options`, which keeps what the dialog does not show.
    void Read_Options(Mosaic_Options& options);

    void FormActivate();
    void OKButtonClick();
    void CancelButtonClick();

    kit::Group_Box Mosaic_Size_GroupBox;
    kit::Field_Label Mosaic_Scale_Label;
    kit::Spin_Edit Mosaic_Scale_SpinEdit;
    kit::Label Mosaic_Scale_Unit_Label;
    kit::Group_Box Repeated_Tiles_GroupBox;
    kit::Field_Label Minimum_Tile_Distance_Label;
    kit::Spin_Edit Minimum_Tile_Distance_SpinEdit;
    kit::Label Minimum_Tile_Distance_Unit_Label;
    kit::Field_Label Maximum_Tile_Uses_Label;
    kit::Spin_Edit Maximum_Tile_Uses_SpinEdit;
    kit::Label Maximum_Tile_Uses_Unit_Label;
    kit::Check_Box Mirror_Tiles_CheckBox;
    kit::Group_Box Tile_Colour_GroupBox;
    kit::Radio_Button Shift_Tile_Colour_RadioButton;
    kit::Radio_Button Transfer_Tile_Colour_RadioButton;
    kit::Field_Label Blend_Original_Label;
    kit::Spin_Edit Blend_Original_SpinEdit;
    kit::Label Blend_Original_Unit_Label;
    kit::Group_Box Output_Files_GroupBox;
    kit::Field_Label JPEG_Quality_Label;
    kit::Spin_Edit JPEG_Quality_SpinEdit;
    kit::Label JPEG_Quality_Unit_Label;
    kit::Check_Box Write_Placements_CheckBox;
    kit::Push_Button OKButton;
    kit::Push_Button CancelButton;

private:
    // The spin fields and the numbers they hold, which their option rows describe.
    struct Option_Field {
        kit::Spin_Edit* edit;
        int Mosaic_Options::*member;
    };
    std::array<Option_Field, 5> Option_Fields();

    HWND owner_;
    bool accepted_ = false;
    bool focus_first_field_ = false;  // at the next activation: every showing starts there
};

}  // namespace tilvane::app
