#include "tiles/tile_list_file.h"

#include <algorithm>

#include "support/file_io.h"

namespace tilvane::tiles {

std::vector<std::string> Parse_Tile_List(std::span<const std::uint8_t> bytes,
                                         const Legacy_Text_Decoder& decode_legacy) {
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::string text = File_Text_As_Utf8(raw.substr(0, raw.find('\0')), decode_legacy);
    const auto end = text.end();
    std::vector<std::string> items;
    for (auto line = text.begin(); line != end;) {
        const auto line_end = std::find_if(line, end, [](char c) { return c == '\r' || c == '\n'; });
        items.emplace_back(line, line_end);
        line = line_end;
        if (line == end) break;
        const bool carriage_return = *line++ == '\r';
        if (carriage_return && line != end && *line == '\n') ++line;  // CR LF is one line break
    }
    return items;
}

std::vector<std::uint8_t> Serialise_Tile_List(const std::vector<std::string>& items) {
    std::size_t size = 0;
    for (const std::string& item : items) size += item.size() + 2;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(size);
    for (const std::string& item : items) {
        bytes.insert(bytes.end(), item.begin(), item.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

void Load_Tile_List_File(Tile_List& list, const std::string& path, const Path_Exists& file_exists,
                         const Legacy_Text_Decoder& decode_legacy) {
    list.Clear();
    if (!file_exists(path)) return;
    // Read whole before the first item goes in, so a failed read leaves the list empty.
    const std::vector<std::uint8_t> bytes = read_whole_file(path);
    list.Insert_Items(Parse_Tile_List(bytes, decode_legacy));
}

void Save_Tile_List_File(const Tile_List& list, const std::string& path) {
    write_file_atomically(path, Serialise_Tile_List(list.Items()));
}

}  // namespace tilvane::tiles
