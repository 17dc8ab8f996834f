#include <gtest/gtest.h>

#include "shell/design_layout.h"
#include "shell/error_report.h"

namespace tilvane::shell {
namespace {

TEST(DesignLayout, LinesHoldGeometryFontAndName) {
    EXPECT_EQ(Design_Size_Line(589, 437), "589 437 W/H Mainform1");
    EXPECT_EQ(Control_Line({34, 495, 18, 23, 11}, "Input_File_Name_Edit"), "34 495 18 23 11 Input_File_Name_Edit");
}

TEST(DesignLayout, FieldsAreReadBySpacesWithTheSignOnlyInFirstPlace) {
    struct Case {
        const char* line;
        int n, expected;
    };
    const Case cases[] = {
        {"34 495 18 23 11 Name", 1, 34}, {"34 495 18 23 11 Name", 5, 11}, {"-4 2 3", 1, -4},
        {"4 2-3 5", 2, 23},              {"589 437 W/H Mainform1", 3, 0}, {"0", 2, 0},
        {"1 2", 7, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.line << "\" field " << c.n);
        EXPECT_EQ(Layout_Field(c.line, c.n), c.expected);
    }
}

TEST(DesignLayout, ScalingTruncatesTowardZeroAndTheFontFollowsTheSmallerRatio) {
    struct Case {
        int client_width, client_height;
        Control_Geometry expected;
    };
    const Case cases[] = {
        {589, 437, {34, 495, 18, 23, 11}},
        {883, 437, {50, 742, 18, 23, 11}},  // width ratio 1.499..., height and font ratio 1
        {294, 437, {16, 247, 18, 23, 5}},   // width ratio 0.499... is also the font ratio
        {589, 874, {34, 495, 36, 46, 11}},
        {1178, 874, {68, 990, 36, 46, 22}},
    };
    const std::string design = Design_Size_Line(589, 437);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.client_width << 'x' << c.client_height);
        const Control_Geometry g =
            Scaled_Geometry("34 495 18 23 11 Input_File_Name_Edit", Ratios_For(c.client_width, c.client_height, design));
        EXPECT_EQ(g.left, c.expected.left);
        EXPECT_EQ(g.width, c.expected.width);
        EXPECT_EQ(g.top, c.expected.top);
        EXPECT_EQ(g.height, c.expected.height);
        EXPECT_EQ(g.font_size, c.expected.font_size);
    }
}

TEST(DesignLayout, TiedRatiosTakeTheWidthRatioForTheFont) {
    const Layout_Ratios r = Ratios_For(589 * 2, 437 * 2, Design_Size_Line(589, 437));
    EXPECT_EQ(r.font, r.width);
}

TEST(ErrorText, FullStopIsAddedUnlessTheLastCharacterIsAtMostAFullStop) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"File not found", "File not found."},     {"Done.", "Done."},
        {"Stop!", "Stop!"},                        {"(see above)", "(see above)"},
        {"value -", "value -"},                    {"path/", "path/."},
        {"count 3", "count 3."},                   {"", ""},
        {"trailing space ", "trailing space "},    {"caf\xc3\xa9", "caf\xc3\xa9."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(With_Full_Stop(c.text), c.expected);
    }
}

}  // namespace
}  // namespace tilvane::shell
