// tilvane-cli tiles: photos made into tiles of one size for the program, with their list file.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

#include "arguments.h"
#include "codecs/bmp/bmp_file.h"
#include "codecs/picture_file.h"
#include "commands.h"
#include "image/raster_drawing.h"
#include "support/error.h"
#include "support/file_io.h"
#include "support/native_path.h"
#include "support/same_file.h"
#include "output_folder.h"
#include "tile_sources.h"
#include "tiles/file_names.h"
#include "tiles/tile_list_file.h"

namespace tilvane::cli {
namespace {

struct Tiles_Arguments {
    std::vector<std::string> sources;
    std::string folder;
    int width = 0;
    int height = 0;
    bool crop = false;
    bool quiet = false;
};

Tiles_Arguments Parse_Tiles_Arguments(const std::vector<std::string>& args) {
    Tiles_Arguments parsed;
    bool size_given = false;
    std::vector<std::string> positional = Parse_Arguments(
        args, {{"--size", Option::One_Value,
                [&](const std::string& value) {
                    std::tie(parsed.width, parsed.height) = Parse_Pair(value, "--size", {1, kLargest_Field_Value});
                    size_given = true;
                }},
               {"--crop", Option::Nothing, [&](const std::string&) { parsed.crop = true; }},
               {"--quiet", Option::Nothing, [&](const std::string&) { parsed.quiet = true; }}});
    if (positional.size() < 2) throw Usage_Error("tiles takes SOURCE... and FOLDER");
    if (!size_given) throw Usage_Error("tiles needs --size WIDTHxHEIGHT");
    if (positional.back().empty()) throw Usage_Error("tiles needs a FOLDER name, not an empty one");
    parsed.folder = positional.back();
    positional.pop_back();
    parsed.sources = std::move(positional);
    return parsed;
}

// The picture made exactly width x height: stretched whole, or, cropping, its largest centred
// part of the tile's proportions stretched.
Raster_Image Fit_Exactly(const Raster_Image& picture, int width, int height, bool crop) {
    Raster_Image tile(width, height);
    const Rect whole = Rect::At(0, 0, width, height);
    if (!crop) {
        Stretch_Draw(tile, whole, picture);
        return tile;
    }
    const std::int64_t w = picture.Width();
    const std::int64_t h = picture.Height();
    const int part_width = static_cast<int>(w * height > h * width ? std::max<std::int64_t>(1, h * width / height) : w);
    const int part_height = static_cast<int>(w * height > h * width ? h : std::max<std::int64_t>(1, w * height / width));
    Raster_Image part(part_width, part_height);
    Copy_Rect(part, Rect::At(0, 0, part_width, part_height), picture,
              Rect::At(static_cast<int>(w - part_width) / 2, static_cast<int>(h - part_height) / 2, part_width, part_height));
    Stretch_Draw(tile, whole, part);
    return tile;
}

// A tile's file name: its source's name without the extension, made safe for Windows and, when
// another source of the same name (in any letter case) came first, numbered.
std::string Tile_Name(const std::string& source, std::set<std::string>& taken) {
    std::string stem(tilvane::File_Name_Part(source.substr(source.find_last_of('/') + 1)));
    stem = stem.substr(0, stem.size() - tilvane::Extension_Part(stem).size());
    for (char& c : stem)
        if (static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) c = '_';
    // A name starting with "." would be hidden, from the folder walk as from the user.
    stem.erase(0, stem.find_first_not_of('.'));
    if (stem.empty()) stem = "tile";
    std::string name = stem + ".bmp";
    for (int n = 2; !taken.insert(tilvane::Ascii_Upper(name)).second; ++n) name = stem + " (" + std::to_string(n) + ").bmp";
    return name;
}

// Leaves out the pictures already in the tiles' folder (the tiles of an earlier run, when the
// folder lies inside a source) and the second of any picture named twice.
void Leave_Out_Own_And_Repeated(std::vector<Picture_Source>& pictures, const std::string& folder) {
    const Same_File_As in_folder(folder);
    std::map<std::string, bool> folder_is_it;  // by a picture's folder, asked once each
    std::set<std::string> seen;
    std::erase_if(pictures, [&](const Picture_Source& s) {
        const std::string parent = Utf8_Path(Native_Path(s.path).parent_path());
        const auto [own, first_asked] = folder_is_it.try_emplace(parent, false);
        if (first_asked) own->second = in_folder(parent.empty() ? "." : parent);
        return own->second || !seen.insert(s.path).second;
    });
}

}  // namespace

int Run_Tiles(const std::vector<std::string>& args) {
    const Tiles_Arguments parsed = Parse_Tiles_Arguments(args);
    Picture_Sources sources = Expand_Picture_Sources(parsed.sources);
    Leave_Out_Own_And_Repeated(sources.pictures, parsed.folder);
    if (sources.pictures.empty()) throw std::runtime_error("tiles found no pictures in the SOURCE given, outside FOLDER");
    // A picture named itself that is not there stops the run before any tile is made.
    for (const Picture_Source& source : sources.pictures) {
        std::error_code ec;
        if (!source.from_folder && !std::filesystem::exists(Native_Path(source.path), ec))
            throw Error::Cannot_Open(source.path, std::make_error_code(std::errc::no_such_file_or_directory));
    }

    std::set<std::string> taken{tilvane::Ascii_Upper(std::string(tiles::kTile_List_File_Name))};
    std::vector<std::string> names;
    for (const Picture_Source& source : sources.pictures) names.push_back(Tile_Name(source.path, taken));
    const std::filesystem::path folder = Native_Path(parsed.folder);
    const std::string in_folder = Utf8_Path(folder / "");
    In_Output_Folder(folder, [&] {
        const std::vector<std::size_t> made = Work_Through_Pictures(sources, "Tile", parsed.quiet, [&](std::size_t i) {
            // A JPEG decodes straight to the smallest scale that still covers the tile.
            const Raster_Image picture = Load_Picture(sources.pictures[i].path, {parsed.width, parsed.height});
            Save_Bitmap_File(Fit_Exactly(picture, parsed.width, parsed.height, parsed.crop), in_folder + names[i], Flush_To_Disk::No);
        });
        if (made.empty()) throw std::runtime_error("tiles made no tile: none of the pictures could be read");
        std::vector<std::string> listed;
        for (const std::size_t i : made) listed.push_back(names[i]);
        Write_File_Atomically(in_folder + std::string(tiles::kTile_List_File_Name), tiles::Serialise_Tile_List(listed));
    });
    return 0;
}

}  // namespace tilvane::cli
