#include "tiles/tile_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "shell/error_report.h"
#include "support/file_io.h"
#include "tiles/tile_list_file.h"

namespace tilvane::tiles {
namespace {

using Items = std::vector<std::string>;

// What the program's locale sort key does for ASCII: letter case ignored.
std::string Ascii_Key(const std::string& item) {
    std::string key = item;
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

Tile_List List_Of(Items items) {
    Tile_List list(Ascii_Key);
    list.Insert_Items(std::move(items));
    return list;
}

TEST(TileList, KeepsCaseInsensitiveOrderWithEqualItemsInInsertionOrder) {
    Tile_List list = List_Of({"b", "A", "", "a", "B", "c"});
    EXPECT_EQ(list.Items(), (Items{"", "A", "a", "b", "B", "c"}));
    list.Insert_Items({"C", "a"});
    EXPECT_EQ(list.Items(), (Items{"", "A", "a", "a", "b", "B", "c", "C"}));
}

TEST(TileList, FindTileItemIsTheBinarySearchWithTheListsComparison) {
    const Tile_List list = List_Of({"c:\\t\\A.BMP", "C:\\T\\b.bmp", "C:\\T\\c.bmp", "d"});
    const struct { const char* text; int index; } cases[] = {
        {"C:\\T\\a.bmp", 0}, {"c:\\t\\B.BMP", 1}, {"C:\\T\\C.bmp", 2}, {"D", 3}, {"C:\\T\\", -1}, {"e", -1}, {"", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(list.Find_Tile_Item(c.text), c.index);
    }
    EXPECT_EQ(List_Of({"x", "X", "x", "X"}).Find_Tile_Item("x"), 1);  // middle = (0 + 3) div 2
    EXPECT_EQ(List_Of({}).Find_Tile_Item(""), -1);
}

TEST(TileList, AddingSkipsWhatIsListedAndReportsWhereTheNewItemsWent) {
    Tile_List list = List_Of({"c:\\t\\A.BMP", "C:\\T\\m.bmp"});
    EXPECT_EQ(list.Add_Tile_Unless_Listed("C:\\T\\a.bmp"), -1);
    EXPECT_EQ(list.Add_Tile_Unless_Listed("C:\\T\\b.bmp"), 1);
    EXPECT_EQ(list.Add_Tiles_Unless_Listed({"C:\\T\\z.bmp", "C:\\T\\M.BMP", "C:\\T\\c.bmp", "c:\\t\\Z.bmp"}),
              (std::vector<int>{2, 4}));
    EXPECT_EQ(list.Items(), (Items{"c:\\t\\A.BMP", "C:\\T\\b.bmp", "C:\\T\\c.bmp", "C:\\T\\m.bmp", "C:\\T\\z.bmp"}));
}

// The bulk operations must end exactly where adding or inserting one at a time would.
TEST(TileList, BulkOperationsMatchOneAtATime) {
    std::mt19937 engine(7);
    const auto random_items = [&](int count) {
        Items items;
        for (int i = 0; i < count; ++i) {
            items.emplace_back(1, engine() % 2 ? 'T' : 't');  // case variants of a few names
            items.back() += std::to_string(engine() % 40);
        }
        return items;
    };
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        const Items listed = random_items(round % 7 * 5), incoming = random_items(round % 5 * 9);
        Items expected_inserted;
        for (const Items* items : {&listed, &incoming})
            for (const std::string& item : *items)
                expected_inserted.insert(std::upper_bound(expected_inserted.begin(), expected_inserted.end(), item,
                                                          [](auto& a, auto& b) { return Ascii_Key(a) < Ascii_Key(b); }),
                                         item);
        Tile_List one_by_one = List_Of(listed), bulk = List_Of(listed), inserted = List_Of(listed);
        for (const std::string& item : incoming) one_by_one.Add_Tile_Unless_Listed(item);
        for (const int index : bulk.Add_Tiles_Unless_Listed(incoming))
            EXPECT_EQ(List_Of(listed).Find_Tile_Item(bulk.Item(index)), -1);
        inserted.Insert_Items(incoming);
        EXPECT_EQ(bulk.Items(), one_by_one.Items());
        EXPECT_EQ(inserted.Items(), expected_inserted);
    }
}

TEST(TileList, DeletesSelectionsAndSingleItems) {
    Tile_List list = List_Of({"a", "b", "c", "d", "e"});
    const std::vector<int> out_of_range[] = {{5}, {0, -1}};
    for (const auto& selected : out_of_range) EXPECT_THROW(list.Delete_Selected_Tiles(selected), std::out_of_range);
    EXPECT_THROW(list.Delete_Item(5), std::out_of_range);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Delete_Selected_Tiles(std::vector<int>{}), 0);
    EXPECT_EQ(list.Delete_Selected_Tiles(std::vector<int>{4, 0, 2, 4}), 3);
    EXPECT_EQ(list.Items(), (Items{"b", "d"}));
    list.Delete_Item(0);
    EXPECT_EQ(list.Items(), (Items{"d"}));
}

TEST(TileList, SelectionFollowsItsItemsWhenItemsAreAdded) {
    const struct {
        std::vector<int> selected, added, moved;
    } cases[] = {
        {{}, {0, 1}, {}},
        {{0, 2}, {}, {0, 2}},
        {{0}, {0}, {1}},
        {{0}, {1}, {0}},
        {{1}, {1, 2}, {3}},
        {{0, 1, 4}, {1, 3, 9}, {0, 2, 6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.selected) + " + " + testing::PrintToString(c.added));
        EXPECT_EQ(Selection_After_Adding(c.selected, c.added), c.moved);
    }
}

class Scripted_Random final : public Random_Source {
public:
    void Seed(std::uint64_t) override {}
    int Uniform_Below(int count) override {
        asked.push_back(count);
        return count - 1;
    }
    std::vector<int> asked;
};

TEST(TileList, RandomTileDrawsOverTheWholeListAndIsEmptyForAnEmptyList) {
    Scripted_Random random;
    EXPECT_EQ(List_Of({}).Random_Tile(random), "");
    EXPECT_EQ(List_Of({"a", "b", "c"}).Random_Tile(random), "c");
    EXPECT_EQ(random.asked, std::vector<int>{3});
}

TEST(TileListFile, ParsesEveryKindOfLineEnd) {
    const struct { std::string bytes; Items items; } cases[] = {
        {"", {}}, {"a", {"a"}}, {"a\r\n", {"a"}}, {"\r\n", {""}}, {"a\nb\n", {"a", "b"}}, {"a\rb", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}}, {"a\n\rb", {"a", "", "b"}}, {"a\r\r\nb\n\n", {"a", "", "b", ""}},
        {std::string("a\r\nb\0c\r\n", 8), {"a", "b"}}, {std::string("\0a", 2), {}},
        {" C:\\Caf\xc3\xa9.bmp \t\xff", {" C:\\Caf\xc3\xa9.bmp \t\xff"}}, {std::string(100000, 'x'), {std::string(100000, 'x')}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes.substr(0, 20)));
        EXPECT_EQ(Parse_Tile_List(std::vector<std::uint8_t>(c.bytes.begin(), c.bytes.end())), c.items);
    }
}

TEST(TileListFile, ReadsUtf8AsItIsAndAnythingElseInTheSystemsCodePage) {
    // A stand-in for the system's code page: each byte is the code point of the same number.
    int decoded = 0;
    const Legacy_Text_Decoder latin_1 = [&decoded](std::string_view text) {
        ++decoded;
        std::string utf8;
        for (const unsigned char c : text) {
            if (c < 0x80) {
                utf8 += static_cast<char>(c);
            } else {
                utf8 += static_cast<char>(0xC0 | (c >> 6));
                utf8 += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return utf8;
    };
    const struct { const char* what; std::string bytes; Items items; bool decoded; } cases[] = {
        {"UTF-8", "C:\\Caf\xc3\xa9.bmp\r\nD:\\\xe6\x97\xa5.bmp", {"C:\\Caf\xc3\xa9.bmp", "D:\\\xe6\x97\xa5.bmp"}, false},
        {"UTF-8 with a byte-order mark", "\xef\xbb\xbf" "a.bmp\r\n", {"a.bmp"}, false},
        {"code page", "C:\\caf\xe9.bmp\r\nb", {"C:\\caf\xc3\xa9.bmp", "b"}, true},
        {"one line in the code page makes the whole file so", "\xc3\xa9\r\n\xe9", {"\xc3\x83\xc2\xa9", "\xc3\xa9"}, true},
        {"a sequence cut short at the end", "a\xc3", {"a\xc3\x83"}, true},
        {"an overlong slash", "a\xc0\xaf", {"a\xc3\x80\xc2\xaf"}, true},
        {"a surrogate", "\xed\xa0\x80", {"\xc3\xad\xc2\xa0\xc2\x80"}, true},
        {"past U+10FFFF", "\xf4\x90\x80\x80", {"\xc3\xb4\xc2\x90\xc2\x80\xc2\x80"}, true},
        {"the largest code point", "\xf4\x8f\xbf\xbf", {"\xf4\x8f\xbf\xbf"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        decoded = 0;
        EXPECT_EQ(Parse_Tile_List(std::vector<std::uint8_t>(c.bytes.begin(), c.bytes.end()), latin_1), c.items);
        EXPECT_EQ(decoded, c.decoded ? 1 : 0);
    }
}

TEST(TileListFile, WritesCrLfAfterEveryItem) {
    EXPECT_TRUE(Serialise_Tile_List({}).empty());
    const auto bytes = Serialise_Tile_List({"", "C:\\a.bmp"});
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "\r\nC:\\a.bmp\r\n");
}

TEST(TileListFile, RelativeEntriesAreTakenFromTheListsFolderAndWrittenBackRelative) {
    const struct { const char* entry; std::string resolved; bool written_back_as_read; } cases[] = {
        {"Demo_Tiles\\Tile_01.bmp", "C:\\Tilvane\\Demo_Tiles\\Tile_01.bmp", true},
        {"..\\Tiles\\a.bmp", "C:\\Tilvane\\..\\Tiles\\a.bmp", true},
        {"tiles/a.bmp", "C:\\Tilvane\\tiles/a.bmp", true},
        {"", "", true},
        {" \t ", " \t ", true},
        {"D:\\a.bmp", "D:\\a.bmp", true},
        {"c:a.bmp", "c:a.bmp", true},
        {"\\\\server\\share\\a.bmp", "\\\\server\\share\\a.bmp", true},
        {"\\a.bmp", "\\a.bmp", true},
        {"/home/a.bmp", "/home/a.bmp", true},
        // Written as the list's folder holds it: relative from then on, the same file.
        {"C:\\Tilvane\\Demo_Tiles\\Tile_02.bmp", "C:\\Tilvane\\Demo_Tiles\\Tile_02.bmp", false},
        {"C:\\Tilvane\\\\x.bmp", "C:\\Tilvane\\\\x.bmp", true},
    };
    const std::string_view folder = List_Folder("C:\\Tilvane\\Mosaic_Tiles.lst");
    EXPECT_EQ(folder, "C:\\Tilvane\\");
    EXPECT_EQ(List_Folder("/srv/tiles/my.lst"), "/srv/tiles/");
    EXPECT_EQ(List_Folder("my.lst"), "");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(Resolve_Entry(c.entry, folder), c.resolved);
        const std::string written = Relative_Entry(c.resolved, folder);
        EXPECT_EQ(Resolve_Entry(written, folder), c.resolved);  // never another file
        if (c.written_back_as_read) {
            EXPECT_EQ(written, c.entry);
        }
    }
}

TEST(TileListFile, SavesAndLoadsThroughTheFile) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("tilvane-tiles-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    const auto text = [](const fs::path& p) { const auto u8 = p.u8string(); return std::string(u8.begin(), u8.end()); };
    const std::string path = text(folder / kTile_List_File_Name);
    const Path_Exists exists = [](const std::string& p) { return fs::exists(fs::path(std::u8string(p.begin(), p.end()))); };

    Tile_List list = List_Of({"x"});
    Load_Tile_List_File(list, path, exists, {});  // no file: an empty list and no error
    EXPECT_TRUE(list.Empty());
    Save_Tile_List_File(list, path);
    EXPECT_EQ(fs::file_size(path), 0u);

    Save_Tile_List_File(List_Of({"C:\\b.bmp", "c:\\B.BMP", "", "C:\\Caf\xc3\xa9.bmp"}), path);
    Load_Tile_List_File(list, path, exists, {});
    EXPECT_EQ(list.Items(), (Items{"", "C:\\b.bmp", "c:\\B.BMP", "C:\\Caf\xc3\xa9.bmp"}));

    // A shipped list names its tiles relative to itself: loaded as full names, saved as it was.
    const std::string shipped = "Demo_Tiles\\Tile_01.bmp\r\n";
    Write_File_Atomically(path, std::vector<std::uint8_t>(shipped.begin(), shipped.end()));
    Load_Tile_List_File(list, path, exists, {});
    EXPECT_EQ(list.Items(), Items{text(folder / "") + "Demo_Tiles\\Tile_01.bmp"});
    Save_Tile_List_File(list, path);
    EXPECT_EQ(Read_Whole_File(path), std::vector<std::uint8_t>(shipped.begin(), shipped.end()));

    const std::string unreadable = text(folder / "gone.lst");
    try {
        Load_Tile_List_File(list, unreadable, [](const std::string&) { return true; }, {});
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(shell::Error_Text(e), "Cannot open file " + unreadable);
    }
    EXPECT_TRUE(list.Empty());
    fs::remove_all(folder);
}

}  // namespace
}  // namespace tilvane::tiles
