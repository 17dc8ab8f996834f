#include "tiles/tile_list_file.h"

#include <algorithm>

#include "support/file_io.h"

namespace tilvane::tiles {
namespace {

// A line of nothing but blanks names no file, here or in any folder.
bool Is_Blank(std::string_view entry) { return entry.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace

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

bool Is_Absolute_Entry(std::string_view entry) {
    const char letter = entry.empty() ? '\0' : static_cast<char>(entry[0] | 0x20);
    const bool drive = entry.size() >= 2 && entry[1] == ':' && letter >= 'a' && letter <= 'z';
    return drive || entry.starts_with('\\') || entry.starts_with('/');
}

std::string_view List_Folder(std::string_view list_path) {
    const std::size_t last = list_path.find_last_of("\\/");
    if (last != std::string_view::npos) return list_path.substr(0, last + 1);
    return Is_Absolute_Entry(list_path) ? list_path.substr(0, 2) : std::string_view{};  // "C:list.lst"
}

std::string Resolve_Entry(std::string_view entry, std::string_view list_folder) {
    if (Is_Blank(entry) || Is_Absolute_Entry(entry)) return std::string(entry);
    return std::string(list_folder).append(entry);
}

std::string Relative_Entry(std::string_view item, std::string_view list_folder) {
    if (list_folder.empty() || !item.starts_with(list_folder)) return std::string(item);
    const std::string_view rest = item.substr(list_folder.size());
    // What would read back as another file stays whole.
    return rest.empty() || Is_Absolute_Entry(rest) ? std::string(item) : std::string(rest);
}

std::vector<std::string> Read_Tile_List_File(const std::string& path, const Legacy_Text_Decoder& decode_legacy) {
    std::vector<std::string> items = Parse_Tile_List(Read_Whole_File(path), decode_legacy);
    for (std::string& item : items) item = Resolve_Entry(item, List_Folder(path));
    return items;
}

bool Is_Tile_List_File_Name(std::string_view path) { return Ascii_Upper(Extension_Part(path)) == ".LST"; }

std::vector<std::string> Read_Listed_Tiles(const std::string& path, const Legacy_Text_Decoder& decode_legacy) {
    std::vector<std::string> items = Read_Tile_List_File(path, decode_legacy);
    std::erase_if(items, Is_Blank);
    return items;
}

void Load_Tile_List_File(Tile_List& list, const std::string& path, const Path_Exists& file_exists,
                         const Legacy_Text_Decoder& decode_legacy) {
    list.Clear();
    if (!file_exists(path)) return;
    // Read whole before the first item goes in, so a failed read leaves the list empty.
    list.Insert_Items(Read_Tile_List_File(path, decode_legacy));
}

void Save_Tile_List_File(const Tile_List& list, const std::string& path) {
    std::vector<std::string> items = list.Items();
    for (std::string& item : items) item = Relative_Entry(item, List_Folder(path));
    Write_File_Atomically(path, Serialise_Tile_List(items));
}

}  // namespace tilvane::tiles
