#pragma once
// The words of the input checks (the bitmap-name checks, and those of "Make Mosaic" and
// "Extract Tiles"), shared by the program and the command-line tool.
#include <string>
#include <string_view>

#include "extract/extract_inputs.h"
#include "mosaic/mosaic_inputs.h"
#include "shell/picture_format_text.h"

namespace tilvane::shell {

// What the user reads about a check's problem; empty for None. Where the program asks a question
// (some tiles missing, the output exists) this is the question's first part, the words the tool
// refuses with.
[[nodiscard]] std::string Mosaic_Input_Text(const Mosaic_Input_Check& check);
// Likewise for "Extract Tiles".
[[nodiscard]] std::string Extract_Input_Text(Extract_Input_Problem problem);

// A number field that holds no number ("Tile Width", "JPEG Quality"): the operation refuses it
// rather than take the range's minimum for it.
[[nodiscard]] std::string Not_A_Number_Text(std::string_view field, int minimum, int maximum);

// The original's name field has these two messages wherever it is checked.
inline constexpr std::string_view kOriginal_Blank_Message = "Error: The Original File name cannot be blank.";
inline constexpr std::string_view kOriginal_Not_Found_Message = "Error: The Original File name does NOT exist.";

// Follows the text of some missing tiles in the program's question.
inline constexpr std::string_view kRemove_Missing_Tiles_Question =
    "  Would you like to remove the missing tiles from the list and proceed ?";
// Follows the text of an existing output in the program's question.
inline constexpr std::string_view kOverwrite_Question = "  Overwrite this file ?";

}  // namespace tilvane::shell
