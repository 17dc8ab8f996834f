#pragma once
// The words that list the picture formats, built from their table, so that a new format shows in
// every list at once.
#include <string>

#include "codecs/picture_format.h"

namespace tilvane::shell {

// "Error: Only Bitmap (.BMP), JPEG (.JPG, .JPEG) and PNG (.PNG) files are supported by this
// program.", of the formats taken: the refusal of a name that formats does not take.
[[nodiscard]] std::string Only_Picture_Files_Message(Picture_Formats formats);
// "Bitmap (.BMP), JPEG (.JPG, .JPEG) or PNG (.PNG)" of the formats taken, the last after last_joint.
[[nodiscard]] std::string Named_Formats(Picture_Formats formats, const char* last_joint);

// The file pickers' filter, pairs of caption and patterns joined by '|': the bitmaps first; with
// every format, then all the pictures (where the pickers start) and each other format.
[[nodiscard]] std::string Picker_Filter_Text(Picture_Formats formats);

// "JPEG, PNG": the formats beyond the bitmaps, as the photo formats' menu item names them.
[[nodiscard]] std::string Photo_Format_Names();

// "JPEG or WebP output (.jpg, .jpeg or .webp)": the outputs whose quality can be chosen, and
// those that can be written without loss.
[[nodiscard]] std::string Quality_Outputs_Text();
[[nodiscard]] std::string Lossless_Outputs_Text();

}  // namespace tilvane::shell
