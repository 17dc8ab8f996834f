#include "mosaic/mosaic_option_table.h"

#include <stdexcept>
#include <type_traits>

#include "mosaic/option_words.h"
#include "support/error.h"

namespace tilvane {
namespace {

template <const auto& kNames>
std::optional<int> Index_In(std::string_view word) {
    return Index_Of_Word(kNames, word);
}
template <const auto& kNames>
std::string Words_In() {
    return Words_Text(kNames);
}
template <const auto& kNames>
constexpr Value_Range kIndex_Range{0, static_cast<int>(kNames.size()) - 1};

constexpr Value_Range kFlag_Range{0, 1};

}  // namespace

const std::array<Mosaic_Option_Row, 11> kMosaic_Option_Rows{{
    {&Mosaic_Options::choice, Option_Form::Word, "Tile_Choice_Option", "--choose", kIndex_Range<kTile_Choice_Names>,
     {}, {}, {}, Index_In<kTile_Choice_Names>, Words_In<kTile_Choice_Names>},
    // The tool always reads and writes every format its extensions name.
    {&Mosaic_Options::formats, Option_Form::Flag, "Photo_Formats_Option", "", kFlag_Range},
    {&Mosaic_Options::scale, Option_Form::Number, "Mosaic_Scale_Option", "--scale", kMosaic_Scale_Range,
     "&Output Size :", "times the Original Image", "The Scale"},
    {&Mosaic_Options::min_distance, Option_Form::Number, "Minimum_Tile_Distance_Option", "--min-distance",
     kMinimum_Distance_Range, "Minimum &Distance between Repeats :", "Tiles apart (0 = no minimum)",
     "The Distance between repeated Tiles"},
    {&Mosaic_Options::max_uses, Option_Form::Number, "Maximum_Tile_Uses_Option", "--max-uses", kMaximum_Uses_Range,
     "Most &Uses of one Tile :", "(0 = no limit)", "The most Uses of one Tile"},
    {&Mosaic_Options::colour, Option_Form::Word, "Tile_Colour_Option", "--colour", kIndex_Range<kTile_Colour_Names>,
     {}, {}, {}, Index_In<kTile_Colour_Names>, Words_In<kTile_Colour_Names>},
    {&Mosaic_Options::blend, Option_Form::Number, "Blend_Original_Option", "--blend", kBlend_Range,
     "&Blend with the Original :", "%", "The share of the Original laid over the Tiles"},
    {&Mosaic_Options::mirror, Option_Form::Flag, "Mirror_Tiles_Option", "--mirror", kFlag_Range},
    {&Mosaic_Options::quality, Option_Form::Number, "JPEG_Quality_Option", "--quality", kJpeg_Quality_Range,
     "&JPEG Quality :", "(1 - 100, for JPEG Mosaics)", "The JPEG Quality"},
    // Only the tool writes a WebP mosaic without loss; the window keeps to the quality.
    {&Mosaic_Options::lossless, Option_Form::Flag, "", "--lossless", kFlag_Range},
    // The tool names the file instead (--placements FILE).
    {&Mosaic_Options::write_placements, Option_Form::Flag, "Write_Placements_Option", "", kFlag_Range},
}};

const Mosaic_Option_Row& Option_Row(Option_Member member) {
    for (const Mosaic_Option_Row& row : kMosaic_Option_Rows)
        if (row.member == member) return row;
    throw std::logic_error("no mosaic option row keeps this member");
}

int Option_Value(const Mosaic_Options& options, const Mosaic_Option_Row& row) {
    return std::visit([&](auto member) { return static_cast<int>(options.*member); }, row.member);
}

void Set_Option_Value(Mosaic_Options& options, const Mosaic_Option_Row& row, int value) {
    std::visit(
        [&](auto member) {
            using Value = std::remove_reference_t<decltype(options.*member)>;
            options.*member = static_cast<Value>(value);
        },
        row.member);
}

void Check_Mosaic_Options(const Mosaic_Options& options) {
    for (std::size_t i = 0; i < kMosaic_Option_Rows.size(); ++i) {
        const Mosaic_Option_Row& row = kMosaic_Option_Rows[i];
        if (!row.range.Holds(Option_Value(options, row))) throw Error::Option_Out_Of_Range(static_cast<int>(i));
    }
}

std::string Option_Range_Text(int row_number) {
    const Mosaic_Option_Row& row = kMosaic_Option_Rows.at(static_cast<std::size_t>(row_number));
    const std::string unit = row.unit == "%" ? " %" : "";  // the other units are words, not for the range
    const std::string_view subject = row.subject.empty() ? row.settings_key : row.subject;
    return "Error: " + std::string(subject) + " must be from " + std::to_string(row.range.minimum) + " to " +
           std::to_string(row.range.maximum) + unit + ".";
}

}  // namespace tilvane
