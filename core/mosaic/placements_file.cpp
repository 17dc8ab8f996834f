#include "placements_file.h"

namespace tilvane {
namespace {

std::string Csv_Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::string Placements_Csv(const std::vector<Tile_Placement>& placements, const std::vector<std::string>& tiles) {
    std::string csv = "column,row,x,y,width,height,tile\r\n";
    for (const Tile_Placement& p : placements) {
        for (int value : {p.column, p.row, p.area.left, p.area.top, p.area.width(), p.area.height()})
            csv += std::to_string(value) + ',';
        csv += Csv_Field(tiles[static_cast<std::size_t>(p.tile)]) + "\r\n";
    }
    return csv;
}

}  // namespace tilvane
