#include <filesystem>

#include "arguments.h"
#include "commands.h"
#include "extract/extract_inputs.h"
#include "extract/tile_extraction.h"
#include "output_folder.h"
#include "support/native_path.h"
#include "terminal_progress.h"

namespace tilvane::cli {
namespace {

struct Extract_Arguments {
    std::string mosaic;
    std::string directory;
    Extract_Settings settings;
    bool quiet = false;
};

Extract_Limit Parse_Limit(const std::string& text) {
    const char* const names[] = {"first", "row", "column", "all"};
    for (int i = 0; i < 4; ++i)
        if (text == names[i]) return Extract_Limit_From_Index(i);
    throw Usage_Error("--limit takes first, row, column or all, not " + text);
}

Extract_Arguments Parse_Extract_Arguments(const std::vector<std::string>& args) {
    Extract_Arguments parsed;
    bool size_given = false;
    const std::vector<std::string> positional = Parse_Arguments(
        args, {
                  {"--size", Option::One_Value,
                   [&](const std::string& value) {
                       std::tie(parsed.settings.tile_width, parsed.settings.tile_height) =
                           Parse_Pair(value, "--size", kExtract_Tile_Size_Range);
                       size_given = true;
                   }},
                  {"--gap", Option::One_Value,
                   [&](const std::string& value) {
                       std::tie(parsed.settings.gap_horizontal, parsed.settings.gap_vertical) =
                           Parse_Pair(value, "--gap", kTile_Gap_Range);
                       parsed.settings.gap = true;
                   }},
                  {"--limit", Option::One_Value, [&](const std::string& value) { parsed.settings.limit = Parse_Limit(value); }},
                  {"--quiet", Option::Nothing, [&](const std::string&) { parsed.quiet = true; }},
              });
    if (positional.size() != 2) throw Usage_Error("extract takes MOSAIC and DIRECTORY");
    if (!size_given) throw Usage_Error("extract needs --size WIDTHxHEIGHT");
    // The program's check: an empty name, such as an unset shell variable, would cut every tile
    // into the current folder, and a bare root into the root.
    if (Check_Extract_Inputs(positional[1]) == Extract_Input_Problem::Directory_Blank)
        throw Usage_Error("extract needs a DIRECTORY name, not an empty one or a bare root");
    parsed.mosaic = positional[0];
    parsed.directory = positional[1];
    return parsed;
}

}  // namespace

int Run_Extract(const std::vector<std::string>& args) {
    const Extract_Arguments parsed = Parse_Extract_Arguments(args);
    const std::filesystem::path directory = Native_Path(parsed.directory);
    In_Output_Folder(directory, [&] {
        Terminal_Progress progress(stderr, parsed.quiet || !Stderr_Is_Terminal());
        Extract_Tiles(parsed.mosaic, Utf8_Path(directory / ""), parsed.settings, progress, Picture_Formats::By_Extension);
    });
    return 0;
}

}  // namespace tilvane::cli
