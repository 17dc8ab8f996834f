#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "codecs/heif/heif_codec.h"
#include "codecs/png/png_codec.h"
#include "shell/error_report.h"
#include "support/file_io.h"

namespace tilvane {
namespace {

// HEIF files, each beside the PNG that libheif's heif-convert makes of it
// (tests/data/heif/make_heif_fixtures.py).
const std::string kFixtures = TILVANE_HEIF_FIXTURES;

std::vector<std::uint8_t> fixture(const std::string& name) { return Read_Whole_File(kFixtures + "/" + name); }

bool same_pixels(const Raster_Image& a, const Raster_Image& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.Row(y), b.Row(y), a.Row_Bytes()) != 0) return false;
    return true;
}

// Whether the decoder refuses bytes in the format's own words; any other outcome but a picture
// fails the test.
bool refused(std::span<const std::uint8_t> bytes) {
    try {
        Decode_Heif(bytes);
        return false;
    } catch (const Error& e) {
        EXPECT_EQ(shell::Error_Text(e), "HEIF image is not valid");
        return true;
    }
}

struct Fixture_Case {
    const char* file;
    const char* reference;
    int width, height;  // as shown: turned pictures swap the stored sides
};

constexpr Fixture_Case kCases[] = {
    {"plain_8.heic", "plain_8.png", 37, 23},
    {"plain_10.heic", "plain_10.png", 37, 23},
    {"plain_12.heic", "plain_12.png", 37, 23},
    {"alpha_8.heic", "alpha_8.png", 37, 23},
    {"alpha_10.heic", "alpha_10.png", 37, 23},
    // heif-enc's irot and imir for each Exif orientation, the Exif kept as phones keep it.
    {"exif_1.heic", "exif_1.png", 37, 23},
    {"exif_2.heic", "exif_2.png", 37, 23},
    {"exif_3.heic", "exif_3.png", 37, 23},
    {"exif_4.heic", "exif_4.png", 37, 23},
    {"exif_5.heic", "exif_5.png", 23, 37},
    {"exif_6.heic", "exif_6.png", 23, 37},
    {"exif_7.heic", "exif_7.png", 23, 37},
    {"exif_8.heic", "exif_8.png", 23, 37},
    // The Exif orientation counts for nothing either way: only the file's transforms turn it.
    {"turned_exif_upright.heic", "exif_6.png", 23, 37},
    {"upright_exif_turned.heic", "exif_1.png", 37, 23},
    // A phone's layout: 2x2 tiles of 64 cropped to 117x101, turned a quarter, Exif saying so too.
    {"grid.heic", "grid.png", 101, 117},
};

TEST(Heif_Decode, Every_File_Reads_As_Heif_Convert_Writes_It) {
    for (const Fixture_Case& c : kCases) {
        SCOPED_TRACE(c.file);
        const std::vector<std::uint8_t> bytes = fixture(c.file);
        EXPECT_TRUE(Looks_Like_Heif(bytes));
        const Raster_Image got = Decode_Heif(Input_File(kFixtures + "/" + c.file));
        EXPECT_EQ(got.Width(), c.width);
        EXPECT_EQ(got.Height(), c.height);
        EXPECT_TRUE(same_pixels(got, Decode_Png(fixture(c.reference))));
        const Picture_Size size = Read_Heif_Size(Memory_Source(bytes));
        EXPECT_EQ(size.width, c.width);
        EXPECT_EQ(size.height, c.height);
    }
}

TEST(Heif_Decode, Avif_Reads_As_Heif_Convert_Writes_It) {
    // Debian's libheif natively, the dav1d built into the Windows program's.
    ASSERT_TRUE(Can_Decode_Avif());
    const std::vector<std::uint8_t> bytes = fixture("avif_alpha_8.avif");
    EXPECT_TRUE(Looks_Like_Heif(bytes));
    EXPECT_TRUE(same_pixels(Decode_Heif(bytes), Decode_Png(fixture("avif_alpha_8.png"))));
}

TEST(Heif_Decode, Cut_Files_Are_Refused_At_Every_Length) {
    for (const char* name : {"plain_8.heic", "alpha_10.heic", "grid.heic"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> whole = fixture(name);
        for (std::size_t length = 0; length < whole.size(); ++length) {
            SCOPED_TRACE(length);
            ASSERT_TRUE(refused(std::span(whole).first(length)));
        }
    }
}

TEST(Heif_Decode, Damaged_Files_Give_A_Picture_Or_Are_Refused) {
    // Any byte may be wrong: the decoder either reads a picture of it or refuses the file. Every
    // byte of the boxes, where libheif parses; of the coded tiles every 16th (the fuzz target
    // covers them more widely).
    const std::vector<std::uint8_t> whole = fixture("grid.heic");
    const char kMdat[] = "mdat";
    const std::size_t tiles = std::search(whole.begin(), whole.end(), kMdat, kMdat + 4) - whole.begin();
    for (std::size_t at = 0; at < whole.size(); at += at < tiles ? 1 : 16) {
        SCOPED_TRACE(at);
        std::vector<std::uint8_t> damaged = whole;
        damaged[at] ^= 0x5A;
        try {
            const Raster_Image image = Decode_Heif(damaged);
            EXPECT_GT(image.Width(), 0);
        } catch (const Error& e) {
            EXPECT_TRUE(e.Kind() == Error_Kind::Picture_Not_Valid || e.Kind() == Error_Kind::Too_Large) << e.what();
        }
    }
}

TEST(Heif_Decode, Other_Files_Are_Refused) {
    EXPECT_TRUE(refused(fixture("plain_8.png")));
    EXPECT_TRUE(refused({}));
}

// The grid's ispe with its sides set: the picture the file claims, before its quarter turn.
std::vector<std::uint8_t> grid_claiming(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> bytes = fixture("grid.heic");
    const char kIspe[] = "ispe";
    std::size_t at = 0;
    for (int seen = 0; seen < 2; ++seen)  // the tiles' ispe, then the grid's
        at = std::search(bytes.begin() + at + 1, bytes.end(), kIspe, kIspe + 4) - bytes.begin();
    for (int i = 0; i < 4; ++i) {
        bytes[at + 8 + i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
        bytes[at + 12 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
    }
    return bytes;
}

TEST(Heif_Decode, A_Few_Bytes_Claiming_A_Huge_Picture_Are_Refused_As_Too_Large) {
    for (const auto& [width, height] : {std::pair{30000u, 30000u}, std::pair{32000u, 1u << 20}}) {
        SCOPED_TRACE(width);
        const std::vector<std::uint8_t> bytes = grid_claiming(width, height);
        try {
            Decode_Heif(bytes);
            ADD_FAILURE() << "decoded";
        } catch (const Error& e) {
            EXPECT_EQ(e.Kind(), Error_Kind::Too_Large);
        }
        EXPECT_THROW(Read_Heif_Size(Memory_Source(bytes)), Error);
    }
}

TEST(Heif_Decode, Brands_Tell_Heif_From_Other_Iso_Media) {
    const auto ftyp = [](const char* major, const char* compatible) {
        std::vector<std::uint8_t> bytes = {0, 0, 0, static_cast<std::uint8_t>(16 + std::strlen(compatible))};
        for (const std::string_view text : {std::string_view("ftyp"), std::string_view(major),
                                            std::string_view("\0\0\0\0", 4), std::string_view(compatible)})
            bytes.insert(bytes.end(), text.begin(), text.end());
        return bytes;
    };
    struct Case {
        const char* major;
        const char* compatible;
        bool heif;
    } const cases[] = {
        {"heic", "", true},      {"avif", "mif1", true}, {"mif1", "heic", true}, {"isom", "mp41mif1", true},
        {"isom", "mp41avc1", false}, {"qt  ", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.major) + "/" + c.compatible);
        EXPECT_EQ(Looks_Like_Heif(ftyp(c.major, c.compatible)), c.heif);
    }
    // The compatible brands end where the box says, not where the bytes do.
    std::vector<std::uint8_t> short_box = ftyp("isom", "mp41");
    const char kHeic[] = "heic";
    short_box.insert(short_box.end(), kHeic, kHeic + 4);
    EXPECT_FALSE(Looks_Like_Heif(short_box));
    const std::vector<std::uint8_t> heic = fixture("plain_8.heic");
    EXPECT_FALSE(Looks_Like_Heif(std::span(heic).first(12)));
}

}  // namespace
}  // namespace tilvane
