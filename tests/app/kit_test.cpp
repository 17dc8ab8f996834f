#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/containers.h"
#include "kit/controls.h"
#include "kit/form.h"
#include "test_support.h"

namespace tilvane::kit {
namespace {

class Kit_Test_Form final : public Form {
public:
    Kit_Test_Form() : Form({L"Tilvane.KitTest", L"kit"}) {}
    ~Kit_Test_Form() override { Destroy_Window(); }
    Spin_Edit Size{*this, {"Size", {10, 10, 80, 23}}, 0, 1000};
    Spin_Edit Width{*this, {"Width", {10, 40, 80, 23}}, 1, 1000};
    List_Box Tiles{*this, {"Tiles", {10, 70, 200, 100}}};
};

TEST(SpinEdit, TextReadsAsItsNumberOrTheRangesMinimumAndWritesAreForcedIntoRange) {
    Kit_Test_Form form;
    struct Case {
        const wchar_t* text;
        int size, width;
    };
    const Case cases[] = {
        {L"42", 42, 42}, {L"", 0, 1}, {L"12a", 0, 1}, {L"1200", 1000, 1000}, {L"-3", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << '"');
        form.Size.Set_Text(c.text);
        form.Width.Set_Text(c.text);
        EXPECT_EQ(form.Size.Value(), c.size);
        EXPECT_EQ(form.Width.Value(), c.width);
    }
    form.Width.Set_Value(0);
    EXPECT_EQ(form.Width.Text(), L"1");
    form.Size.Set_Value(1200);
    EXPECT_EQ(form.Size.Text(), L"1000");
    // A typed number past the range is corrected when the field is left; other text stays.
    form.Size.Focus();
    form.Size.Set_Text(L"5000");
    form.Width.Focus();
    form.Width.Set_Text(L"");
    form.Size.Focus();
    EXPECT_EQ(form.Size.Text(), L"1000");
    EXPECT_EQ(form.Width.Text(), L"");
}

TEST(SpinEdit, ChangeHandlerRunsOnEveryTextChange) {
    Kit_Test_Form form;
    int changes = 0;
    form.Size.On_Change = [&] { ++changes; };
    form.Size.Set_Value(5);
    form.Size.Set_Text(L"6");
    EXPECT_EQ(changes, 2);
}

// The box holds no texts: it shows a count and keeps a selection of any shape, which must hold
// under Wine's owner-data list box as under Windows'.
TEST(ListBox, ShowsACountAndKeepsAnExtendedSelection) {
    Kit_Test_Form form;
    std::vector<int> painted;
    form.Tiles.Item_Text = [&](int index) {
        painted.push_back(index);
        return std::to_wstring(index);
    };
    constexpr int kItems = 100000;
    const std::vector<int> selected = {0, 1, 2, 70000, 99998, 99999};
    form.Tiles.Reset(kItems, selected);
    EXPECT_EQ(form.Tiles.Count(), kItems);
    EXPECT_EQ(form.Tiles.Selected_Indexes(), selected);
    EXPECT_TRUE(form.Tiles.Is_Selected(70000));
    EXPECT_FALSE(form.Tiles.Is_Selected(3));
    form.Tiles.Set_Selected(3, true);
    form.Tiles.Set_Selected(0, false);
    EXPECT_EQ(form.Tiles.Selected_Indexes(), (std::vector<int>{1, 2, 3, 70000, 99998, 99999}));

    form.Tiles.Reset(4);  // fewer items: nothing selected, not the old indexes
    EXPECT_EQ(form.Tiles.Count(), 4);
    EXPECT_TRUE(form.Tiles.Selected_Indexes().empty());
    form.Show();
    UpdateWindow(form.Tiles.Handle());
    EXPECT_FALSE(painted.empty());
    for (const int index : painted) EXPECT_LT(index, 4);
    form.Tiles.Reset(0);
    EXPECT_EQ(form.Tiles.Count(), 0);
}

}  // namespace
}  // namespace tilvane::kit
