#pragma once
// One row per mosaic option: where Mosaic_Options keeps it, the settings file's key, the command
// line's switch, what it allows, and for a number the dialog's words and the build's name for it.
// The tool's parser, the settings file, the dialog's fields and the build's checks all read these
// rows, so a new option is a member of Mosaic_Options, a row here and, in the window, its control.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "mosaic/mosaic_options.h"

namespace tilvane {

// How an option is kept, as a member of Mosaic_Options; every one is stored as a whole number
// (a flag as 0 or 1, an enumeration as its place in its names' table).
using Option_Member = std::variant<int Mosaic_Options::*, bool Mosaic_Options::*, Tile_Choice Mosaic_Options::*,
                                   Tile_Colour Mosaic_Options::*, Picture_Formats Mosaic_Options::*>;

enum class Option_Form {
    Number,  // --switch N, in range; a spin field in the dialog
    Flag,    // --switch alone turns it on; a check box or check item in the window
    Word,    // --switch WORD, one of its names' words; radio buttons or items in the window
};

struct Mosaic_Option_Row {
    Option_Member member;
    Option_Form form;
    std::string_view settings_key;    // "Mosaic_Scale_Option"; empty: the settings file does not keep it
    std::string_view command_switch;  // "--scale"; empty: the tool has no switch for it
    Value_Range range;                // of the stored number
    // Numbers: the dialog's caption (& before the access key) and the text after the field, and
    // the option as a refusal names it ("The Scale must be from 1 to 16.").
    std::string_view caption{};
    std::string_view unit{};
    std::string_view subject{};
    // Words: the value of a word, and every word for a refusal ("a, b or c").
    std::optional<int> (*value_of_word)(std::string_view){};
    std::string (*words_text)(){};
};

// In the order the settings file writes them.
extern const std::array<Mosaic_Option_Row, 11> kMosaic_Option_Rows;

// The row that keeps member.
[[nodiscard]] const Mosaic_Option_Row& Option_Row(Option_Member member);

[[nodiscard]] int Option_Value(const Mosaic_Options& options, const Mosaic_Option_Row& row);
void Set_Option_Value(Mosaic_Options& options, const Mosaic_Option_Row& row, int value);

// Throws Error_Kind::Option_Out_Of_Range, numbering the first option outside its range (its
// place in kMosaic_Option_Rows).
void Check_Mosaic_Options(const Mosaic_Options& options);

// "Error: The Scale must be from 1 to 16.": the refusal of the option numbered `row`.
[[nodiscard]] std::string Option_Range_Text(int row);

}  // namespace tilvane
