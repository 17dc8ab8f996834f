#pragma once
// The grid that both jobs lay over a picture: tiles of one size, optionally with gaps between
// them, and the ranges that the program's fields, the settings file and the tool allow.
#include <algorithm>

namespace tilvane {

// A closed range of whole numbers.
struct Value_Range {
    int minimum;
    int maximum;

    [[nodiscard]] constexpr bool Holds(int value) const { return value >= minimum && value <= maximum; }
    // Out-of-range values become the nearest allowed one.
    [[nodiscard]] constexpr int Clamp(int value) const { return std::clamp(value, minimum, maximum); }
};

// The largest number that the program's size, gap and distance fields hold.
inline constexpr int kLargest_Field_Value = 1000;

// A mosaic tile of 0 pixels is allowed where a gap still advances the grid.
inline constexpr Value_Range kMosaic_Tile_Size_Range{0, kLargest_Field_Value};
inline constexpr Value_Range kExtract_Tile_Size_Range{1, kLargest_Field_Value};
inline constexpr Value_Range kTile_Gap_Range{0, kLargest_Field_Value};

struct Tile_Grid {
    int tile_width = 0;
    int tile_height = 0;
    bool gap = false;  // the gap values count only when this is set (but always in the maximum)
    int gap_horizontal = 0;
    int gap_vertical = 0;

    // Tiles start every Step_X() columns and Step_Y() rows from the top-left pixel.
    [[nodiscard]] int Step_X() const { return tile_width + (gap ? gap_horizontal : 0); }
    [[nodiscard]] int Step_Y() const { return tile_height + (gap ? gap_vertical : 0); }
    [[nodiscard]] bool Advances() const { return Step_X() > 0 && Step_Y() > 0; }

    // The progress maximum of a run over a picture of this height: the vertical gap counts even
    // while the gap switch is off, so the last row's value never passes it.
    [[nodiscard]] int Progress_Maximum(int picture_height) const { return picture_height + tile_height + gap_vertical; }
};

}  // namespace tilvane
