#include "kit/menu.h"

#include "kit/form.h"

namespace tilvane::kit {

Menu_Bar::Menu_Bar(Form& form, std::string_view name) : form_(form), menu_(CreateMenu()) {
    form.Register_Non_Visual(name);
    SetMenu(form.Handle(), menu_);  // the window destroys the bar and its menus with itself
}

Popup_Menu::Popup_Menu(Menu_Bar& bar, std::string_view name, std::wstring_view caption)
    : bar_(bar), menu_(CreatePopupMenu()) {
    bar.Owner().Register_Non_Visual(name);
    AppendMenuW(bar.Handle(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu_), std::wstring(caption).c_str());
    DrawMenuBar(bar.Owner().Handle());
}

void Popup_Menu::Add(Menu_Item& item) {
    items_.push_back(&item);
    Rebuild();
}

void Popup_Menu::Rebuild() {
    while (GetMenuItemCount(menu_) > 0) RemoveMenu(menu_, 0, MF_BYPOSITION);
    for (const Menu_Item* item : items_) {
        if (!item->visible_) continue;
        if (item->kind_ == Item_Kind::Separator) {
            AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu_, MF_STRING | (item->checked_ ? MF_CHECKED : MF_UNCHECKED), item->id_,
                        item->caption_.c_str());
            if (item->kind_ == Item_Kind::Radio) {
                MENUITEMINFOW info{};
                info.cbSize = sizeof info;
                info.fMask = MIIM_FTYPE;
                info.fType = MFT_STRING | MFT_RADIOCHECK;
                SetMenuItemInfoW(menu_, item->id_, FALSE, &info);
            }
        }
    }
}

Menu_Item::Menu_Item(Popup_Menu& menu, std::string_view name, std::wstring_view caption, Item_Kind kind)
    : menu_(menu), caption_(caption), kind_(kind) {
    Form& form = menu.Owner();
    form.Register_Non_Visual(name);
    id_ = form.Register_Command([this] {
        if (On_Click) On_Click();
    });
    menu.Add(*this);
}

void Menu_Item::Set_Checked(bool checked) {
    checked_ = checked;
    CheckMenuItem(menu_.Handle(), id_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Menu_Item::Set_Visible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    menu_.Rebuild();
}

}  // namespace tilvane::kit
