#include "extract/extract_inputs.h"

#include <algorithm>

namespace tilvane {

Extract_Input_Problem Check_Extract_Inputs(std::string_view directory) {
    // Nothing but blanks, control characters and separators names no folder of its own.
    const bool names_no_folder = std::all_of(directory.begin(), directory.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F || c == '\\' || c == '/';
    });
    return names_no_folder ? Extract_Input_Problem::Directory_Blank : Extract_Input_Problem::None;
}

}  // namespace tilvane
