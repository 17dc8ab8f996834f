#include "settings/settings_values.h"

#include <climits>
#include <variant>

#include "grid/tile_grid.h"
#include "mosaic/mosaic_option_table.h"
#include "settings/profile_text.h"

namespace tilvane::settings {
namespace {

struct Integer_Key {
    int Settings::*member;
    int fallback;
    Value_Range range;
};
struct Boolean_Key {
    bool Settings::*member;
    bool fallback;
};
struct Text_Key {
    std::string Settings::*member;
};
struct Key {
    std::string_view name;
    std::variant<Integer_Key, Boolean_Key, Text_Key> form;
};

constexpr Value_Range kAny{INT_MIN, INT_MAX};  // used as stored

// In the order they are read. The limits group's range -1..3 with default 6: above 3 is the last
// item, below -1 none, so a missing key selects the last item.
const Key kKeys[] = {
    {"window_top_posn", Integer_Key{&Settings::window_top_posn, 20, kAny}},
    {"window_left_posn", Integer_Key{&Settings::window_left_posn, 20, kAny}},
    {"window_Width", Integer_Key{&Settings::window_Width, 594, kAny}},
    {"window_Height", Integer_Key{&Settings::window_Height, 490, kAny}},
    {"Always_on_Top_Option", Boolean_Key{&Settings::Always_on_Top_Option, false}},
    {"Auto_Run_at_Windows_Startup_Option", Boolean_Key{&Settings::Auto_Run_at_Windows_Startup_Option, false}},
    {"WindowState_wsMaximized", Boolean_Key{&Settings::WindowState_wsMaximized, false}},
    {"Input_File_Name_Edit", Text_Key{&Settings::Input_File_Name_Edit}},
    {"Output_File_Name_Edit", Text_Key{&Settings::Output_File_Name_Edit}},
    {"Tiles_Crop_To_Size_RadioButton", Boolean_Key{&Settings::Tiles_Crop_To_Size_RadioButton, false}},
    {"Insert_Gap_Between_Tiles_CheckBox", Boolean_Key{&Settings::Insert_Gap_Between_Tiles_CheckBox, false}},
    {"Horizontal_Tile_Size_SpinEdit", Integer_Key{&Settings::Horizontal_Tile_Size_SpinEdit, 20, kMosaic_Tile_Size_Range}},
    {"Vertical_Tile_Size_SpinEdit", Integer_Key{&Settings::Vertical_Tile_Size_SpinEdit, 20, kMosaic_Tile_Size_Range}},
    {"Horizontal_Tile_Gap_SpinEdit", Integer_Key{&Settings::Horizontal_Tile_Gap_SpinEdit, 6, kTile_Gap_Range}},
    {"Vertical_Tile_Gap_SpinEdit", Integer_Key{&Settings::Vertical_Tile_Gap_SpinEdit, 6, kTile_Gap_Range}},
    {"Extract_Mosaic_Bitmap_File_Name_Edit", Text_Key{&Settings::Extract_Mosaic_Bitmap_File_Name_Edit}},
    {"Extract_Tile_Width_SpinEdit", Integer_Key{&Settings::Extract_Tile_Width_SpinEdit, 6, kExtract_Tile_Size_Range}},
    {"Extract_Tile_Height_SpinEdit", Integer_Key{&Settings::Extract_Tile_Height_SpinEdit, 6, kExtract_Tile_Size_Range}},
    {"Extract_Image_Limits_RadioGroup", Integer_Key{&Settings::Extract_Image_Limits_RadioGroup, 6, {-1, 3}}},
    {"Extracted_Tile_Directory_Edit", Text_Key{&Settings::Extracted_Tile_Directory_Edit}},
    {"Last_Mosaic_Directory_Edit", Text_Key{&Settings::Last_Mosaic_Directory_Edit}},
    {"Last_Tile_Directory_Edit", Text_Key{&Settings::Last_Tile_Directory_Edit}},
};

constexpr std::string_view kMaximised_Key = "WindowState_wsMaximized";

template <class... Visitors>
struct Overloaded : Visitors... {
    using Visitors::operator()...;
};
// clang 14, which builds the fuzz targets, does not deduce an aggregate's arguments by itself.
template <class... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

std::string Entry_Text(const Settings& settings, const Key& key) {
    return std::visit(Overloaded{
                          [&](const Integer_Key& k) { return std::to_string(settings.*k.member); },
                          [&](const Boolean_Key& k) { return std::string(settings.*k.member ? "1" : "0"); },
                          [&](const Text_Key& k) { return settings.*k.member; },
                      },
                      key.form);
}

}  // namespace

Settings Read_Settings(const std::vector<std::string>& section_lines) {
    Settings settings;
    for (const Key& key : kKeys) {
        const std::optional<std::string> value = Profile_Value(section_lines, key.name);
        std::visit(Overloaded{
                       [&](const Integer_Key& k) {
                           settings.*k.member = k.range.Clamp(Profile_Integer(value, k.fallback));
                       },
                       [&](const Boolean_Key& k) { settings.*k.member = Profile_Boolean(value, k.fallback); },
                       [&](const Text_Key& k) { settings.*k.member = value.value_or(std::string()); },
                   },
                   key.form);
    }
    const Mosaic_Options factory;
    for (const Mosaic_Option_Row& row : kMosaic_Option_Rows) {
        if (row.settings_key.empty()) continue;
        const std::optional<std::string> value = Profile_Value(section_lines, row.settings_key);
        const int fallback = Option_Value(factory, row);
        Set_Option_Value(settings.mosaic_options, row,
                         row.form == Option_Form::Flag ? Profile_Boolean(value, fallback != 0)
                                                       : row.range.Clamp(Profile_Integer(value, fallback)));
    }
    return settings;
}

std::vector<std::pair<std::string_view, std::string>> Settings_Entries(const Settings& settings) {
    std::vector<std::pair<std::string_view, std::string>> entries;
    entries.emplace_back(kMaximised_Key, settings.WindowState_wsMaximized ? "1" : "0");
    for (const Key& key : kKeys) {
        if (key.name != kMaximised_Key) entries.emplace_back(key.name, Entry_Text(settings, key));
    }
    for (const Mosaic_Option_Row& row : kMosaic_Option_Rows)
        if (!row.settings_key.empty()) entries.emplace_back(row.settings_key, std::to_string(Option_Value(settings.mosaic_options, row)));
    return entries;
}

}  // namespace tilvane::settings
