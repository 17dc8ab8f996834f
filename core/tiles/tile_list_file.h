#pragma once
// The tile list file: one item per line, in list order, no header. Read with CR, LF or CRLF line
// ends, as UTF-8 or, for older files, in the system's single-byte code page; written as UTF-8 with
// CRLF after every item.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "support/utf8.h"
#include "tiles/file_names.h"
#include "tiles/tile_list.h"

namespace tilvane::tiles {

// Kept in the program's directory.
inline constexpr std::string_view kTile_List_File_Name = "Mosaic_Tiles.lst";

// The items held by the file's bytes. A zero byte ends the text; a last line without a line
// break counts; an empty line gives an empty item. The text is read as File_Text_As_Utf8 reads it:
// an older list in the code page goes through decode_legacy.
[[nodiscard]] std::vector<std::string> Parse_Tile_List(std::span<const std::uint8_t> bytes,
                                                       const Legacy_Text_Decoder& decode_legacy = {});

// Every item followed by CR LF; no items give no bytes.
[[nodiscard]] std::vector<std::uint8_t> Serialise_Tile_List(const std::vector<std::string>& items);

// Clears the list, then, if the file exists, reads it whole (as Parse_Tile_List does) and inserts
// every line at its sorted place, duplicates included. Throws Error::Cannot_Open(path) when
// an existing file cannot be read; the list is then empty.
void Load_Tile_List_File(Tile_List& list, const std::string& path, const Path_Exists& file_exists,
                         const Legacy_Text_Decoder& decode_legacy);

// Writes the list through a temporary file renamed over path, so a failure leaves the old file
// whole. Throws Error::Cannot_Create(path).
void Save_Tile_List_File(const Tile_List& list, const std::string& path);

}  // namespace tilvane::tiles
