#include <filesystem>
#include <system_error>

#include "arguments.h"
#include "commands.h"
#include "extract/tile_extraction.h"
#include "terminal_progress.h"

namespace tilvane::cli {
namespace {

struct Extract_Arguments {
    std::string mosaic;
    std::string directory;
    Extract_Settings settings;
    bool quiet = false;
};

Extract_Limit parse_limit(const std::string& text) {
    const char* const names[] = {"first", "row", "column", "all"};
    for (int i = 0; i < 4; ++i)
        if (text == names[i]) return Extract_Limit_From_Index(i);
    throw UsageError("--limit takes first, row, column or all, not " + text);
}

Extract_Arguments parse(const std::vector<std::string>& args) {
    Extract_Arguments parsed;
    bool size_given = false;
    Argument_Walk walk(args);
    const std::vector<std::string> positional = walk.Positional([&](const std::string& option) {
        if (option == "--size") {
            std::tie(parsed.settings.tile_width, parsed.settings.tile_height) = Parse_Pair(walk.Value(), option, 1);
            size_given = true;
        } else if (option == "--gap") {
            std::tie(parsed.settings.gap_horizontal, parsed.settings.gap_vertical) = Parse_Pair(walk.Value(), option);
            parsed.settings.gap = true;
        } else if (option == "--limit") {
            parsed.settings.limit = parse_limit(walk.Value());
        } else if (option == "--quiet") {
            parsed.quiet = true;
        } else {
            return false;
        }
        return true;
    });
    if (positional.size() != 2) throw UsageError("extract takes MOSAIC and DIRECTORY");
    if (!size_given) throw UsageError("extract needs --size WIDTHxHEIGHT");
    // An empty name, such as an unset shell variable, would cut every tile into the current folder.
    if (positional[1].empty()) throw UsageError("extract needs a DIRECTORY name, not an empty one");
    parsed.mosaic = positional[0];
    parsed.directory = positional[1];
    return parsed;
}

std::filesystem::path native_path(const std::string& utf8) { return std::u8string(utf8.begin(), utf8.end()); }

}  // namespace

int run_extract(const std::vector<std::string>& args) {
    const Extract_Arguments parsed = parse(args);
    const std::filesystem::path directory = native_path(parsed.directory);
    std::error_code ignored;
    // A folder that cannot be made shows as the first tile that cannot be created.
    const bool made = std::filesystem::create_directories(directory, ignored);
    const std::u8string prefix = (directory / "").u8string();
    Terminal_Progress progress(stderr, parsed.quiet || !Stderr_Is_Terminal());
    try {
        Extract_Tiles(parsed.mosaic, std::string(prefix.begin(), prefix.end()), parsed.settings, progress);
    } catch (...) {
        // A run that wrote nothing leaves no folder of its own making behind.
        if (made) std::filesystem::remove(directory, ignored);
        throw;
    }
    return 0;
}

}  // namespace tilvane::cli
