#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codecs/picture_file.h"
#include "codecs/png/png_codec.h"
#include "codecs/webp/webp_codec.h"
#include "shell/error_report.h"
#include "support/error.h"
#include "support/file_io.h"
#include "temp_folder.h"

namespace tilvane {
namespace {

using testing_support::Temp_Folder;

// Files made by libwebp's own encoders, each beside the PNG its reference decoder makes of it
// (tests/data/webp/make_webp_fixtures.sh).
const std::string kFixtures = TILVANE_WEBP_FIXTURES;

void Expect_Same_Pixels(const Raster_Image& got, const Raster_Image& want) {
    ASSERT_EQ(got.Width(), want.Width());
    ASSERT_EQ(got.Height(), want.Height());
    for (int y = 0; y < got.Height(); ++y)
        for (int x = 0; x < got.Width(); ++x) ASSERT_EQ(got.Pixel(x, y), want.Pixel(x, y)) << x << "," << y;
}

Raster_Image Pattern(int width, int height) {
    Raster_Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11), static_cast<std::uint8_t>(x * y)});
    return image;
}

// Lossy, lossless, with alpha (laid onto white, as a PNG's is) and an animation's first frame:
// the reference decoder's pixels exactly.
TEST(WebpCodec, DecodesAsTheReferenceDecoderDoes) {
    for (const char* name : {"lossy", "lossless", "lossy_alpha", "lossless_alpha", "animated"}) {
        SCOPED_TRACE(name);
        const Raster_Image reference = Decode_Png(Read_Whole_File(kFixtures + "/" + name + ".png"));
        Expect_Same_Pixels(Decode_Webp(Read_Whole_File(kFixtures + "/" + name + ".webp")), reference);
    }
}

// Written lossless, a picture comes back as it was; lossy, close to it and smaller at a lower
// quality; a picture given in bands is the same file as the whole picture's.
TEST(WebpCodec, WritesLossyAtTheQualityOrLossless) {
    const Temp_Folder folder;
    const Raster_Image picture = Pattern(41, 29);
    Save_Picture(folder.Path("lossless.webp"), picture, {.lossless = true});
    Expect_Same_Pixels(Load_Picture(folder.Path("lossless.webp")), picture);
    Save_Picture(folder.Path("q90.webp"), picture, {.quality = 90});
    Save_Picture(folder.Path("q20.webp"), picture, {.quality = 20});
    EXPECT_LT(Read_Whole_File(folder.Path("q20.webp")).size(), Read_Whole_File(folder.Path("q90.webp")).size());
    const Raster_Image lossy = Load_Picture(folder.Path("q90.webp"));
    for (int y = 0; y < picture.Height(); y += 7)
        for (int x = 0; x < picture.Width(); x += 5) EXPECT_NEAR(lossy.Pixel(x, y).green, picture.Pixel(x, y).green, 24);
}

// Every format refuses a broken file and one cut short in its own words, naming the file; and a
// file is read as what it holds when its extension names another format.
TEST(PictureFormats, BrokenAndTruncatedFilesAreRefusedInTheFormatsWords) {
    const Temp_Folder folder;
    const Raster_Image picture = Pattern(64, 48);
    const struct {
        const char* extension;
        const char* words;
    } cases[] = {
        {".bmp", "Bitmap image is not valid"},
        {".jpg", "JPEG image is not valid"},
        {".png", "PNG image is not valid"},
        {".webp", "WebP image is not valid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extension);
        const std::string whole = folder.Path(std::string("whole") + c.extension);
        Save_Picture(whole, picture, {.quality = 80});
        std::vector<std::uint8_t> bytes = Read_Whole_File(whole);
        const std::string cut = folder.Path(std::string("cut") + c.extension);
        Write_File_Atomically(cut, [&](const Byte_Sink& sink) { sink(std::span(bytes).first(bytes.size() * 2 / 3)); });
        const std::string broken = folder.Path(std::string("broken") + c.extension);
        Write_File_Atomically(broken, [&](const Byte_Sink& sink) {
            sink(std::span(reinterpret_cast<const std::uint8_t*>("not a picture at all"), 20));
        });
        for (const std::string& path : {cut, broken}) {
            try {
                (void)Load_Picture(path);
                ADD_FAILURE() << path << " read";
            } catch (const Error& e) {
                EXPECT_EQ(shell::Error_Text_With_Details(e), std::string(c.words) + ": " + path);
            }
        }
        // The whole file under another format's extension.
        const std::string misnamed = folder.Path(std::string("misnamed") + (c.extension == std::string(".png") ? ".jpg" : ".png"));
        Write_File_Atomically(misnamed, [&](const Byte_Sink& sink) { sink(bytes); });
        Expect_Same_Pixels(Load_Picture(misnamed), Load_Picture(whole));
    }
}

}  // namespace
}  // namespace tilvane
