#pragma once
// Controls that hold controls: tab pages, group boxes, radio groups, and the tab control.
// Their window procedure routes their children's notifications like a form's does.
#include <functional>
#include <string>
#include <vector>

#include "kit/control.h"

namespace tilvane::kit {

class Panel : public Control {
public:
    Panel(const Window_Host& parent, const Control_Args& args);
    void Set_Font_Size(int points) override;

protected:
    // Gives the panel a group box's etched frame with the caption set into its top edge.
    void Add_Frame(std::wstring_view caption);
    virtual void Arrange() {}

private:
    static LRESULT CALLBACK Window_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    void Paint_Frame(HDC dc) const;
    bool framed_ = false;
    std::wstring caption_;
};

class Group_Box : public Panel {
public:
    Group_Box(const Window_Host& parent, const Control_Args& args);
};

// A group box of radio buttons of its own, laid out one under another; Item_Index -1 is none.
class Radio_Group final : public Panel {
public:
    Radio_Group(const Window_Host& parent, const Control_Args& args, const std::vector<std::wstring>& items);
    int Item_Index() const;
    void Set_Item_Index(int index);
    HWND Item_Handle(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    std::function<void()> On_Click;

    void Set_Font_Size(int points) override;
    void On_Command(WORD code) override;

private:
    void Arrange() override;
    std::vector<HWND> items_;
};

class Tab_Page;

class Tab_Control final : public Control {
public:
    Tab_Control(const Window_Host& parent, const Control_Args& args);
    int Active_Page_Index() const;
    void Set_Active_Page_Index(int index);
    int Page_Count() const { return static_cast<int>(pages_.size()); }

    void Set_Bounds(const Bounds& bounds) override;
    LRESULT On_Notify(const NMHDR& header) override;

private:
    friend class Tab_Page;
    void Add_Page(Tab_Page& page, std::wstring_view caption);
    Bounds Display_Area() const;
    void Show_Active_Page();
    std::vector<Tab_Page*> pages_;
};

// A page always fills its tab control's display area, whatever bounds it is given.
class Tab_Page final : public Panel {
public:
    Tab_Page(Tab_Control& tabs, const Control_Args& args);
    void Set_Bounds(const Bounds& bounds) override;

private:
    Tab_Control& tabs_;
};

}  // namespace tilvane::kit
