#include "main_window/tile_choice_menu.h"

#include "win/text.h"

namespace tilvane::app {

Tile_Choice_Menu::Tile_Choice_Menu(kit::Popup_Menu& menu, std::function<void(Tile_Choice)> on_choose) {
    for (const Tile_Choice_Name& name : kTile_Choice_Names) {
        kit::Menu_Item& item = items_.emplace_back(menu, name.item_name, win::To_Wide(name.caption), kit::Item_Kind::Radio);
        item.On_Click = [this, on_choose, choice = name.choice] {
            Check(choice);
            on_choose(choice);
        };
    }
    Check(Tile_Choice::Random);
}

void Tile_Choice_Menu::Check(Tile_Choice choice) {
    for (const Tile_Choice_Name& name : kTile_Choice_Names) Item(name.choice).Set_Checked(name.choice == choice);
}

}  // namespace tilvane::app
