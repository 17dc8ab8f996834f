// The Options menu: three radio items for how "Make Mosaic" chooses each cell's tile.
#include "main_window/main_form.h"

namespace tilvane::app {

void TMainForm1::Connect_Tile_Choice_Options() {
    Draw_Tiles_at_Random_Option.On_Click = [this] { Tile_Choice_OptionClick(Tile_Choice::Random); };
    Use_Every_Tile_Before_Repeating_Option.On_Click = [this] { Tile_Choice_OptionClick(Tile_Choice::Shuffle); };
    Choose_Best_Matching_Tile_Option.On_Click = [this] { Tile_Choice_OptionClick(Tile_Choice::Best); };
    Tile_Choice_OptionClick(Tile_Choice::Random);
}

void TMainForm1::Tile_Choice_OptionClick(Tile_Choice choice) {
    Draw_Tiles_at_Random_Option.Set_Checked(choice == Tile_Choice::Random);
    Use_Every_Tile_Before_Repeating_Option.Set_Checked(choice == Tile_Choice::Shuffle);
    Choose_Best_Matching_Tile_Option.Set_Checked(choice == Tile_Choice::Best);
    mosaic_page.Set_Tile_Choice(choice);
}

Tile_Choice TMainForm1::Chosen_Tile_Choice() const {
    if (Use_Every_Tile_Before_Repeating_Option.Checked()) return Tile_Choice::Shuffle;
    if (Choose_Best_Matching_Tile_Option.Checked()) return Tile_Choice::Best;
    return Tile_Choice::Random;
}

}  // namespace tilvane::app
