#pragma once
// One small wrapper per Win32 control class the program uses. Handlers are callback members
// that the parent's window procedure reaches through Control::On_Command / On_Notify.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "kit/control.h"
#include "kit/picture.h"

namespace tilvane::kit {

enum class Alignment { Left, Centre, Right };

class Label final : public Control {
public:
    Label(const Window_Host& parent, const Control_Args& args, Alignment alignment = Alignment::Left);
};

// A field's caption whose underlined letter (written "&x") moves the focus to the field that
// follows it, as in a dialog box.
class Field_Label final : public Control {
public:
    Field_Label(const Window_Host& parent, const Control_Args& args);
};

class Edit final : public Control {
public:
    Edit(const Window_Host& parent, const Control_Args& args);
    std::function<void()> On_Change;
    void On_Command(WORD code) override;
};

// An edit with up and down arrows over a whole-number range.
class Spin_Edit final : public Control {
public:
    Spin_Edit(const Window_Host& parent, const Control_Args& args, int minimum, int maximum);
    // The text read as a decimal whole number forced into the range; text that is not one reads
    // as the range's minimum. Leaving the field writes a typed number past the range back as
    // the end it counts as.
    int Value() const;
    // Whether the text is a decimal whole number: an operation refuses a field that is not,
    // rather than take the minimum it reads as.
    bool Holds_Number() const { return Typed_Number().has_value(); }
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    // Forced into the range first.
    void Set_Value(int value);
    std::function<void()> On_Change;

    Bounds Get_Bounds() const override;
    void Set_Bounds(const Bounds& bounds) override;
    void Set_Enabled(bool enabled) override;  // the arrows with the field
    void On_Command(WORD code) override;

private:
    std::optional<int> Typed_Number() const;

    HWND arrows_ = nullptr;
    int minimum_, maximum_;
};

// Any number of items selectable at once, with Shift and Ctrl. The box holds no texts, only the
// count and the selection: it asks Item_Text for an item's text when it paints it, so a list of a
// hundred thousand items is shown as fast as a short one.
class List_Box final : public Control {
public:
    List_Box(const Window_Host& parent, const Control_Args& args);
    std::function<std::wstring(int index)> Item_Text;

    int Count() const;
    // Makes the box show `count` items with exactly the `selected` ones (ascending) selected,
    // painting suspended meanwhile.
    void Reset(int count, std::span<const int> selected = {});
    std::vector<int> Selected_Indexes() const;
    bool Is_Selected(int index) const;
    void Set_Selected(int index, bool selected);

    void Set_Font_Size(int points) override;
    void On_Draw_Item(const DRAWITEMSTRUCT& item) override;
};

class Check_Box final : public Control {
public:
    Check_Box(const Window_Host& parent, const Control_Args& args);
    bool Checked() const;
    void Set_Checked(bool checked);
    std::function<void()> On_Click;
    void On_Command(WORD code) override;
};

// The first button of a set starts a group; the buttons of a group check each other off.
class Radio_Button final : public Control {
public:
    Radio_Button(const Window_Host& parent, const Control_Args& args, bool starts_group);
    bool Checked() const;
    void Set_Checked(bool checked);
    std::function<void()> On_Click;
    void On_Command(WORD code) override;
};

class Push_Button final : public Control {
public:
    Push_Button(const Window_Host& parent, const Control_Args& args);
    std::function<void()> On_Click;
    // The key-down of a key pressed while the button has the focus (Escape and Enter included).
    std::function<void(WPARAM key)> On_Key_Down;
    void On_Command(WORD code) override;

private:
    static LRESULT CALLBACK Key_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                          DWORD_PTR data);
};

class Progress_Bar final : public Control {
public:
    Progress_Bar(const Window_Host& parent, const Control_Args& args);
    void Set_Range(int minimum, int maximum);
    void Set_Position(int position);
    int Position() const;
    int Maximum() const;
};

// Shows a picture unscaled from its top-left corner, cut off at the box's edges.
class Picture_Box final : public Control {
public:
    Picture_Box(const Window_Host& parent, const Control_Args& args);
    // Loads the file (Picture::Load_File); a failed load throws and keeps the picture shown.
    void Load_File(const std::string& utf8_path, Picture_Formats formats = Picture_Formats::Bmp_Only);
    const Picture& Shown() const { return picture_; }

private:
    static LRESULT CALLBACK Paint_Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                            DWORD_PTR data);
    Picture picture_;
};

}  // namespace tilvane::kit
