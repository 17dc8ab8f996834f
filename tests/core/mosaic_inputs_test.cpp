#include <gtest/gtest.h>

#include <set>

#include "mosaic/mosaic_inputs.h"
#include "shell/input_check_text.h"

namespace tilvane {
namespace {

using enum Mosaic_Input_Problem;

// The program's folder holds photo.BMP, a.bmp, b.bmp and an earlier out.bmp.
Mosaic_Input_Check Check(Mosaic_Job inputs) {
    const std::set<std::string> files{"C:\\P\\photo.BMP", "C:\\P\\a.bmp", "C:\\P\\b.bmp", "C:\\P\\out.bmp"};
    return Check_Mosaic_Inputs(inputs, "C:\\P\\", [&](const std::string& path) { return files.count(path) > 0; });
}

Mosaic_Job Good() { return {"photo", {"C:\\P\\a.bmp", "C:\\P\\b.bmp"}, "new.bmp", {{10, 10, false, 0, 0}, Fitting_Mode::Expand_Shrink}}; }

// Each case breaks one input of an otherwise good page; the first check that fails names it,
// in the order the user meets them.
TEST(MosaicInputsTest, TheFirstFailingCheckStopsWithItsWords) {
    struct Case {
        const char* name;
        void (*change)(Mosaic_Job&);
        Mosaic_Input_Problem problem;
        const char* text;
    };
    const Case cases[] = {
        {"all good", [](Mosaic_Job&) {}, None, ""},
        {"blank original", [](Mosaic_Job& i) { i.original.clear(), i.tiles.clear(); }, Original_Blank,
         "Error: The Original File name cannot be blank."},
        {"original not a bitmap", [](Mosaic_Job& i) { i.original = "photo.jpg"; }, Original_Not_Bitmap,
         "Error: Only Bitmap (.BMP) files are supported by this program."},
        {"original missing", [](Mosaic_Job& i) { i.original = "C:\\Q\\photo.bmp"; }, Original_Not_Found,
         "Error: The Original File name does NOT exist."},
        {"no tiles", [](Mosaic_Job& i) { i.tiles.clear(), i.output.clear(); }, No_Tiles,
         "Error: There are no Tiles in the list to use in the Mosaic !"},
        {"every tile missing", [](Mosaic_Job& i) { i.tiles = {"C:\\gone1.bmp", "C:\\gone2.bmp"}; }, No_Tile_Found,
         "Error: None of the 2 in the Tiles List could be found !"},
        {"some tiles missing", [](Mosaic_Job& i) { i.tiles.insert(i.tiles.begin(), "C:\\gone.bmp"); }, Some_Tiles_Missing,
         "Error: 1 tiles in the Tiles List could not be found !"},
        {"blank output", [](Mosaic_Job& i) { i.output.clear(), i.settings.tile_width = 0; }, Output_Blank,
         "Error: The Output File name cannot be blank."},
        {"output without extension", [](Mosaic_Job& i) { i.output = "result"; }, Output_Not_Bitmap,
         "Error: Only Bitmap (.BMP) files are supported by this program."},
        {"zero width", [](Mosaic_Job& i) { i.settings.tile_width = 0; }, Zero_Tile_Width,
         "Error: The Tile Width cannot be 0 unless a horizontal Gap between the Mosaic Tiles is set."},
        {"zero height, gap box off", [](Mosaic_Job& i) { i.settings.tile_height = 0, i.settings.gap_vertical = 5; },
         Zero_Tile_Height, "Error: The Tile Height cannot be 0 unless a vertical Gap between the Mosaic Tiles is set."},
        {"zero width with a gap", [](Mosaic_Job& i) { i.settings = {{0, 10, true, 5, 0}, Fitting_Mode::Expand_Shrink}; }, None, ""},
        {"output exists", [](Mosaic_Job& i) { i.output = "out.bmp"; }, Output_Exists,
         "Warning: The Output File already exists."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Mosaic_Job inputs = Good();
        c.change(inputs);
        const Mosaic_Input_Check check = Check(inputs);
        EXPECT_EQ(check.problem, c.problem);
        EXPECT_EQ(shell::Mosaic_Input_Text(check), c.text);
    }
}

TEST(MosaicInputsTest, NamesAreCompletedAndMissingTilesListed) {
    Mosaic_Job inputs = Good();
    inputs.tiles = {"C:\\gone1.bmp", "C:\\P\\a.bmp", "C:\\gone2.bmp"};
    Mosaic_Input_Check check = Check(inputs);
    EXPECT_EQ(check.original, "C:\\P\\photo.BMP");
    EXPECT_EQ(check.output, "new.bmp");  // not reached yet
    EXPECT_EQ(check.missing_tiles, (std::vector<int>{0, 2}));

    inputs.tiles = {"C:\\P\\a.bmp"};
    check = Check(inputs);
    EXPECT_EQ(check.problem, None);
    EXPECT_EQ(check.output, "C:\\P\\new.bmp");
}

}  // namespace
}  // namespace tilvane
