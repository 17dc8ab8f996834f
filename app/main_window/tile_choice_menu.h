#pragma once
// The Options menu's radio items for how "Make Mosaic" chooses each cell's tile: one item for
// every choice the core knows (kTile_Choice_Names), drawing at random when nothing else is chosen.
#include <deque>
#include <functional>

#include "kit/menu.h"
#include "mosaic/tile_choice.h"

namespace tilvane::app {

class Tile_Choice_Menu {
public:
    // on_choose hears every choice the user clicks.
    Tile_Choice_Menu(kit::Popup_Menu& menu, std::function<void(Tile_Choice)> on_choose);

    // Checks choice's item alone.
    void Check(Tile_Choice choice);
    [[nodiscard]] kit::Menu_Item& Item(Tile_Choice choice) { return items_[static_cast<std::size_t>(choice)]; }
    [[nodiscard]] const kit::Menu_Item& Item(Tile_Choice choice) const { return items_[static_cast<std::size_t>(choice)]; }

private:
    std::deque<kit::Menu_Item> items_;  // in the table's order; a deque, since the menu holds their addresses
};

}  // namespace tilvane::app
