#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <random>

#include "codecs/bmp/bmp_file.h"
#include "codecs/picture_file.h"
#include "library/library_file.h"
#include "library/library_photo.h"
#include "library/library_tiles.h"
#include "library/library_writer.h"
#include "mosaic/mosaic_build.h"
#include "shell/error_report.h"
#include "support/error.h"
#include "support/file_io.h"
#include "temp_folder.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace tilvane::library {
namespace {

using testing_support::Temp_Folder;

struct Quiet_Progress final : Run_Progress {
    void Initialise_Processing(int, int, int) override {}
    void Update_Processing(int) override {}
    void End_Processing() override {}
    bool Abort_Requested() override { return false; }
};

// A picture with a different slope and a block of its own for every seed, so photos differ in
// colour and in shape.
Raster_Image Photo_Picture(int width, int height, int seed) {
    Raster_Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool block = x > width * (seed % 4) / 5 && x < width * (seed % 4 + 1) / 5 && y < height / 2;
            image.Set_Pixel(x, y,
                            {static_cast<std::uint8_t>((x * (seed + 1) * 255 / width) % 256),
                             static_cast<std::uint8_t>(block ? 240 : y * 255 / height),
                             static_cast<std::uint8_t>((seed * 53 + x / 7) % 256)});
        }
    return image;
}

class TileLibraryTest : public testing::Test {
protected:
    std::string Photo(const std::string& name, int width, int height, int seed) {
        const std::string path = folder_.Path(name);
        Save_Picture(path, Photo_Picture(width, height, seed), {.flush = Flush_To_Disk::No});
        return path;
    }
    std::vector<std::string> Photos(int count, int width = 640, int height = 480) {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) paths.push_back(Photo("photo" + std::to_string(100 + i) + ".jpg", width, height, i));
        return paths;
    }
    std::vector<Read_Photo> Read_All(const std::vector<std::string>& paths) {
        std::vector<Read_Photo> read;
        for (const std::string& path : paths) read.push_back(Read_For_Library(path));
        return read;
    }
    std::vector<std::string> Entry_Paths(const std::string& library) {
        std::vector<std::string> paths;
        for (const Library_Entry& entry : Library_File(library, Library_File::Access::Read).Entries()) paths.push_back(entry.path);
        return paths;
    }
    // A mosaic of a 120x80 original from the libraries' photos, as its file's bytes.
    std::vector<std::uint8_t> Mosaic_From(const std::vector<std::string>& libraries, Mosaic_Settings settings,
                                          const std::string& name) {
        const std::string original = folder_.Path("original.bmp");
        if (!std::filesystem::exists(original)) Save_Bitmap_File(Photo_Picture(120, 80, 7), original);
        Library_Tiles stored;
        std::vector<std::string> tiles;
        for (const std::string& library : libraries)
            for (std::string& path : stored.Add_Library(library)) tiles.push_back(std::move(path));
        Twister_Random_Source random;
        random.Seed(5);
        Quiet_Progress progress;
        const std::string output = folder_.Path(name);
        Build_Mosaic({original, tiles, output, settings}, random, progress, {.reading = Tile_Reading::First, .stored = &stored});
        return Read_Whole_File(output);
    }
    static Mosaic_Settings Cells(int width, int height) {
        Mosaic_Settings settings;
        settings.tile_width = width;
        settings.tile_height = height;
        settings.formats = Picture_Formats::By_Extension;
        return settings;
    }

    Temp_Folder folder_;
};

TEST_F(TileLibraryTest, APhotoKeepsItsUprightSizeAndAPictureOfAtMost512) {
    struct Case {
        const char* name;
        std::string path;
        int width, height;                  // the photo upright
        int picture_width, picture_height;  // as stored
        int small_width, small_height;
    };
    const std::string rotated = std::string(TILVANE_JPEG_FIXTURES) + "/exif_rotated.jpg";
    const Raster_Image upright = Load_Picture(rotated);
    const std::vector<Case> cases{
        {"landscape JPEG", Photo("land.jpg", 2048, 1536, 1), 2048, 1536, 512, 384, 96, 72},
        {"portrait JPEG", Photo("port.jpg", 900, 1200, 2), 900, 1200, 384, 512, 72, 96},
        {"small JPEG, kept at its size", Photo("small.jpg", 300, 200, 3), 300, 200, 300, 200, 96, 64},
        {"PNG", Photo("wide.png", 1500, 500, 4), 1500, 500, 512, 170, 96, 31},
        {"Exif-rotated JPEG", rotated, upright.Width(), upright.Height(), upright.Width(), upright.Height(),
         std::min(upright.Width(), 96), std::min(upright.Height(), 96)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Read_Photo photo = Read_For_Library(c.path);
        const Photo_Summary& s = photo.summary;
        EXPECT_EQ(std::vector({s.width, s.height, s.picture_width, s.picture_height, s.small_width, s.small_height}),
                  std::vector({c.width, c.height, c.picture_width, c.picture_height, c.small_width, c.small_height}));
        // The stored picture is the photo, reduced: their means agree within the JPEG's loss.
        const Raster_Image picture = Decode_Jpeg(std::span<const std::uint8_t>(photo.picture));
        EXPECT_EQ(picture.Width(), c.picture_width);
        const Colour a = Look_Of(picture).mean, b = Look_Of(Load_Picture(c.path)).mean;
        EXPECT_LE(std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue), 6);
        EXPECT_EQ(photo.stamp, Stamp_Of_Readable_File(c.path));
    }
}

// The same photos give the same mosaic whether the library was filled at once, in batches in
// another order, or had them already and was updated again: a build draws only from what the
// library holds, never from how it came to hold it.
TEST_F(TileLibraryTest, AMosaicIsTheSameHoweverTheLibraryWasFilled) {
    const std::vector<std::string> paths = Photos(6);
    const std::string at_once = folder_.Path("at-once.db"), batches = folder_.Path("batches.db");
    {
        Library_File file(at_once, Library_File::Access::Update);
        file.Change(Read_All(paths), {});
        file.Change(Read_All(paths), {});  // read again, unchanged
    }
    {
        Library_File file(batches, Library_File::Access::Update);
        Library_Writer writer(file, 2);
        for (auto path = paths.rbegin(); path != paths.rend(); ++path) writer.Put(Read_For_Library(*path));
        writer.Finish();
        EXPECT_EQ(writer.Written(), paths.size());
    }
    struct Case {
        const char* name;
        Mosaic_Settings settings;
    };
    std::vector<Case> cases{{"random", Cells(20, 20)}, {"best", Cells(16, 12)}, {"best, transfer, mirror, cap", Cells(10, 10)},
                            {"shuffle, blend, scale, the large picture", Cells(120, 90)}, {"cropped", Cells(20, 20)}, {"larger than stored", Cells(600, 450)}};
    cases[1].settings.choice = Tile_Choice::Best;
    cases[2].settings.choice = Tile_Choice::Best;
    cases[2].settings.colour = Tile_Colour::Transfer;
    cases[2].settings.mirror = true;
    cases[2].settings.max_uses = 20;
    cases[3].settings.choice = Tile_Choice::Shuffle;
    cases[3].settings.blend = 20;
    cases[3].settings.scale = 2;
    cases[4].settings.mode = Fitting_Mode::Truncate_Crop;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Mosaic_From({at_once}, c.settings, "a.bmp"), Mosaic_From({batches}, c.settings, "b.bmp"));
    }
}

// A counting front to the library, to see which pictures a build takes from it.
struct Counted_Tiles final : Stored_Tiles {
    explicit Counted_Tiles(const Library_Tiles& tiles) : tiles(tiles) {}
    std::optional<Raster_Image> Picture(const std::string& path, int w, int h, Fitting_Mode mode) const override {
        ++pictures;
        return tiles.Picture(path, w, h, mode);
    }
    std::optional<Stored_Look> Look(const std::string& path, int w, int h, Fitting_Mode mode) const override {
        return tiles.Look(path, w, h, mode);
    }
    const Library_Tiles& tiles;
    mutable std::atomic<int> pictures{0};
};

// With every photo gone, a build from the library still works where the stored pictures serve,
// and the best choice decodes no more pictures than it draws; where the photo itself is needed,
// its absence is the photo's missing file.
TEST_F(TileLibraryTest, TheBestChoiceDecodesOnlyWhatItDrawsAndNeedsNoPhotoTheLibraryServes) {
    const std::vector<std::string> paths = Photos(40, 320, 240);
    const std::string library = folder_.Path("lib.db");
    Library_File(library, Library_File::Access::Update).Change(Read_All(paths), {});
    for (const std::string& path : paths) std::filesystem::remove(path);
    Library_Tiles tiles;
    const std::vector<std::string> listed = tiles.Add_Library(library);
    ASSERT_EQ(listed, paths);
    const std::string original = folder_.Path("original.bmp");
    Save_Bitmap_File(Photo_Picture(60, 20, 1), original);
    Quiet_Progress progress;
    Twister_Random_Source random;
    for (const Tile_Choice choice : {Tile_Choice::Best, Tile_Choice::Random}) {
        SCOPED_TRACE(Choice_Word(choice));
        Counted_Tiles counted(tiles);
        Mosaic_Settings settings = Cells(20, 20);  // 3 cells
        settings.choice = choice;
        Build_Mosaic({original, listed, folder_.Path("out.bmp"), settings}, random, progress,
                     {.reading = Tile_Reading::First, .stored = &counted});
        EXPECT_LE(counted.pictures.load(), 3);
    }
    Mosaic_Settings larger = Cells(400, 300);
    try {
        Build_Mosaic({original, listed, folder_.Path("out.bmp"), larger}, random, progress, {.stored = &tiles});
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Kind(), Error_Kind::Cannot_Open);
    }
}

// Every way a library file can be damaged is refused with the library's own error naming the
// file, when it is opened or at the latest when what is damaged is read; never a crash.
TEST_F(TileLibraryTest, DamagedLibraryFilesAreRefusedNamingTheFile) {
    const std::string good = folder_.Path("good.db");
    Library_File(good, Library_File::Access::Update).Change(Read_All(Photos(6)), {});
    const std::vector<std::uint8_t> bytes = Read_Whole_File(good);
    ASSERT_GT(bytes.size(), 8192u);
    const auto damaged = [&](std::size_t at, std::size_t count, std::uint8_t value) {
        std::vector<std::uint8_t> copy = bytes;
        std::fill_n(copy.begin() + static_cast<std::ptrdiff_t>(at), std::min(count, copy.size() - at), value);
        return copy;
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> content;
    };
    const std::string text = "path,width,height\n";
    std::vector<Case> cases{
        {"empty", {}},
        {"text", {text.begin(), text.end()}},
        {"cut to its header", {bytes.begin(), bytes.begin() + 100}},
        {"cut in half", {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2)}},
        {"cut by one page", {bytes.begin(), bytes.end() - 4096}},
        {"header zeroed", damaged(0, 100, 0)},
        {"application id changed", damaged(68, 4, 7)},
        {"layout version from the future", damaged(60, 4, 9)},
        {"schema page overwritten", damaged(100, 3000, 0xA5)},
        {"second page overwritten", damaged(4096, 4096, 0xFF)},
        {"last page zeroed", damaged(bytes.size() - 4096, 4096, 0)},
    };
    // And a brief fuzz: runs of random bytes anywhere.
    std::mt19937 random(31);
    for (int i = 0; i < 40; ++i) {
        const std::size_t at = random() % bytes.size();
        cases.push_back({"random run", damaged(at, 1 + random() % 64, static_cast<std::uint8_t>(random()))});
    }
    const std::string path = folder_.Path("damaged.db");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(i));
        Write_File_Atomically(path, c.content, Flush_To_Disk::No);
        const bool must_fail = i < 11;
        try {
            // Everything a build and a check read.
            Library_Tiles tiles;
            for (const std::string& photo : tiles.Add_Library(path)) (void)tiles.Picture(photo, 64, 48, Fitting_Mode::Expand_Shrink);
            (void)Library_File(path, Library_File::Access::Read).Integrity_Problems();
            EXPECT_FALSE(must_fail) << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.Kind(), Error_Kind::Library_Not_Valid);
            EXPECT_EQ(shell::Error_Text_With_Details(e), "Tile library " + path + " is damaged or is not a tile library");
        }
    }
}

#ifndef _WIN32
// A process killed in the middle of writing a batch (after 2 batches went in) leaves a library
// that opens and holds the 2 batches, nothing of the third.
TEST_F(TileLibraryTest, AnUpdateKilledMidBatchKeepsTheEarlierBatches) {
    const std::vector<std::string> paths = Photos(9);
    const std::vector<Read_Photo> photos = Read_All(paths);
    const std::string library = folder_.Path("lib.db");
    GTEST_FLAG_SET(death_test_style, "fast");  // the child writes into this test's folder
    const auto kill_mid_batch = [&] {
        Library_File file(library, Library_File::Access::Update);
        for (std::size_t batch = 0; batch < 3; ++batch) {
            const auto first = photos.begin() + static_cast<std::ptrdiff_t>(batch * 3);
            file.Change({first, first + 3}, {}, [&](std::size_t written) {
                if (batch == 2 && written == 2) std::_Exit(9);
            });
        }
    };
    EXPECT_EXIT(kill_mid_batch(),
                testing::ExitedWithCode(9), "");
    EXPECT_EQ(Entry_Paths(library), std::vector<std::string>(paths.begin(), paths.begin() + 6));
    EXPECT_TRUE(Library_File(library, Library_File::Access::Read).Integrity_Problems().empty());
}

// A disk that fills up (here a limit on the file's size) stops the writer with a write error; the
// batches written before it stay, and the library still opens.
TEST_F(TileLibraryTest, AFullDiskStopsTheUpdateAndKeepsTheEarlierBatches) {
    const std::vector<std::string> paths = Photos(12);
    const std::vector<Read_Photo> photos = Read_All(paths);
    const std::string library = folder_.Path("lib.db");
    Library_File(library, Library_File::Access::Update).Change({photos.begin(), photos.begin() + 2}, {});
    GTEST_FLAG_SET(death_test_style, "fast");  // the child writes into this test's folder
    const auto fill_disk = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{200 << 10, 200 << 10};
        setrlimit(RLIMIT_FSIZE, &limit);
        Library_File file(library, Library_File::Access::Update);
        Library_Writer writer(file, 2);
        try {
            for (std::size_t i = 2; i < photos.size(); ++i) writer.Put(photos[i]);
            writer.Finish();
        } catch (const Error& e) {
            std::_Exit(e.Kind() == Error_Kind::Cannot_Create ? 3 : 4);
        }
        std::_Exit(0);
    };
    EXPECT_EXIT(fill_disk(),
                testing::ExitedWithCode(3), "");
    const std::vector<std::string> kept = Entry_Paths(library);
    ASSERT_GE(kept.size(), 2u);
    ASSERT_LT(kept.size(), photos.size());
    EXPECT_EQ(kept.size() % 2, 0u);  // whole batches only
    EXPECT_EQ(kept, std::vector<std::string>(paths.begin(), paths.begin() + static_cast<std::ptrdiff_t>(kept.size())));
}
#endif

}  // namespace
}  // namespace tilvane::library
