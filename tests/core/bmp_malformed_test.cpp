#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "bmp_builder.h"
#include "codecs/bmp/bmp_codec.h"
#include "codecs/bmp/bmp_file.h"
#include "shell/error_report.h"
#include "support/error.h"
#include "support/file_io.h"
#include "temp_folder.h"

namespace tilvane {
namespace {

using test::BmpFields;
using test::build_bmp;
using testing_support::Temp_Folder;

// Decodes bytes and tells which check refused them as not valid (None when they decode); any
// other failure fails the test.
Bitmap_Fault refusal(const std::vector<std::uint8_t>& bytes) {
    try {
        Decode_Bmp(bytes);
        return Bitmap_Fault::None;
    } catch (const Error& e) {
        EXPECT_EQ(e.Kind(), Error_Kind::Not_Valid);
        EXPECT_NE(e.Fault(), Bitmap_Fault::None);
        return e.Fault();
    }
}

BmpFields small_24_bit() {
    BmpFields f;
    f.width = 4;  // 12 bytes a row: no padding, so any missing byte is a missing pixel
    f.height = 2;
    f.pixels.assign(24, 0x40);
    return f;
}

BmpFields small_rle8() {
    BmpFields f;
    f.width = 4;
    f.height = 2;
    f.bits = 8;
    f.compression = 1;
    f.colours_used = 2;
    f.table = {kBlack, kWhite};
    f.pixels = {4, 1, 0, 0, 0, 3, 1, 0, 1, 0, 0, 1};
    return f;
}

TEST(BmpMalformed, RefusedCleanly) {
    using Change = std::function<void(BmpFields&)>;
    const auto masks = [](std::uint16_t bits, std::vector<std::uint32_t> m) -> Change {
        return [bits, m](BmpFields& f) {
            f.bits = bits;
            f.compression = 3;
            f.masks = m;
            f.pixels.assign(64, 0);
        };
    };
    using enum Bitmap_Fault;
    const struct {
        const char* name;
        Change change;
        Bitmap_Fault fault;
    } cases[] = {
        {"unknown header size", [](BmpFields& f) { f.header_size = 44; }, Unknown_Header},
        {"two planes", [](BmpFields& f) { f.planes = 2; }, Bad_Bit_Depth},
        {"3 bits per pixel", [](BmpFields& f) { f.bits = 3; }, Bad_Bit_Depth},
        {"0 bits per pixel", [](BmpFields& f) { f.bits = 0; }, Bad_Bit_Depth},
        {"16 bits in a core header", [](BmpFields& f) { f.header_size = 12, f.bits = 16; }, Bad_Bit_Depth},
        {"JPEG compression at 24 bits", [](BmpFields& f) { f.compression = 4; }, Bad_Bit_Depth},
        {"JPEG compression of data that is no JPEG", [](BmpFields& f) { f.bits = 0, f.compression = 4; }, Bad_Embedded_Jpeg},
        {"PNG compression at 24 bits", [](BmpFields& f) { f.compression = 5; }, Bad_Bit_Depth},
        {"PNG compression of data that is no PNG", [](BmpFields& f) { f.bits = 0, f.compression = 5; }, Bad_Embedded_Png},
        {"bitfields at 24 bits", [](BmpFields& f) { f.compression = 3, f.masks = {0xFF0000, 0xFF00, 0xFF}; }, Bad_Bit_Depth},
        {"RLE8 at 24 bits", [](BmpFields& f) { f.compression = 1; }, Bad_Bit_Depth},
        {"OS/2 Huffman", [](BmpFields& f) { f.header_size = 64, f.bits = 1, f.compression = 3; }, Bad_Bit_Depth},
        {"zero width", [](BmpFields& f) { f.width = 0; }, Bad_Dimensions},
        {"negative width", [](BmpFields& f) { f.width = -4; }, Bad_Dimensions},
        {"zero height", [](BmpFields& f) { f.height = 0; }, Bad_Dimensions},
        {"width past the limit", [](BmpFields& f) { f.width = Raster_Image::kMax_Dimension + 1; }, Bad_Dimensions},
        {"height past the limit", [](BmpFields& f) { f.height = -Raster_Image::kMax_Dimension - 1; }, Bad_Dimensions},
        {"lowest height", [](BmpFields& f) { f.height = INT32_MIN; }, Bad_Dimensions},
        // A few bytes claiming more than memory holds are not valid; only data that could hold
        // the pixels makes a picture too large.
        {"too many pixels for the data", [](BmpFields& f) { f.width = f.height = Raster_Image::kMax_Dimension; }, Pixels_Missing},
        {"pixels missing", [](BmpFields& f) { f.height = 3; }, Pixels_Missing},
        {"no pixel data at all", [](BmpFields& f) { f.pixels.clear(); }, Pixels_Missing},
        {"zero mask", masks(16, {0x7C00, 0, 0x1F}), Bad_Masks},
        {"overlapping masks", masks(16, {0xF800, 0x0FE0, 0x001F}), Bad_Masks},
        {"mask with a hole", masks(32, {0xFF00FF, 0xFF00, 0xFF000000}), Bad_Masks},
        {"mask past 16 bits", masks(16, {0x1F0000, 0x07E0, 0x001F}), Bad_Masks},
        {"masks missing", masks(16, {}), Bad_Masks},
        {"huge colour count puts the pixels past the end",
         [](BmpFields& f) { f.bits = 8, f.colours_used = 0x40000000, f.pixel_offset = 0; }, Pixels_Missing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields f = small_24_bit();
        c.change(f);
        EXPECT_EQ(refusal(build_bmp(f)), c.fault);
    }
    std::vector<std::uint8_t> bad_signature = build_bmp(small_24_bit());
    bad_signature[1] = 'A';
    EXPECT_EQ(refusal(bad_signature), Bad_Signature);
}

TEST(BmpMalformed, RleRefusedCleanly) {
    using enum Bitmap_Fault;
    const struct {
        const char* name;
        std::function<void(BmpFields&)> change;
        Bitmap_Fault fault;
    } cases[] = {
        {"top-down", [](BmpFields& f) { f.height = -2; }, Top_Down_Compressed},
        {"RLE4 at 8 bits", [](BmpFields& f) { f.compression = 2; }, Bad_Bit_Depth},
        {"literal cut short", [](BmpFields& f) { f.pixels = {0, 5, 1, 1}; }, Run_Length_Cut_Short},
        {"delta cut short", [](BmpFields& f) { f.pixels = {0, 2, 1}; }, Run_Length_Cut_Short},
        {"code cut short", [](BmpFields& f) { f.pixels = {4}; }, Run_Length_Cut_Short},
        {"RLE24 run cut short", [](BmpFields& f) { f.header_size = 64, f.bits = 24, f.compression = 4, f.pixels = {3, 0, 0}; }, Run_Length_Cut_Short},
        // A few bytes cannot stand for a picture of a hundred million pixels.
        {"huge picture from a few bytes", [](BmpFields& f) { f.width = f.height = 10000; }, Run_Length_Too_Sparse},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields f = small_rle8();
        c.change(f);
        EXPECT_EQ(refusal(build_bmp(f)), c.fault);
    }
}

TEST(BmpMalformed, PictureBeyondTheCapIsTooLargeAndNamed) {
    // 40000 x 40000 pixels need 4.8 GB; 1.6 MB of run-length data could describe them.
    BmpFields f = small_rle8();
    f.width = f.height = 40000;
    f.pixels.assign(1600000, 0);
    const Temp_Folder temp;
    const std::string path = temp.Path("huge.bmp");
    Write_File_Atomically(path, build_bmp(f));
    try {
        (void)Load_Bitmap_File(path);
        FAIL() << "decoded";
    } catch (const Error& e) {
        EXPECT_EQ(shell::Error_Text(e), "The picture " + path + " is too large: its pixels need more than 4096 MB");
    }
}

TEST(BmpMalformed, TruncatedFiles) {
    BmpFields palette;
    palette.bits = 8;
    palette.width = 4;
    palette.height = 2;
    palette.colours_used = 3;
    palette.table = {kBlack, kWhite, kBlack};
    palette.pixels.assign(8, 1);
    BmpFields masked = small_24_bit();
    masked.bits = 16;
    masked.compression = 3;
    masked.masks = {0xF800, 0x07E0, 0x001F};
    masked.pixels.resize(16);
    BmpFields v5 = small_24_bit();
    v5.header_size = 124;
    BmpFields core = small_24_bit();
    core.header_size = 12;
    const struct {
        const char* name;
        BmpFields fields;
    } cases[] = {{"24-bit", small_24_bit()}, {"palette", palette}, {"bitfields", masked}, {"V5", v5}, {"core", core}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> whole = build_bmp(c.fields);
        ASSERT_EQ(refusal(whole), Bitmap_Fault::None);
        for (std::size_t n = 0; n < whole.size(); ++n) {
            SCOPED_TRACE(n);
            // Refused for being cut short, not by a check that happens to read the missing bytes.
            EXPECT_THAT(refusal({whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n)}),
                        testing::AnyOf(Bitmap_Fault::Truncated_Headers, Bitmap_Fault::Pixels_Missing));
        }
    }
}

// RLE data may end early (the rest reads as index 0), but never past a cut code.
TEST(BmpMalformed, TruncatedRleDecodesOrIsRefused) {
    const std::vector<std::uint8_t> whole = build_bmp(small_rle8());
    for (std::size_t n = 0; n < whole.size(); ++n) {
        SCOPED_TRACE(n);
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        try {
            const Raster_Image image = Decode_Bmp(cut);
            EXPECT_EQ(image.Width(), 4);
            EXPECT_EQ(image.Height(), 2);
        } catch (const Error& e) {
            EXPECT_EQ(e.Kind(), Error_Kind::Not_Valid);
        }
    }
}

// Random damage to valid files of every kind must end in a picture or a clean refusal; run
// under the sanitizers this catches reads outside the buffers.
TEST(BmpMalformed, DamagedFilesNeverMisbehave) {
    BmpFields rle4 = small_rle8();
    rle4.bits = 4;
    rle4.compression = 2;
    rle4.pixels = {3, 0x10, 0, 0, 0, 3, 0x11, 0x10, 0, 2, 1, 0, 0, 1};
    BmpFields masked = small_24_bit();
    masked.header_size = 56;
    masked.bits = 32;
    masked.compression = 3;
    masked.masks = {0xFFC00000, 0x3FF000, 0xFFF};
    masked.pixels.resize(32);
    BmpFields one_bit = small_24_bit();
    one_bit.bits = 1;
    one_bit.width = 33;
    one_bit.table = {kBlack, kWhite};
    one_bit.pixels.assign(16, 0xA5);
    const std::vector<std::vector<std::uint8_t>> files = {build_bmp(small_24_bit()), build_bmp(small_rle8()),
                                                          build_bmp(rle4), build_bmp(masked), build_bmp(one_bit)};
    std::mt19937 random(12345);
    int decoded = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<std::uint8_t> file = files[static_cast<std::size_t>(round) % files.size()];
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < changes; ++k)
            file[random() % file.size()] = static_cast<std::uint8_t>(random());
        try {
            Decode_Bmp(file);
            ++decoded;
        } catch (const Error& e) {
            ASSERT_EQ(e.Kind(), Error_Kind::Not_Valid);
        }
    }
    EXPECT_GT(decoded, 0);
}

}  // namespace
}  // namespace tilvane
