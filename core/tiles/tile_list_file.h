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

// Entries may name their files relative to the folder that holds the list file, as playlists do,
// so that a list shipped beside its tiles works wherever the folder is put and whatever the
// current folder is. An entry is absolute when it starts with "\\" or "/" (a root or a UNC
// name) or with a drive letter and ":"; an entry of nothing but blanks stays as it is.
[[nodiscard]] bool Is_Absolute_Entry(std::string_view entry);
// The folder of the list file at list_path, its last separator ("\\" or "/") included; empty
// for a bare file name.
[[nodiscard]] std::string_view List_Folder(std::string_view list_path);
// A relative entry joined to list_folder; any other entry as it is.
[[nodiscard]] std::string Resolve_Entry(std::string_view entry, std::string_view list_folder);
// The inverse when saving: an item in list_folder (or below it) is written relative to it, so a
// relative list stays relative; every other item as it is.
[[nodiscard]] std::string Relative_Entry(std::string_view item, std::string_view list_folder);

// The items of the list file at path, read whole (as Parse_Tile_List does), relative entries
// resolved. Throws Error::Cannot_Open(path) when it cannot be read.
[[nodiscard]] std::vector<std::string> Read_Tile_List_File(const std::string& path,
                                                           const Legacy_Text_Decoder& decode_legacy = {});

// Whether a file name names a tile list file: its extension is ".lst" in any letter case.
[[nodiscard]] bool Is_Tile_List_File_Name(std::string_view path);
// The tiles that the list file at path names, as Read_Tile_List_File reads them less the blank
// lines (often the last), which name no tile: what adding a list to another takes.
[[nodiscard]] std::vector<std::string> Read_Listed_Tiles(const std::string& path,
                                                         const Legacy_Text_Decoder& decode_legacy = {});

// Clears the list, then, if the file exists, reads it as Read_Tile_List_File does and inserts
// every line at its sorted place, duplicates included. Throws Error::Cannot_Open(path) when
// an existing file cannot be read; the list is then empty.
void Load_Tile_List_File(Tile_List& list, const std::string& path, const Path_Exists& file_exists,
                         const Legacy_Text_Decoder& decode_legacy);

// Writes the list through a temporary file renamed over path, so a failure leaves the old file
// whole; items in the list file's folder are written relative to it (Relative_Entry). Throws Error::Cannot_Create(path).
void Save_Tile_List_File(const Tile_List& list, const std::string& path);

}  // namespace tilvane::tiles
