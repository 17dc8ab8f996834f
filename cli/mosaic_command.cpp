#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "arguments.h"
#include "commands.h"
#include "mosaic/mosaic_inputs.h"
#include "mosaic/placements_file.h"
#include "shell/input_check_text.h"
#include "support/file_io.h"
#include "terminal_progress.h"
#include "tile_sources.h"

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
    std::string placements;  // where to write the record of placements, if anywhere
    Save_Options save;
};

Mosaic_Arguments parse(const std::vector<std::string>& args) {
    Mosaic_Arguments parsed;
    Argument_Walk walk(args);
    const std::vector<std::string> positional = walk.Positional([&](const std::string& option) {
        if (option == "--tiles") {
            while (walk.Next_Is_Value()) parsed.tile_sources.push_back(walk.Value());
        } else if (option == "--size") {
            std::tie(parsed.settings.tile_width, parsed.settings.tile_height) = Parse_Pair(walk.Value(), option);
            parsed.size_given = true;
        } else if (option == "--gap") {
            std::tie(parsed.settings.gap_horizontal, parsed.settings.gap_vertical) = Parse_Pair(walk.Value(), option);
            parsed.settings.gap = true;
        } else if (option == "--crop") {
            parsed.settings.mode = FittingMode::TruncateCrop;
        } else if (option == "--seed") {
            parsed.seed = parse_seed(walk.Value());
            parsed.seed_given = true;
        } else if (option == "--choose") {
            const std::optional<Tile_Choice> choice = Choice_Of_Word(walk.Value());
            if (!choice) throw UsageError("--choose takes random, shuffle or best");
            parsed.settings.choice = *choice;
        } else if (option == "--min-distance") {
            parsed.settings.min_distance = Parse_Number(walk.Value(), option);
        } else if (option == "--scale") {
            parsed.settings.scale = Parse_Number(walk.Value(), option, 1, Mosaic_Settings::kLargestScale);
        } else if (option == "--placements") {
            parsed.placements = walk.Value();
            if (parsed.placements.empty()) throw UsageError("--placements needs a FILE name");
        } else if (option == "--quality") {
            parsed.save.quality = Parse_Quality(walk.Value());
        } else if (option == "--quiet") {
            parsed.quiet = true;
        } else {
            return false;
        }
        return true;
    });
    if (positional.size() != 2) throw UsageError("mosaic takes ORIGINAL and OUTPUT");
    if (parsed.tile_sources.empty()) throw UsageError("mosaic needs --tiles");
    if (!parsed.size_given) throw UsageError("mosaic needs --size WIDTHxHEIGHT");
    parsed.original = positional[0];
    parsed.output = positional[1];
    return parsed;
}

// The program's checks and words; where the program would ask a question about missing tiles,
// stop instead. An existing output is replaced, as a command line expects.
Mosaic_Input_Check check(const Mosaic_Arguments& args, const std::vector<std::string>& tiles) {
    const Mosaic_Input_Check checked =
        Check_Mosaic_Inputs({args.original, tiles, args.output, args.settings, true}, "", [](const std::string& path) {
            std::error_code ec;
            return std::filesystem::is_regular_file(path, ec);
        });
    if (checked.problem != Mosaic_Input_Problem::None && checked.problem != Mosaic_Input_Problem::Output_Exists)
        throw std::runtime_error(shell::Mosaic_Input_Text(checked));
    return checked;
}

}  // namespace

int run_mosaic(const std::vector<std::string>& args) {
    const Mosaic_Arguments parsed = parse(args);
    const std::vector<Picture_Source> sources = Expand_Picture_Sources(parsed.tile_sources);
    std::vector<std::string> tiles;
    for (const Picture_Source& source : sources) tiles.push_back(source.path);
    const Mosaic_Input_Check checked = check(parsed, tiles);
    // Pictures found in folders are tried first, on every processor, so that one that cannot be
    // read is passed over rather than stopping the build halfway.
    if (std::any_of(sources.begin(), sources.end(), [](const Picture_Source& s) { return s.from_folder; })) {
        const Load_Hint hint = parsed.settings.mode == FittingMode::ExpandShrink
                                   ? Load_Hint{parsed.settings.tile_width, parsed.settings.tile_height}
                                   : Load_Hint{};
        const std::vector<std::size_t> readable = Work_Through_Pictures(sources, "Reading tile", parsed.quiet, [&](std::size_t i) {
            if (sources[i].from_folder) (void)Load_Picture(sources[i].path, hint);
        });
        tiles.clear();
        for (const std::size_t i : readable) tiles.push_back(sources[i].path);
        if (tiles.empty()) {
            Mosaic_Input_Check none = checked;
            none.problem = Mosaic_Input_Problem::No_Tile_Found;
            throw std::runtime_error(shell::Mosaic_Input_Text(none));
        }
    }

    Twister_Random_Source random;
    random.Seed(parsed.seed_given ? parsed.seed
                                  : static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    Terminal_Progress progress(stderr, parsed.quiet || !Stderr_Is_Terminal());
    std::vector<Tile_Placement> placements;
    Build_Mosaic(checked.original, checked.output, tiles, parsed.settings, random, progress, 0,
                 parsed.placements.empty() ? nullptr : &placements, {true, parsed.save});
    if (!parsed.placements.empty()) {
        const std::string csv = Placements_Csv(placements, tiles);
        write_file_atomically(parsed.placements, std::vector<std::uint8_t>(csv.begin(), csv.end()));
    }
    return 0;
}

}  // namespace tilvane::cli
