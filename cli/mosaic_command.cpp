#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "arguments.h"
#include "commands.h"
#include "mosaic/mosaic_build.h"
#include "terminal_progress.h"
#include "tile_sources.h"
#include "tiles/file_names.h"

namespace tilvane::cli {
namespace {

std::uint64_t parse_seed(const std::string& text) {
    std::uint64_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (error != std::errc{} || end != text.data() + text.size()) throw UsageError("--seed takes a whole number, not " + text);
    return seed;
}

struct Mosaic_Arguments {
    std::string original;
    std::string output;
    std::vector<std::string> tile_sources;
    Mosaic_Settings settings;
    bool size_given = false;
    std::uint64_t seed = 0;
    bool seed_given = false;
    bool quiet = false;
};

Mosaic_Arguments parse(const std::vector<std::string>& args) {
    Mosaic_Arguments parsed;
    std::vector<std::string> positional;
    const auto value_after = [&](std::size_t& i) -> const std::string& {
        if (i + 1 == args.size()) throw UsageError(args[i] + " needs a value");
        return args[++i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--tiles") {
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) parsed.tile_sources.push_back(args[++i]);
        } else if (arg == "--size") {
            std::tie(parsed.settings.tile_width, parsed.settings.tile_height) = Parse_Pair(value_after(i), arg);
            parsed.size_given = true;
        } else if (arg == "--gap") {
            std::tie(parsed.settings.gap_horizontal, parsed.settings.gap_vertical) = Parse_Pair(value_after(i), arg);
            parsed.settings.gap = true;
        } else if (arg == "--crop") {
            parsed.settings.mode = FittingMode::TruncateCrop;
        } else if (arg == "--seed") {
            parsed.seed = parse_seed(value_after(i));
            parsed.seed_given = true;
        } else if (arg == "--quiet") {
            parsed.quiet = true;
        } else if (arg.rfind("--", 0) == 0) {
            throw UsageError("Unknown option: " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) throw UsageError("mosaic takes ORIGINAL and OUTPUT");
    if (parsed.tile_sources.empty()) throw UsageError("mosaic needs --tiles");
    if (!parsed.size_given) throw UsageError("mosaic needs --size WIDTHxHEIGHT");
    parsed.original = positional[0];
    parsed.output = positional[1];
    return parsed;
}

// The program's own checks and words, where a question would be asked there: stop instead.
void check(const Mosaic_Arguments& args, const std::vector<std::string>& tiles) {
    const auto fail = [](const std::string& message) { throw std::runtime_error(message); };
    if (!Has_Bitmap_Extension(args.original)) fail(std::string(tiles::kOnly_Bitmap_Files_Message));
    if (!std::filesystem::is_regular_file(args.original)) fail("Error: The Original File name does NOT exist.");
    if (tiles.empty()) fail("Error: There are no Tiles in the list to use in the Mosaic !");
    int missing = 0;
    for (const std::string& tile : tiles) missing += std::filesystem::is_regular_file(tile) ? 0 : 1;
    if (missing == static_cast<int>(tiles.size()))
        fail("Error: None of the " + std::to_string(missing) + " in the Tiles List could be found !");
    if (missing > 0) fail("Error: " + std::to_string(missing) + " tiles in the Tiles List could not be found !");
    if (!Has_Bitmap_Extension(args.output)) fail(std::string(tiles::kOnly_Bitmap_Files_Message));
    if (const auto problem = Grid_Problem(args.settings)) fail(*problem);
}

}  // namespace

int run_mosaic(const std::vector<std::string>& args) {
    const Mosaic_Arguments parsed = parse(args);
    const std::vector<std::string> tiles = Expand_Tile_Sources(parsed.tile_sources);
    check(parsed, tiles);

    Twister_Random_Source random;
    random.Seed(parsed.seed_given ? parsed.seed
                                  : static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    Terminal_Progress progress(stderr, parsed.quiet || !Stderr_Is_Terminal());
    Build_Mosaic(parsed.original, parsed.output, tiles, parsed.settings, random, progress);
    return 0;
}

}  // namespace tilvane::cli
