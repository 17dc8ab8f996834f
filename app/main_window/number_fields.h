#pragma once
// The check that every operation runs on the number fields it reads: an empty field, or one
// that holds something else, is refused by name rather than read as its range's minimum.
#include <initializer_list>
#include <span>
#include <string_view>

#include "kit/controls.h"
#include "kit/form.h"

namespace tilvane::app {

struct Number_Field {
    kit::Spin_Edit& field;
    std::string_view name;  // as the message names it: "Tile Width", "JPEG Quality"
};

// True when every field holds a number. Otherwise shows the error for the first that does not
// over `window`, moves the focus to that field, and returns false.
[[nodiscard]] bool Check_Number_Fields(kit::Form& window, std::span<const Number_Field> fields);
[[nodiscard]] inline bool Check_Number_Fields(kit::Form& window, std::initializer_list<Number_Field> fields) {
    return Check_Number_Fields(window, std::span(fields.begin(), fields.size()));
}

}  // namespace tilvane::app
