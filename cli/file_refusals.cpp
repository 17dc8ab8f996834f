#include "file_refusals.h"

#include <filesystem>
#include <system_error>

#include "codecs/picture_file.h"
#include "commands.h"
#include "shell/error_report.h"
#include "shell/picture_format_text.h"
#include "support/error.h"
#include "support/native_path.h"
#include "support/same_file.h"

namespace tilvane::cli {

void Check_Output_Format(const std::string& output, bool quality_given, bool lossless_given) {
    const Picture_Format* format = Output_Format(output, Picture_Formats::By_Extension);
    if (!format) throw Usage_Error(shell::Error_Text(Error::Unknown_Extension(output)));
    if (quality_given && !format->takes_quality)
        throw Usage_Error("--quality is for a " + shell::Quality_Outputs_Text() + ", not for " + output);
    if (lossless_given && !format->takes_lossless)
        throw Usage_Error("--lossless is for a " + shell::Lossless_Outputs_Text() + ", not for " + output);
}

void Refuse_Folder_As_Picture(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(Native_Path(path), ec))
        throw Error::Cannot_Open(path, std::make_error_code(std::errc::is_a_directory));
}

void Refuse_Placements_Over_Inputs(const std::string& placements, const std::string& original, const std::string& output,
                                   const std::vector<std::string>& tiles) {
    const Same_File_As same(placements);
    const auto refuse = [&](const std::string& what) {
        throw Usage_Error("--placements " + placements + " is " + what + ", which it would write over");
    };
    if (same(original)) refuse("the ORIGINAL " + original);
    if (same(output)) refuse("the OUTPUT " + output);
    for (const std::string& tile : tiles)
        if (same(tile)) refuse("the tile " + tile);
}

}  // namespace tilvane::cli
