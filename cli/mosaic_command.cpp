#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>

#include "arguments.h"
#include "commands.h"
#include "file_refusals.h"
#include "mosaic/mosaic_inputs.h"
#include "mosaic/mosaic_option_table.h"
#include "mosaic/placements_file.h"
#include "support/error.h"
#include "shell/input_check_text.h"
#include "support/file_io.h"
#include "support/native_path.h"
#include "terminal_progress.h"
#include "tile_sources.h"

namespace tilvane::cli {
namespace {

std::uint64_t Parse_Seed(const std::string& text) {
    std::uint64_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (error != std::errc{} || end != text.data() + text.size()) throw Usage_Error("--seed takes a whole number, not \"" + text + "\"");
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
    std::string from_placements;  // the record to draw again, if any
    bool quality_given = false;
};

// The switch of every mosaic option the tool takes, each setting its option; given collects the
// switches the command line held.
std::vector<Option> Mosaic_Option_Switches(Mosaic_Options& options, std::set<std::string_view>& given) {
    std::vector<Option> switches;
    for (const Mosaic_Option_Row& row : kMosaic_Option_Rows) {
        if (row.command_switch.empty()) continue;
        const std::string name(row.command_switch);
        auto set = [&options, &given, &row](int value) {
            Set_Option_Value(options, row, value);
            given.insert(row.command_switch);
        };
        switch (row.form) {
            case Option_Form::Number:
                switches.push_back({row.command_switch, Option::One_Value,
                                    [=](const std::string& value) { set(Parse_Number(value, name, row.range)); }});
                break;
            case Option_Form::Flag:
                switches.push_back({row.command_switch, Option::Nothing, [=](const std::string&) { set(1); }});
                break;
            case Option_Form::Word:
                switches.push_back({row.command_switch, Option::One_Value, [=, &row](const std::string& value) {
                                        const std::optional<int> word = row.value_of_word(value);
                                        if (!word) throw Usage_Error(name + " takes " + row.words_text() + ", not \"" + value + "\"");
                                        set(*word);
                                    }});
                break;
        }
    }
    return switches;
}

Mosaic_Arguments Parse_Mosaic_Arguments(const std::vector<std::string>& args) {
    Mosaic_Arguments parsed;
    Mosaic_Settings& settings = parsed.settings;
    std::set<std::string_view> given;
    std::vector<Option> switches = Mosaic_Option_Switches(settings, given);
    switches.insert(switches.end(), {
                  {"--tiles", Option::Values, [&](const std::string& value) { parsed.tile_sources.push_back(value); }},
                  {"--size", Option::One_Value,
                   [&](const std::string& value) {
                       std::tie(settings.tile_width, settings.tile_height) = Parse_Pair(value, "--size", kMosaic_Tile_Size_Range);
                       parsed.size_given = true;
                   }},
                  {"--gap", Option::One_Value,
                   [&](const std::string& value) {
                       std::tie(settings.gap_horizontal, settings.gap_vertical) = Parse_Pair(value, "--gap", kTile_Gap_Range);
                       settings.gap = true;
                   }},
                  {"--crop", Option::Nothing, [&](const std::string&) { settings.mode = Fitting_Mode::Truncate_Crop; }},
                  {"--seed", Option::One_Value,
                   [&](const std::string& value) {
                       parsed.seed = Parse_Seed(value);
                       parsed.seed_given = true;
                   }},
                  {"--placements", Option::One_Value,
                   [&](const std::string& value) {
                       if (value.empty()) throw Usage_Error("--placements needs a FILE name");
                       settings.write_placements = true;
                       settings.placements = value;
                   }},
                  {"--from-placements", Option::One_Value,
                   [&](const std::string& value) {
                       if (value.empty()) throw Usage_Error("--from-placements needs a FILE name");
                       parsed.from_placements = value;
                   }},
                  {"--quiet", Option::Nothing, [&](const std::string&) { parsed.quiet = true; }},
              });
    const std::vector<std::string> positional = Parse_Arguments(args, switches);
    parsed.quality_given = given.contains("--quality");
    if (positional.size() != 2) throw Usage_Error("mosaic takes ORIGINAL and OUTPUT");
    if (parsed.tile_sources.empty()) throw Usage_Error("mosaic needs --tiles");
    if (!parsed.size_given) throw Usage_Error("mosaic needs --size WIDTHxHEIGHT");
    settings.formats = Picture_Formats::By_Extension;
    parsed.original = positional[0];
    parsed.output = positional[1];
    if (!parsed.output.empty()) Check_Output_Format(parsed.output, parsed.quality_given, settings.lossless);
    return parsed;
}

// The problems that the command line alone shows, whatever the files: usage errors.
bool Is_Usage_Problem(Mosaic_Input_Problem problem) {
    switch (problem) {
        case Mosaic_Input_Problem::Original_Blank:
        case Mosaic_Input_Problem::Original_Not_Bitmap:
        case Mosaic_Input_Problem::Output_Blank:
        case Mosaic_Input_Problem::Output_Not_Bitmap:
        case Mosaic_Input_Problem::Zero_Tile_Width:
        case Mosaic_Input_Problem::Zero_Tile_Height: return true;
        default: return false;
    }
}

// The program's words, then which tiles are missing: the first few and a count of the rest.
std::string Problem_Text(const Mosaic_Input_Check& checked, const std::vector<std::string>& tiles) {
    constexpr std::size_t kNamed = 5;
    std::string text = shell::Mosaic_Input_Text(checked);
    const std::size_t missing = checked.missing_tiles.size();
    for (std::size_t i = 0; i < std::min(missing, kNamed); ++i)
        text += "\n  " + tiles[static_cast<std::size_t>(checked.missing_tiles[i])];
    if (missing > kNamed) text += "\n  ... and " + std::to_string(missing - kNamed) + " more";
    return text;
}

// The program's checks and words; where the program would ask a question about missing tiles,
// stop instead. An existing output is replaced, as a command line expects. An output or
// placements file that cannot be written fails here, not after the build.
// A tile that a library serves at the tile size needs no file of its own.
Mosaic_Input_Check Check_Arguments(const Mosaic_Arguments& args, const std::vector<std::string>& tiles,
                                   const Stored_Tiles* stored) {
    Refuse_Folder_As_Picture(args.original);
    const Mosaic_Settings& settings = args.settings;
    const Mosaic_Input_Check checked =
        Check_Mosaic_Inputs({args.original, tiles, args.output, settings}, "", [&](const std::string& path) {
            if (stored && stored->Look(path, settings.tile_width, settings.tile_height, settings.mode)) return true;
            std::error_code ec;
            return std::filesystem::is_regular_file(Native_Path(path), ec);
        });
    if (Is_Usage_Problem(checked.problem)) throw Usage_Error(shell::Mosaic_Input_Text(checked));
    if (checked.problem != Mosaic_Input_Problem::None && checked.problem != Mosaic_Input_Problem::Output_Exists)
        throw std::runtime_error(Problem_Text(checked, tiles));
    const std::string& placements = args.settings.placements;
    if (!placements.empty()) Refuse_Placements_Over_Inputs(placements, checked.original, checked.output, tiles);
    Check_May_Save(checked.output);
    if (!placements.empty()) Check_May_Save(placements);
    return checked;
}

}  // namespace

int Run_Mosaic(const std::vector<std::string>& args) {
    const Mosaic_Arguments parsed = Parse_Mosaic_Arguments(args);
    // Every tile is read once, on every processor, before the first cell, so that a picture found
    // in a folder that cannot be read is passed over rather than stopping the build halfway.
    Build_Context context{.reading = Tile_Reading::First};
    std::vector<std::string> tiles;
    Picture_Sources sources = Expand_Picture_Sources(parsed.tile_sources);
    for (Picture_Source& source : sources.pictures) {
        tiles.push_back(std::move(source.path));
        context.found_in_folder.push_back(source.from_folder);
    }
    context.stored = sources.libraries.get();
    const Mosaic_Input_Check checked = Check_Arguments(parsed, tiles, context.stored);
    int passed_over = 0;
    Terminal_Progress progress(stderr, parsed.quiet || !Stderr_Is_Terminal());
    context.passed_over = [&](std::size_t tile, const std::exception& error) {
        progress.Break_Line();
        Tell_Passed_Over(tiles[tile], error);
        ++passed_over;
    };

    Twister_Random_Source random;
    random.Seed(parsed.seed_given ? parsed.seed
                                  : static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    std::optional<Given_Placements> given;
    if (!parsed.from_placements.empty()) {
        const std::vector<std::uint8_t> text = Read_Whole_File(parsed.from_placements);
        given = Read_Placements_Csv(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), tiles,
                                    parsed.from_placements);
    }
    context.given = given ? &*given : nullptr;
    try {
        Build_Mosaic({checked.original, tiles, checked.output, parsed.settings}, random, progress, context);
    } catch (const Error& error) {
        progress.Break_Line();
        Tell_Passed_Over_Count(passed_over + sources.broken_links, sources.unreadable_folders);
        if (error.Kind() == Error_Kind::Uses_Too_Few)
            throw Usage_Error("--max-uses " + std::to_string(parsed.settings.max_uses) + " cannot cover every cell with " +
                              "the tiles that could be read; the fewest that can is " + std::to_string(error.Number()));
        throw;
    } catch (...) {
        progress.Break_Line();
        Tell_Passed_Over_Count(passed_over + sources.broken_links, sources.unreadable_folders);
        throw;
    }
    Tell_Passed_Over_Count(passed_over + sources.broken_links, sources.unreadable_folders);
    return 0;
}

}  // namespace tilvane::cli
