#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mosaic/placement.h"

namespace tilvane {

class Replacing_File;

// The record of where each tile went, as comma-separated text: the header line
// "column,row,x,y,width,height,tile", then one line per placement with the tile's path as the
// list gave it, in double quotes (inner ones doubled) when it holds a comma, a quote or a line
// break or starts with a space. With mirrored, every line ends with one more column, "mirrored",
// 1 for a tile drawn mirrored and 0 for one drawn as it is. Lines end with CR LF.
std::string Placements_Csv(const std::vector<Tile_Placement>& placements, const std::vector<std::string>& tiles,
                           bool mirrored = false);

// Writes that text to path as the placements come, holding a few hundred kilobytes of it at
// most. The text goes to a temporary file beside path (Replacing_File), so that the record can be
// finished along with its mosaic and then put in place; dropped before Commit, it leaves path as
// it was. Errors are Replacing_File's.
class Placements_Writer {
public:
    Placements_Writer(const std::string& path, const std::vector<std::string>& tiles, bool mirrored);
    ~Placements_Writer();
    Placements_Writer(const Placements_Writer&) = delete;
    Placements_Writer& operator=(const Placements_Writer&) = delete;

    void Add(const Tile_Placement& placement);
    // Writes what is held and flushes the file to the disk: only putting it in place is left.
    void Finish();
    void Commit();

private:
    void Write_Held();

    const std::vector<std::string>& tiles_;
    bool mirrored_;
    std::unique_ptr<Replacing_File> file_;
    std::string held_;
};

// Reads such a record (written by the tool, edited by hand, saved by a spreadsheet or made by
// another program) for drawing it again with the list tiles: each tile is found by its path as
// the list gives it. A UTF-8 byte-order mark, lines ending with LF or CR alone, spaces after the
// commas and a header in any case are read; empty lines are passed over. A line that is not a
// placement or a header of another shape throws Error Placement_Not_Valid, one naming a tile not
// in tiles Placement_Tile_Unknown, with the line's number, counting the lines of the file. The
// x, y, width and height of each cell are kept for the build to check against its grid.
Given_Placements Read_Placements_Csv(std::string_view text, const std::vector<std::string>& tiles, const std::string& path);

// Where the window writes a mosaic's record: beside it, with ".csv" for its extension
// ("C:\Pictures\My_Mosaic.bmp" gives "C:\Pictures\My_Mosaic.csv").
std::string Placements_File_Beside(std::string_view mosaic);

}  // namespace tilvane
