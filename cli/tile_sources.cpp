#include "tile_sources.h"

#include <algorithm>
#include <filesystem>

#include "support/error.h"
#include "support/file_io.h"
#include "tiles/file_names.h"
#include "tiles/tile_list_file.h"

namespace tilvane::cli {
namespace {

namespace fs = std::filesystem;

bool is_tile_list_file(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return extension == ".lst";
}

std::vector<std::string> bitmaps_in_folder(const fs::path& folder) {
    std::vector<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && tiles::Has_Bitmap_Extension(entry.path().filename().string()))
            found.push_back(entry.path().string());
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

std::vector<std::string> Expand_Tile_Sources(const std::vector<std::string>& sources) {
    std::vector<std::string> tiles;
    for (const std::string& source : sources) {
        std::error_code ec;
        if (fs::is_directory(source, ec)) {
            const std::vector<std::string> found = bitmaps_in_folder(source);
            tiles.insert(tiles.end(), found.begin(), found.end());
        } else if (is_tile_list_file(source)) {
            const std::vector<std::string> listed = tiles::Parse_Tile_List(read_whole_file(source));
            tiles.insert(tiles.end(), listed.begin(), listed.end());
        } else {
            tiles.push_back(source);
        }
    }
    return tiles;
}

}  // namespace tilvane::cli
