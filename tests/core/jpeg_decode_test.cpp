#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "codecs/bmp/bmp_codec.h"
#include "codecs/jpeg/jpeg_codec.h"
#include "shell/error_report.h"
#include "support/file_io.h"

namespace tilvane {
namespace {

// Files Pillow wrote, each beside Pillow's own decoding of it as a 24-bit BMP.
const std::string kFixtures = TILVANE_JPEG_FIXTURES;

std::vector<std::uint8_t> fixture(const std::string& name) { return Read_Whole_File(kFixtures + "/" + name); }

bool refused(std::span<const std::uint8_t> bytes) {
    try {
        Decode_Jpeg(bytes);
        return false;
    } catch (const Error& e) {
        EXPECT_EQ(e.Kind(), Error_Kind::Picture_Not_Valid);
        EXPECT_EQ(shell::Error_Text(e), "JPEG image is not valid");
        return true;
    }
}

// The offset of the first marker of this kind, or npos.
std::size_t find_marker(const std::vector<std::uint8_t>& bytes, std::uint8_t kind) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == kind) return i;
    return std::string::npos;
}

TEST(JpegDecode, MatchesPillowOnEveryKindOfFile) {
    for (const char* name : {"baseline_420", "baseline_422", "baseline_444", "progressive", "greyscale", "cmyk_adobe", "cmyk_plain",
                             "restart_markers"}) {
        SCOPED_TRACE(name);
        const Raster_Image got = Decode_Jpeg(fixture(std::string(name) + ".jpg"));
        const Raster_Image want = Decode_Bmp(fixture(std::string(name) + ".bmp"));
        EXPECT_EQ(got.Format(), Pixel_Format::Bits24);
        ASSERT_EQ(got.Width(), want.Width());
        ASSERT_EQ(got.Height(), want.Height());
        // The same library underneath; CMYK is converted by each side's own arithmetic.
        int worst = 0;
        for (int y = 0; y < got.Height(); ++y)
            for (std::size_t i = 0; i < got.Row_Bytes(); ++i)
                worst = std::max(worst, std::abs(got.Row(y)[i] - want.Row(y)[i]));
        EXPECT_LE(worst, 1);
    }
}

TEST(JpegDecode, OrientationTagTurnsThePictureUpright) {
    // Four flat quadrants; where each stored corner shows after turning (top left, top right,
    // bottom left, bottom right), for orientations 1 to 8.
    constexpr Colour kCorners[4] = {{200, 30, 40}, {20, 180, 60}, {30, 40, 220}, {240, 240, 20}};
    constexpr int kShown[8][4] = {{0, 1, 2, 3}, {1, 0, 3, 2}, {3, 2, 1, 0}, {2, 3, 0, 1},
                                  {0, 2, 1, 3}, {2, 0, 3, 1}, {3, 1, 2, 0}, {1, 3, 0, 2}};
    Raster_Image stored(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) stored.Set_Pixel(x, y, kCorners[(y >= 24) * 2 + (x >= 32)]);
    std::vector<std::uint8_t> plain;
    Encode_Jpeg(stored, 92, [&](std::span<const std::uint8_t> b) { plain.insert(plain.end(), b.begin(), b.end()); });
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        // An APP1 segment after the start marker, in Motorola order for odd values, Intel for even.
        const bool motorola = orientation % 2 == 1;
        const auto o = static_cast<std::uint8_t>(orientation);
        std::vector<std::uint8_t> app1 = {0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0};
        const std::vector<std::uint8_t> tiff =
            motorola ? std::vector<std::uint8_t>{'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, o, 0, 0, 0, 0, 0, 0}
                     : std::vector<std::uint8_t>{'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, o, 0, 0, 0, 0, 0, 0, 0};
        app1.insert(app1.end(), tiff.begin(), tiff.end());
        std::vector<std::uint8_t> bytes = plain;
        bytes.insert(bytes.begin() + 2, app1.begin(), app1.end());
        // The hint is for the upright picture: 6x8 is an eighth of 64x48 turned upright.
        const Raster_Image got = Decode_Jpeg(bytes, {orientation >= 5 ? 6 : 8, orientation >= 5 ? 8 : 6});
        ASSERT_EQ(got.Width(), orientation >= 5 ? 6 : 8);
        ASSERT_EQ(got.Height(), orientation >= 5 ? 8 : 6);
        const int corner_x[4] = {0, got.Width() - 1, 0, got.Width() - 1}, corner_y[4] = {0, 0, got.Height() - 1, got.Height() - 1};
        for (int corner = 0; corner < 4; ++corner) {
            const Colour c = got.Pixel(corner_x[corner], corner_y[corner]), want = kCorners[kShown[orientation - 1][corner]];
            EXPECT_LE(std::abs(c.red - want.red) + std::abs(c.green - want.green) + std::abs(c.blue - want.blue), 30) << corner;
        }
    }
}

TEST(JpegDecode, EveryCutOffFileIsRefused) {
    for (const char* name : {"baseline_420.jpg", "progressive.jpg", "restart_markers.jpg"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> whole = fixture(name);
        for (std::size_t length = 0; length < whole.size(); ++length) {
            SCOPED_TRACE(length);
            ASSERT_TRUE(refused(std::span(whole).first(length)));
        }
    }
}

TEST(JpegDecode, HostileFilesAreRefused) {
    EXPECT_TRUE(refused(fixture("baseline_420.bmp")));

    // A kilobyte that claims 16 megapixels, or more than the memory cap, is not decoded.
    const std::vector<std::uint8_t> original = fixture("baseline_420.jpg");
    const std::size_t frame = find_marker(original, 0xC0);
    ASSERT_NE(frame, std::string::npos);
    for (const std::uint16_t side : {4000, 65500}) {
        SCOPED_TRACE(side);
        std::vector<std::uint8_t> bytes = original;
        for (const std::size_t at : {frame + 5, frame + 7}) {
            bytes[at] = static_cast<std::uint8_t>(side >> 8);
            bytes[at + 1] = static_cast<std::uint8_t>(side & 0xFF);
        }
        EXPECT_TRUE(refused(bytes));
    }

    // Hundreds of scans would each walk the whole image: repeat the first scan of a
    // progressive file until there are too many.
    const std::vector<std::uint8_t> progressive = fixture("progressive.jpg");
    const std::size_t scan = find_marker(progressive, 0xDA);
    ASSERT_NE(scan, std::string::npos);
    std::size_t scan_end = scan + 2;
    while (!(progressive[scan_end] == 0xFF && progressive[scan_end + 1] != 0 && progressive[scan_end + 1] != 0xFF &&
             (progressive[scan_end + 1] < 0xD0 || progressive[scan_end + 1] > 0xD7)))
        ++scan_end;
    std::vector<std::uint8_t> many(progressive.begin(), progressive.begin() + static_cast<std::ptrdiff_t>(scan_end));
    for (int i = 0; i < 300; ++i) many.insert(many.end(), progressive.begin() + static_cast<std::ptrdiff_t>(scan),
                                              progressive.begin() + static_cast<std::ptrdiff_t>(scan_end));
    many.insert(many.end(), progressive.begin() + static_cast<std::ptrdiff_t>(scan_end), progressive.end());
    EXPECT_TRUE(refused(many));
}

}  // namespace
}  // namespace tilvane
