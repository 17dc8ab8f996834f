#pragma once
// A form's menu bar, its drop-down menus and their items. Items are non-visual components of the
// form; a hidden item is taken out of its menu until it is shown again.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tilvane::kit {

class Form;
class Menu_Item;

class Menu_Bar {
public:
    Menu_Bar(Form& form, std::string_view name);
    Menu_Bar(const Menu_Bar&) = delete;
    Menu_Bar& operator=(const Menu_Bar&) = delete;
    HMENU Handle() const { return menu_; }
    Form& Owner() const { return form_; }

private:
    Form& form_;
    HMENU menu_;
};

class Popup_Menu {
public:
    Popup_Menu(Menu_Bar& bar, std::string_view name, std::wstring_view caption);
    Popup_Menu(const Popup_Menu&) = delete;
    Popup_Menu& operator=(const Popup_Menu&) = delete;
    HMENU Handle() const { return menu_; }
    Form& Owner() const { return bar_.Owner(); }

private:
    friend class Menu_Item;
    void Add(Menu_Item& item);
    void Rebuild();

    Menu_Bar& bar_;
    HMENU menu_;
    std::vector<Menu_Item*> items_;
};

// A Radio item shows its check mark as a bullet: one of a group of choices.
enum class Item_Kind { Command, Check, Radio, Separator };

class Menu_Item {
public:
    Menu_Item(Popup_Menu& menu, std::string_view name, std::wstring_view caption, Item_Kind kind = Item_Kind::Command);
    Menu_Item(const Menu_Item&) = delete;
    Menu_Item& operator=(const Menu_Item&) = delete;

    UINT Command_Id() const { return id_; }
    const std::wstring& Caption() const { return caption_; }
    bool Checked() const { return checked_; }
    void Set_Checked(bool checked);
    bool Visible() const { return visible_; }
    void Set_Visible(bool visible);
    // The check mark of a check item is left to the handler, which owns its meaning.
    std::function<void()> On_Click;

private:
    friend class Popup_Menu;
    Popup_Menu& menu_;
    std::wstring caption_;
    Item_Kind kind_;
    UINT id_;
    bool checked_ = false;
    bool visible_ = true;
};

}  // namespace tilvane::kit
