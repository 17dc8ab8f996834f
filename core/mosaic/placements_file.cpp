#include "placements_file.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <unordered_map>

#include "support/error.h"
#include "support/file_io.h"
#include "support/path_text.h"

namespace tilvane {
namespace {

constexpr std::string_view kHeader = "column,row,x,y,width,height,tile";
constexpr std::string_view kMirrored_Header = "column,row,x,y,width,height,tile,mirrored";
constexpr std::string_view kByte_Order_Mark = "\xEF\xBB\xBF";
// The text held before it is written to the file.
constexpr std::size_t kHeld_Bytes = std::size_t{256} << 10;

// Leading spaces are quoted too, as a reader passes over spaces after a comma.
std::string Csv_Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos && !text.starts_with(' ')) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

// The records of comma-separated text, one at a time, with the line each starts on.
class Csv_Reader {
public:
    explicit Csv_Reader(std::string_view text) : text_(text) {}

    int Line() const { return record_line_; }

    // The next record's fields; nullopt at the end. A quote left open, or a quoted field with
    // more after its closing quote, gives no fields at all.
    std::optional<std::vector<std::string>> Next() {
        while (Line_End_Length() > 0) Skip_Line_End();
        if (at_ >= text_.size()) return std::nullopt;
        record_line_ = line_;
        std::vector<std::string> fields(1);
        Skip_Spaces();
        while (at_ < text_.size()) {
            if (Line_End_Length() > 0) {
                Skip_Line_End();
                return fields;
            }
            const char c = text_[at_++];
            if (c == ',') {
                fields.emplace_back();
                Skip_Spaces();
            } else if (c == '"' && fields.back().empty()) {
                if (!Quoted_Into(fields.back())) {
                    Skip_Rest_Of_Line();
                    return std::vector<std::string>{};
                }
            } else {
                fields.back() += c;
            }
        }
        return fields;
    }

private:
    // CR LF, LF or CR alone (as some spreadsheets end lines) at the reading place: 2, 1 or 0.
    std::size_t Line_End_Length() const {
        if (at_ >= text_.size() || (text_[at_] != '\r' && text_[at_] != '\n')) return 0;
        return text_.substr(at_, 2) == "\r\n" ? 2 : 1;
    }
    void Skip_Line_End() {
        at_ += Line_End_Length();
        ++line_;
    }
    void Skip_Spaces() {
        while (at_ < text_.size() && text_[at_] == ' ') ++at_;
    }
    void Skip_Rest_Of_Line() {
        while (at_ < text_.size() && Line_End_Length() == 0) ++at_;
        if (at_ < text_.size()) Skip_Line_End();
    }
    // The rest of a quoted field, up to its closing quote, which must end the field.
    bool Quoted_Into(std::string& field) {
        for (; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '\n' || (c == '\r' && text_.substr(at_, 2) != "\r\n")) ++line_;
            if (c != '"') {
                field += c;
                continue;
            }
            if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
                field += '"';
                ++at_;
                continue;
            }
            ++at_;
            return at_ == text_.size() || text_[at_] == ',' || Line_End_Length() > 0;
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
    int record_line_ = 1;
};

std::optional<int> Whole_Number(const std::string& field) {
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc{} || end != field.data() + field.size() || field.empty()) return std::nullopt;
    return value;
}

bool Same_Ignoring_Case(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string Header_Line(bool mirrored) {
    return std::string(mirrored ? kMirrored_Header : kHeader) + "\r\n";
}

void Append_Line(std::string& csv, const Tile_Placement& p, const std::vector<std::string>& tiles, bool mirrored) {
    for (int value : {p.column, p.row, p.area.left, p.area.top, p.area.Width(), p.area.Height()})
        csv += std::to_string(value) + ',';
    csv += Csv_Field(tiles[static_cast<std::size_t>(p.tile)]) + (mirrored ? (p.mirrored ? ",1" : ",0") : "") + "\r\n";
}

}  // namespace

std::string Placements_Csv(const std::vector<Tile_Placement>& placements, const std::vector<std::string>& tiles,
                           bool mirrored) {
    std::string csv = Header_Line(mirrored);
    for (const Tile_Placement& p : placements) Append_Line(csv, p, tiles, mirrored);
    return csv;
}

Placements_Writer::Placements_Writer(const std::string& path, const std::vector<std::string>& tiles, bool mirrored)
    : tiles_(tiles), mirrored_(mirrored), file_(std::make_unique<Replacing_File>(path)), held_(Header_Line(mirrored)) {}

Placements_Writer::~Placements_Writer() = default;

void Placements_Writer::Add(const Tile_Placement& placement) {
    Append_Line(held_, placement, tiles_, mirrored_);
    if (held_.size() >= kHeld_Bytes) Write_Held();
}

void Placements_Writer::Write_Held() {
    file_->Write(std::span(reinterpret_cast<const std::uint8_t*>(held_.data()), held_.size()));
    held_.clear();
}

void Placements_Writer::Finish() {
    Write_Held();
    file_->Finish();
}

void Placements_Writer::Commit() {
    Write_Held();
    file_->Commit();
}

Given_Placements Read_Placements_Csv(std::string_view text, const std::vector<std::string>& tiles, const std::string& path) {
    Given_Placements given{path, {}};
    if (text.starts_with(kByte_Order_Mark)) text.remove_prefix(kByte_Order_Mark.size());
    Csv_Reader reader(text);
    const auto refuse = [&](Error_Kind kind) { return Error::Placement(kind, path, reader.Line()); };
    const std::optional<std::vector<std::string>> header = reader.Next();
    std::string joined;
    for (const std::string& field : header.value_or(std::vector<std::string>{})) joined += (joined.empty() ? "" : ",") + field;
    const bool mirrored = Same_Ignoring_Case(joined, kMirrored_Header);
    if (!mirrored && !Same_Ignoring_Case(joined, kHeader)) throw refuse(Error_Kind::Placement_Not_Valid);
    std::unordered_map<std::string_view, int> index;
    for (std::size_t i = tiles.size(); i-- > 0;) index[tiles[i]] = static_cast<int>(i);  // the first of a path listed twice
    const std::size_t fields = mirrored ? 8 : 7;
    while (const std::optional<std::vector<std::string>> record = reader.Next()) {
        const std::vector<std::string>& f = *record;
        if (f.size() != fields) throw refuse(Error_Kind::Placement_Not_Valid);
        std::optional<int> numbers[6];
        for (std::size_t i = 0; i < 6; ++i)
            if (!(numbers[i] = Whole_Number(f[i]))) throw refuse(Error_Kind::Placement_Not_Valid);
        if (*numbers[0] < 1 || *numbers[1] < 1 || (mirrored && f[7] != "0" && f[7] != "1"))
            throw refuse(Error_Kind::Placement_Not_Valid);
        const auto tile = index.find(f[6]);
        if (tile == index.end()) throw refuse(Error_Kind::Placement_Tile_Unknown);
        given.cells.push_back({*numbers[0], *numbers[1], tile->second, mirrored && f[7] == "1", reader.Line(),
                               std::array{*numbers[2], *numbers[3], *numbers[4], *numbers[5]}});
    }
    return given;
}

std::string Placements_File_Beside(std::string_view mosaic) {
    return std::string(mosaic.substr(0, mosaic.size() - Extension_Part(mosaic).size())) + ".csv";
}

}  // namespace tilvane
