#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "codecs/bmp/bmp_codec.h"
#include "codecs/jpeg/jpeg_codec.h"
#include "codecs/png/png_codec.h"
#include "codecs/picture_writer.h"
#include "codecs/png/png_writer.h"
#include "image/raster_drawing.h"
#include "support/error.h"
#include "support/file_io.h"
#include "temp_folder.h"

namespace tilvane {
namespace {

using testing_support::Temp_Folder;

std::vector<std::uint8_t> Encoded(const std::function<void(const Byte_Sink&)>& encode) {
    std::vector<std::uint8_t> bytes;
    encode([&](std::span<const std::uint8_t> chunk) { bytes.insert(bytes.end(), chunk.begin(), chunk.end()); });
    return bytes;
}

// A picture written in bands of 5 rows (the last of 3) through a replacing file is the file the
// whole-picture encoder makes, in every format; a writer that stops before the end leaves the
// old file and no temporary file.
TEST(PictureWriters, BandsGivenInTurnMakeTheWholePicturesFile) {
    const Temp_Folder folder;
    Raster_Image image(37, 23);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11), static_cast<std::uint8_t>(x * y)});
    Raster_Image palette = image, masked = image;
    palette.Set_Format(Pixel_Format::Bits4);
    masked.Set_Format(Pixel_Format::Bits16);
    const auto band_of = [](const Raster_Image& whole, int top, int rows) {
        Raster_Image band(whole.Width(), rows, whole.Format());
        band.Set_Format_Of(whole);
        Copy_Rect(band, Rect::At(0, 0, whole.Width(), rows), whole, Rect::At(0, top, whole.Width(), rows));
        return band;
    };
    struct Case {
        const char* name;
        const Raster_Image& picture;
        std::function<void(Replacing_File&, int rows)> write;  // rows: how many to write
        std::function<void(const Byte_Sink&)> whole;
    };
    Work_Crew crew(3);
    const Case cases[] = {
        {"4-bit.bmp", palette,
         [&](Replacing_File& file, int rows) {
             Bmp_Writer writer(37, 23, palette, file);
             for (int top = 0; top < rows; top += 5) writer.Write_Band(band_of(palette, top, std::min(5, rows - top)));
         },
         [&](const Byte_Sink& sink) { Encode_Bmp(palette, sink); }},
        {"16-bit.bmp", masked,
         [&](Replacing_File& file, int rows) {
             Bmp_Writer writer(37, 23, masked, file);
             for (int top = 0; top < rows; top += 5) writer.Write_Band(band_of(masked, top, std::min(5, rows - top)));
         },
         [&](const Byte_Sink& sink) { Encode_Bmp(masked, sink); }},
        {"out.jpg", image,
         [&](Replacing_File& file, int rows) {
             const Byte_Sink sink = file.Sink();
             Jpeg_Writer writer(37, 23, 80, sink);
             for (int y = 0; y < rows; ++y) writer.Write_Row(image.Row(y));
         },
         [&](const Byte_Sink& sink) { Encode_Jpeg(image, 80, sink); }},
        {"out.png", image,
         [&](Replacing_File& file, int rows) {
             const Byte_Sink sink = file.Sink();
             Png_Writer writer(37, 23, sink, crew);
             for (int y = 0; y < rows; ++y) writer.Write_Row(image.Row(y));
         },
         [&](const Byte_Sink& sink) { Encode_Png(image, sink); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.Path(c.name);
        {
            Replacing_File file(path);
            c.write(file, 23);
            file.Commit();
        }
        EXPECT_EQ(Read_Whole_File(path), Encoded(c.whole));
        {
            Replacing_File file(path);
            c.write(file, 12);
        }
        EXPECT_EQ(Read_Whole_File(path), Encoded(c.whole));
        EXPECT_EQ(folder.Names().size(), static_cast<std::size_t>(&c - cases + 1));
    }
    // Rows beyond the picture, a band of another width and a JPEG beyond its format are refused.
    Replacing_File file(folder.Path("more.bmp"));
    Bmp_Writer writer(37, 23, image, file);
    EXPECT_THROW(writer.Write_Band(band_of(image, 0, 24)), Error);
    EXPECT_THROW(writer.Write_Band(Raster_Image(36, 1)), Error);
    const Byte_Sink sink = file.Sink();
    try {
        Jpeg_Writer(65501, 2, 90, sink);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Fault(), Bitmap_Fault::Side_Too_Long);
    }
}

// A JPEG whose coefficients are over the budget is written with JPEG's standard Huffman tables
// (its luminance DC table's code counts and symbols are in the file) and decodes to the very
// pixels of the optimised file; a 6000x4000 picture is optimised, an 8x poster of it is not.
TEST(PictureWriters, JpegOverTheCodingBudgetTakesTheStandardTables) {
    Raster_Image image(37, 23);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) image.Set_Pixel(x, y, {static_cast<std::uint8_t>(x * 9), static_cast<std::uint8_t>(y * 5), 7});
    const auto written = [&](std::uint64_t budget) {
        return Encoded([&](const Byte_Sink& sink) {
            Jpeg_Writer writer(37, 23, 85, sink, budget);
            for (int y = 0; y < image.Height(); ++y) writer.Write_Row(image.Row(y));
        });
    };
    const auto optimised = written(Jpeg_Coefficient_Bytes(37, 23)), streamed = written(Jpeg_Coefficient_Bytes(37, 23) - 1);
    constexpr std::uint8_t kStandard_Dc[] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_NE(std::search(streamed.begin(), streamed.end(), std::begin(kStandard_Dc), std::end(kStandard_Dc)), streamed.end());
    EXPECT_EQ(std::search(optimised.begin(), optimised.end(), std::begin(kStandard_Dc), std::end(kStandard_Dc)), optimised.end());
    EXPECT_EQ(optimised, Encoded([&](const Byte_Sink& sink) { Encode_Jpeg(image, 85, sink); }));
    const Raster_Image from_streamed = Decode_Jpeg(streamed), from_optimised = Decode_Jpeg(optimised);
    EXPECT_TRUE(std::equal(from_streamed.Row(0), from_streamed.Row(0) + 37 * 23 * 3, from_optimised.Row(0)));
    EXPECT_LE(Jpeg_Coefficient_Bytes(6000, 4000), kJpeg_Optimising_Budget);
    EXPECT_GT(Jpeg_Coefficient_Bytes(48000, 32000), kJpeg_Optimising_Budget);
}

#ifndef _WIN32
// A disk that fills up while the last band is on its way to the file: the error comes out of the
// commit, which leaves the old file and no temporary.
TEST(PictureWriters, ABandsFailedWriteIsReportedAndLeavesTheOldFile) {
    const Temp_Folder folder;
    const std::string path = folder.Path("out.bmp");
    Write_File_Atomically(path, {'o', 'l', 'd'});
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1000;  // of 2630 bytes
    setrlimit(RLIMIT_FSIZE, &limited);
    Work_Crew crew(1);
    EXPECT_THROW(
        {
            Picture_Writer writer(path, Bitmap_Format(), 37, 23, Raster_Image(1, 1), {}, crew);
            writer.Write_Band(Raster_Image(37, 23));
            writer.Commit();
        },
        Error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_EQ(Read_Whole_File(path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(folder.Names().size(), 1u);
}
#endif

}  // namespace
}  // namespace tilvane
