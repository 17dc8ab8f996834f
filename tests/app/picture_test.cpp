#include "kit/picture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "codecs/bmp/bmp_file.h"
#include "image/raster_image.h"
#include "test_support.h"
#include "win/text.h"
#include "win/windows_error.h"

namespace tilvane::kit {
namespace {

// The colour the picture puts at (x, y) when drawn into a white bitmap of its own size.
COLORREF Drawn_Pixel(const Picture& picture, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.Size().cx, picture.Size().cy);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, picture.Size().cx, picture.Size().cy};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    picture.Draw(dc);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colour;
}

// A 16x16 32-bit icon, red on the left half and blue on the right, as an .ico file holds it.
std::string Icon_File() {
    std::vector<std::uint8_t> bytes(6 + 16 + 40 + 16 * 16 * 4 + 16 * 4, 0);
    const auto put16 = [&](std::size_t at, unsigned v) { bytes[at] = v & 0xFF, bytes[at + 1] = (v >> 8) & 0xFF; };
    const auto put32 = [&](std::size_t at, unsigned v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); };
    put16(2, 1), put16(4, 1);                                          // an icon file of one image
    bytes[6] = 16, bytes[7] = 16, put16(10, 1), put16(12, 32);         // 16x16, 32 bits
    put32(14, static_cast<unsigned>(bytes.size() - 22)), put32(18, 22);  // its size and place
    put32(22, 40), put32(26, 16), put32(30, 32), put16(34, 1), put16(36, 32);
    for (int i = 0; i < 256; ++i) put32(62 + 4 * i, i % 16 < 8 ? 0xFFFF0000u : 0xFF0000FFu);
    return {bytes.begin(), bytes.end()};
}

// A metafile that fills its 40 x 30 logical units with green.
void Draw_Green(HDC dc) {
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    const RECT all{0, 0, 40, 30};
    FillRect(dc, &all, green);
    DeleteObject(green);
}

TEST(PictureTest, EachDecoderDrawsItsPictureAtItsOwnSize) {
    testing_support::Temporary_Folder folder;
    const std::string dir = folder.Path();

    Raster_Image bitmap(5, 4, Pixel_Format::Bits8);
    bitmap.Set_Pixel(4, 3, {255, 0, 0});
    Save_Bitmap_File(bitmap, dir + "picture.BMP");
    testing_support::Write_File(dir + "picture.ico", Icon_File());
    HDC wmf = CreateMetaFileW(win::To_Wide(dir + "plain.wmf").c_str());
    SetWindowExtEx(wmf, 40, 30, nullptr);
    Draw_Green(wmf);
    DeleteMetaFile(CloseMetaFile(wmf));
    // The placeable form: a 22-byte header giving the size, 40 x 30 units at 96 a inch.
    std::string placeable(22, '\0');
    const unsigned char header[] = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 40, 0, 30, 0, 96, 0};
    std::memcpy(placeable.data(), header, sizeof header);
    testing_support::Write_File(dir + "placeable.wmf", placeable + testing_support::Read_File(dir + "plain.wmf"));
    HDC screen = GetDC(nullptr);
    const RECT frame{0, 0, MulDiv(40, 2540, GetDeviceCaps(screen, LOGPIXELSX)), MulDiv(30, 2540, GetDeviceCaps(screen, LOGPIXELSY))};
    HDC emf = CreateEnhMetaFileW(screen, win::To_Wide(dir + "picture.emf").c_str(), &frame, nullptr);
    ReleaseDC(nullptr, screen);
    Draw_Green(emf);
    DeleteEnhMetaFile(CloseEnhMetaFile(emf));

    struct Case {
        std::string file;
        SIZE size;
        POINT at;
        COLORREF colour;
    };
    const Case cases[] = {
        {"picture.BMP", {5, 4}, {4, 3}, RGB(255, 0, 0)},
        {"picture.ico", {16, 16}, {12, 3}, RGB(0, 0, 255)},
        {"placeable.wmf", {40, 30}, {20, 15}, RGB(0, 255, 0)},
        {"picture.emf", {40, 30}, {20, 15}, RGB(0, 255, 0)},
        {TILVANE_JPEG_FIXTURES "/baseline_444.jpg", {0, 0}, {0, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Picture picture = Picture::Load_File(c.file.front() == '/' || c.file[1] == ':' ? c.file : dir + c.file);
        ASSERT_FALSE(picture.Empty());
        if (c.size.cx == 0) continue;  // the JPEG decoder's own tests check its pixels
        EXPECT_EQ(picture.Size().cx, c.size.cx);
        EXPECT_EQ(picture.Size().cy, c.size.cy);
        EXPECT_EQ(Drawn_Pixel(picture, c.at.x, c.at.y), c.colour);
    }
    // A plain metafile tells no size of its own; it still draws.
    EXPECT_FALSE(Picture::Load_File(dir + "plain.wmf").Empty());

    testing_support::Write_File(dir + "broken.wmf", "not a metafile at all");
    testing_support::Write_File(dir + "broken.jpg", "\xFF\xD8 cut short");
    testing_support::Write_File(dir + "notes.txt", "text");
    const std::pair<std::string, std::string> failures[] = {
        {"broken.wmf", "Metafile image is not valid"},
        {"broken.jpg", "JPEG image is not valid"},
        {"notes.txt", "Unknown picture file extension (.txt)"},
        {"missing.emf", "Cannot open file " + dir + "missing.emf"},
    };
    for (const auto& [file, message] : failures) {
        SCOPED_TRACE(file);
        try {
            (void)Picture::Load_File(dir + file);
            ADD_FAILURE() << "loaded";
        } catch (const std::exception& e) {
            EXPECT_EQ(win::Error_Text(e), message);
        }
    }
}

}  // namespace
}  // namespace tilvane::kit
